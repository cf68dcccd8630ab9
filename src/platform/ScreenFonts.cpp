#include "platform/ScreenFonts.h"

#include "platform/CodePages.h"

#include "platform/ResourceFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include <cstdlib>

namespace zandor::platform {

bool IsScreenFontFace(std::string_view face) {
    return face == LargeScreenFontFace || face == TinyScreenFontFace;
}

FontValue WithFaceCharset(FontValue font) {
    if (IsScreenFontFace(font.Name))
        font.Charset = OEM_CHARSET;
    return font;
}

int ShownCharset(const FontValue& font) {
    return WithFaceCharset(font).Charset == OEM_CHARSET ? OemCharset : AnsiCodePage;
}

const std::vector<int>& ScreenFontCells(std::string_view face) {
    static const std::vector<int> large{14, 16, 28, 32, 42, 48, 56, 64};
    static const std::vector<int> tiny{8, 16, 24, 32};
    static const std::vector<int> none;
    return face == LargeScreenFontFace ? large : face == TinyScreenFontFace ? tiny : none;
}

int ScreenFontPixels(std::string_view face, int pixels) {
    const std::vector<int>& cells = ScreenFontCells(face);
    if (cells.empty())
        return pixels;
    int best = cells.front();
    for (int cell : cells)
        if (std::abs(cell - pixels) < std::abs(best - pixels))
            best = cell;
    return best;
}

std::string DefaultScreenFontsFolder() {
    const std::string exeFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    return ResourceFolder(exeFolder) + "fonts";
}

bool RegisterScreenFonts(const std::string& folder) {
    // The font database belongs to the GUI application; without one Qt would only warn.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    // Registering a file again would list its faces twice; the set lives on the GUI thread.
    static QSet<QString> registered;
    const QDir dir(QString::fromStdString(folder));
    const QStringList files = dir.entryList({"*.bdf", "*.pcf", "*.pcf.gz", "*.ttf", "*.otf"},
                                            QDir::Files | QDir::Readable, QDir::Name);
    bool allLoaded = !files.isEmpty();
    for (const QString& name : files) {
        const QString path = QFileInfo(dir.filePath(name)).canonicalFilePath();
        if (registered.contains(path))
            continue;
        if (QFontDatabase::addApplicationFont(path) < 0)
            allLoaded = false;
        else
            registered.insert(path);
    }
    return allLoaded;
}

void InstallFontSubstitutions() {
    QFont::insertSubstitutions("MS Sans Serif", {"DejaVu Sans", "Liberation Sans"});
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans", "Liberation Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Courier New", {"Liberation Mono", "DejaVu Sans Mono"});
}

} // namespace zandor::platform
