// The main function of the benchmarks that drive widgets: a Qt application on the offscreen
// platform unless another one is named, the program's screen fonts registered (the benchmarks live
// one folder below the program and its fonts), then Google Benchmark's usual run.
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!zandor::platform::RegisterScreenFonts(zandor::platform::DefaultScreenFontsFolder()))
        zandor::platform::RegisterScreenFonts(
            (QCoreApplication::applicationDirPath() + "/../fonts").toStdString());
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
