#include "WindowFixture.h"

#include "editor/control/ArtMemo.h"
#include "platform/Canvas.h"

#include <QFile>
#include <QImage>
#include <QProcess>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

using ExportScenario = WindowFixture;

// Starts the built program with the scratch folder's settings and no display.
int RunZandor(const std::string& configFolder, const std::string& runtimeFolder, const QStringList& args) {
    QProcess zandor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(configFolder));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtimeFolder));
    env.remove("DISPLAY");
    zandor.setProcessEnvironment(env);
    zandor.start(QString::fromStdString(std::string(ZANDOR_BINARY_DIR_BUILT) + "/zandor"), args);
    if (!zandor.waitForFinished(60000) || zandor.exitStatus() != QProcess::NormalExit)
        return -1;
    return zandor.exitCode();
}

} // namespace

// A document with an address, a word of the keyword list and a zero byte, in the highlight colours
// the user chose: "zandor --export" paints it pixel for pixel as the window shows it, and its text
// and page carry what the window shows and saving writes, the zero byte as a blank.
TEST_F(ExportScenario, TheExportIsWhatTheWindowShowsWithTheSameSettings) {
    UsePerUserStore();
    dir.write("config/Veltrane/Zandor/highlight.dat", "zandor\r\n");
    Store().WriteColor("Options", "HLColor", platform::clYellow);
    Store().WriteColor("Options", "HLBColor", platform::clMaroon);
    Store().WriteColor("Options", "BackColor", platform::clNavy);
    Store().WriteBool("Options", "ExitFocus", true); // no caret in the editor's picture
    const QByteArray bytes("Zandor at www.example.org for all\r\nbefore\0after\r\nline2", 54);
    const std::string file = dir.write("page.txt", bytes);

    auto w = Create(file, true);
    w->resize(1000, 700);
    w->show();
    TArtMemo& m = *w->m;
    ASSERT_TRUE(ProcessUntil([&] { return m.isVisible() && m.viewport()->width() > 600; }));
    ASSERT_EQ(3, m.ParagraphCount());
    const QImage window = m.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::string shown = m.Text();

    const std::string png = dir.file("page.png");
    ASSERT_EQ(0, RunZandor(dir.path() + "/config", dir.path(),
                           {"--export", QString::fromStdString(file), QString::fromStdString(png)}));
    const QImage exported = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(exported.isNull());
    ASSERT_EQ(3 * m.LinePixels(), exported.height());
    ASSERT_LE(exported.width(), window.width());
    int differ = 0;
    for (int y = 0; y < exported.height(); ++y)
        for (int x = 0; x < exported.width(); ++x)
            differ += exported.pixel(x, y) != window.pixel(x, y);
    EXPECT_EQ(0, differ) << "pixels differ from the window's";
    // The window really shows the highlight colours: the keyword and the address are painted
    // yellow on maroon.
    int maroon = 0;
    for (int y = 0; y < m.LinePixels(); ++y)
        for (int x = 0; x < window.width(); ++x)
            maroon += window.pixel(x, y) == qRgb(128, 0, 0);
    EXPECT_GT(maroon, 20 * m.LinePixels());

    // The text as the window holds it and writes it, one UTF-8 line per paragraph.
    std::string lines = shown;
    for (size_t at; (at = lines.find("\r\n")) != std::string::npos;)
        lines.replace(at, 2, "\n");
    lines += "\n";
    EXPECT_EQ(std::string::npos, shown.find('\0'));
    const std::string txt = dir.file("page-out.txt");
    ASSERT_EQ(0, RunZandor(dir.path() + "/config", dir.path(),
                           {"--export", QString::fromStdString(file), QString::fromStdString(txt)}));
    QFile text(QString::fromStdString(txt));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(lines, text.readAll().toStdString());
    const std::string html = dir.file("page.html");
    ASSERT_EQ(0, RunZandor(dir.path() + "/config", dir.path(),
                           {"--export", QString::fromStdString(file), QString::fromStdString(html)}));
    QFile page(QString::fromStdString(html));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_NE(std::string::npos, page.readAll().toStdString().find("<pre>" + lines + "</pre>"));
}
