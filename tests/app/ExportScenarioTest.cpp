#include "WindowFixture.h"

#include "editor/control/ArtMemo.h"

#include <QFile>
#include <QImage>
#include <QProcess>

using namespace zandor;

namespace {

using ExportScenario = zandor::test::WindowFixture;

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
    const std::string file =
        dir.write("page.txt", QByteArray("Zandor at www.example.org for all\r\nbefore\0after\r\nline2", 54));
    auto w = Create(file, true);
    w->resize(1000, 700);
    w->show();
    TArtMemo& m = *w->m;
    ASSERT_TRUE(ProcessUntil([&] { return m.isVisible() && m.viewport()->width() > 600; }));
    const QImage window = m.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The built program with the same settings folder and no display.
    auto exported = [&](const std::string& name) {
        QProcess zandor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.path() + "/config"));
        env.remove("DISPLAY");
        zandor.setProcessEnvironment(env);
        zandor.start(QString::fromStdString(std::string(ZANDOR_BINARY_DIR_BUILT) + "/zandor"),
                     {"--export", QString::fromStdString(file), QString::fromStdString(dir.file(name))});
        EXPECT_TRUE(zandor.waitForFinished(60000) && zandor.exitCode() == 0) << name;
        QFile out(QString::fromStdString(dir.file(name)));
        return out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
    };
    const QImage png = QImage::fromData(exported("page.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(3 * m.LinePixels(), png.height());
    ASSERT_LE(png.width(), window.width());
    int differ = 0, maroon = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            differ += png.pixel(x, y) != window.pixel(x, y);
            maroon += window.pixel(x, y) == qRgb(128, 0, 0);
        }
    EXPECT_EQ(0, differ) << "pixels differ from the window's";
    EXPECT_GT(maroon, 20 * m.LinePixels()) << "the keyword and the address in the highlight colours";

    // The text as the window holds it and writes it, one UTF-8 line per paragraph.
    std::string lines = m.Text() + "\n";
    for (size_t at; (at = lines.find("\r\n")) != std::string::npos;)
        lines.replace(at, 2, "\n");
    EXPECT_EQ("Zandor at www.example.org for all\nbefore after\nline2\n", lines);
    EXPECT_EQ(lines, exported("page-out.txt").toStdString());
    EXPECT_TRUE(exported("page.html").contains(QByteArray::fromStdString("<pre>" + lines + "</pre>")));
}
