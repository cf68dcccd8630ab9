#include "commands/GifExport.h"

#include "commands/EditorPicture.h"
#include "commands/GifWriter.h"
#include "commands/WebPalette.h"
#include "editor/control/ArtMemo.h"
#include "host/ZandorHost.h"
#include "platform/AtomicWrite.h"
#include "platform/Colors.h"

#include <exception>

namespace zandor {

std::string ProposedGifName(const std::string& documentFile) {
    if (documentFile.empty())
        return "ZandorImage.gif";
    const size_t slash = documentFile.rfind('/');
    std::string name = slash == std::string::npos ? documentFile : documentFile.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name + ".gif";
}

void TGifExport::WriteGif(const QImage& picture, QRgb background, const std::string& fileName) {
    const std::string bytes = EncodeGif(ReduceToWebPalette(picture, background));
    // A picture is for sharing: readable by all, like the files other programs create.
    platform::WriteFileAtomically(fileName, bytes, 0644, true);
}

void TGifExport::Saveasgraphic1Click() {
    TSaveDialogRequest request;
    request.Filter = kGifFilter;
    request.InitialFolder = host_.LastSaveFolder();
    request.FileName = ProposedGifName(host_.DocumentFile());
    TArtMemo& memo = host_.Editor();
    QImage picture;
    try {
        picture = PaintEditorPicture(memo);
    } catch (const std::exception& e) {
        host_.ShowErrorBox(TErrorBoxKind::Save, e.what());
        return;
    }
    const std::string fileName = host_.ExecuteSaveDialog(request);
    if (fileName.empty())
        return;
    try {
        WriteGif(picture, platform::ColorToQColor(memo.Color()).rgb(), fileName);
    } catch (const std::exception& e) {
        host_.ShowErrorBox(TErrorBoxKind::Save, e.what());
    }
}

} // namespace zandor
