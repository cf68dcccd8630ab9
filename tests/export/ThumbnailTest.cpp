#include "export/Thumbnail.h"
#include "export/ArtExport.h"
#include "platform/ScreenFonts.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace zandor;
using zandor::test::ScratchDir;

namespace {

// What a thumbnail must be, worked out pixel by pixel: the mean of each whole square of
// `factor` pixels (cut at the right and bottom edges), rounded to the nearest value.
QImage BlockMeans(const QImage& picture, int factor) {
    QImage out((picture.width() + factor - 1) / factor, (picture.height() + factor - 1) / factor,
               QImage::Format_RGB32);
    for (int ty = 0; ty < out.height(); ++ty)
        for (int tx = 0; tx < out.width(); ++tx) {
            long r = 0, g = 0, b = 0, n = 0;
            for (int y = ty * factor; y < std::min(picture.height(), (ty + 1) * factor); ++y)
                for (int x = tx * factor; x < std::min(picture.width(), (tx + 1) * factor); ++x) {
                    const QRgb p = picture.pixel(x, y);
                    r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
                }
            out.setPixel(tx, ty, qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n)));
        }
    return out;
}

QImage Enlarged(const QImage& picture, int factor) {
    QImage out(picture.width() * factor, picture.height() * factor, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, picture.pixel(x / factor, y / factor));
    return out;
}

QImage ReadImage(const std::string& file) {
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Random pictures of text-art colours, shrunk and enlarged to random sizes: the long side never
// exceeds the size; a larger picture becomes the means of whole squares of the smallest factor that
// fits; a picture at most half the size is repeated by the largest whole factor that fits; the rest
// stay as they are.
TEST(Thumbnail, ScalesByWholeFactorsAndNeverBeyondTheSize) {
    QRandomGenerator random(20261211);
    const QRgb colours[] = {qRgb(0, 0, 0), qRgb(170, 170, 170), qRgb(255, 255, 85), qRgb(0, 0, 170)};
    for (int round = 0; round < 60; ++round) {
        QImage picture(random.bounded(1, 300), random.bounded(1, 300), QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, colours[random.bounded(4)]);
        const int size = random.bounded(1, 400);
        SCOPED_TRACE(std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + " to " +
                     std::to_string(size));
        const QImage thumbnail = ThumbnailOf(picture, size);
        const int longSide = std::max(picture.width(), picture.height());
        EXPECT_LE(std::max(thumbnail.width(), thumbnail.height()), size);
        if (longSide > size) {
            const int factor = (longSide + size - 1) / size;
            EXPECT_EQ(BlockMeans(picture, factor), thumbnail);
            EXPECT_GT(std::max(thumbnail.width(), thumbnail.height()), size / 2) << "shrunk more than needed";
        } else {
            EXPECT_EQ(Enlarged(picture, size / longSide), thumbnail);
        }
    }
}

// The thumbnail of a text of 40 lines shows its first 25, shrunk from the picture the export draws
// of the whole text; a thumbnail asked for as a GIF is refused and writes nothing.
TEST(Thumbnail, ShowsTheFirstScreenOfTheExportedPicture) {
    ASSERT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
    ScratchDir dir;
    std::string text;
    for (int line = 0; line < 40; ++line) {
        for (int column = 0; column < 30; ++column)
            text += (line + column) % 3 == 0 ? '\xDB' : (column % 5 == 0 ? '\xB1' : 'a' + char(line % 26));
        text += "\r\n";
    }
    TExportJob job;
    job.Input = dir.write("forty.nfo", QByteArray::fromStdString(text));
    job.Look.Font.Name = platform::LargeScreenFontFace;
    job.Look.Font.Height = 16;
    job.Look.Font.Color = platform::clWhite;
    job.Look.Font.Charset = platform::OEM_CHARSET;
    job.Output = dir.file("whole.png");
    RunExport(job);
    const QImage whole = ReadImage(job.Output);
    ASSERT_EQ(41 * 16, whole.height()) << "40 lines and the empty one after the last break";
    const QImage screen = whole.copy(0, 0, whole.width(), 25 * 16);

    for (const int size : {128, 256, 1000}) {
        SCOPED_TRACE(size);
        job.Output = dir.file("thumb" + std::to_string(size) + ".png");
        job.Thumbnail = size;
        RunExport(job);
        const QImage thumbnail = ReadImage(job.Output);
        const int longSide = std::max(screen.width(), screen.height());
        if (longSide > size)
            EXPECT_EQ(BlockMeans(screen, (longSide + size - 1) / size), thumbnail);
        else
            EXPECT_EQ(Enlarged(screen, size / longSide), thumbnail);
    }

    job.Output = dir.file("thumb.gif");
    EXPECT_THROW(RunExport(job), TExportError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.Output)));
}

// The installed thumbnailer as a file manager runs it: its Exec line with %s, %i and %o put in, no
// display, on real art files; each gives a PNG picture of at most that size whose long side is
// more than half of it (art is wider than any thumbnail), and not of one colour.
TEST(Thumbnail, TheThumbnailerRunsOnArtFilesWithoutADisplay) {
    const std::string corpus = test::corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus";
    QFile entry(QStringLiteral(ZANDOR_SOURCE_DIR_BUILT "/desktop/zandor.thumbnailer"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QString exec;
    for (const QByteArray& line : entry.readAll().split('\n'))
        if (line.startsWith("Exec="))
            exec = QString::fromUtf8(line.mid(5));
    ASSERT_FALSE(exec.isEmpty());
    ScratchDir dir;
    const QStringList names =
        QDir(QString::fromStdString(corpus)).entryList({"*.nfo", "*.NFO", "*.diz", "*.DIZ"}, QDir::Files);
    ASSERT_GE(names.size(), 3);
    for (const QString& name : names.mid(0, 3)) {
        SCOPED_TRACE(name.toStdString());
        const QString out = QString::fromStdString(dir.file("thumb.png"));
        QFile::remove(out);
        QStringList words = exec.split(' ', Qt::SkipEmptyParts);
        for (QString& word : words)
            word.replace("%s", "256")
                .replace("%i", QString::fromStdString(corpus) + "/" + name)
                .replace("%o", out);
        ASSERT_EQ("zandor", words.takeFirst());
        QProcess zandor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
        zandor.setProcessEnvironment(env);
        zandor.start(QStringLiteral(ZANDOR_BINARY_DIR_BUILT "/zandor"), words);
        ASSERT_TRUE(zandor.waitForFinished(60000));
        ASSERT_EQ(0, zandor.exitCode()) << zandor.readAllStandardError().toStdString();
        const QImage thumbnail = ReadImage(out.toStdString());
        ASSERT_FALSE(thumbnail.isNull());
        const int longSide = std::max(thumbnail.width(), thumbnail.height());
        EXPECT_LE(longSide, 256);
        EXPECT_GT(longSide, 128);
        bool varied = false;
        for (int y = 0; y < thumbnail.height() && !varied; ++y)
            for (int x = 0; x < thumbnail.width() && !varied; ++x)
                varied = thumbnail.pixel(x, y) != thumbnail.pixel(0, 0);
        EXPECT_TRUE(varied) << "a thumbnail of one colour";
    }
}
