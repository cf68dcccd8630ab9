#include "keywords/HighlightList.h"

#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/KeywordList.h"
#include "host/ZandorHost.h"
#include "keywords/HighlightListForm.h"
#include "platform/AtomicWrite.h"

#include <QFile>

#include <exception>

namespace zandor {

namespace {

// Whole words, letter case ignored; no font style of their own; context 1; the default cursor.
constexpr uint8_t kKeywordOptions = 2;
constexpr int32_t kKeywordContext = 1;

} // namespace

std::vector<std::string> SplitKeywordLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

THighlightList::THighlightList(TZandorHost& host, TURLHighlighter& urls, std::string file,
                               std::function<bool()> highLight)
    : FHost(host), FURLs(urls), FFile(std::move(file)), FHighLight(std::move(highLight)) {}

THighlightList::~THighlightList() {
    ReleaseWindow();
}

void THighlightList::ReleaseWindow() {
    if (!FWindow)
        return;
    FWindow->Release();
    FWindow.reset();
}

void ApplyHighlightList(TArtMemo& m, TURLHighlighter& urls, const std::string& file) {
    TKeywordList& keywords = m.Keywords();
    keywords.Clear();
    QFile list(QString::fromStdString(file));
    if (!file.empty() && list.open(QIODevice::ReadOnly)) {
        // A file that cannot be read whole gives the words read so far.
        const QByteArray bytes = list.readAll();
        keywords.BeginUpdate();
        try {
            for (const std::string& line :
                 SplitKeywordLines(std::string_view(bytes.constData(), bytes.size())))
                keywords.AddKeyWord(line, kKeywordOptions, 0, kKeywordContext, 0, m.HighlightBackgnd(),
                                    m.HighlightColor());
        } catch (const std::exception&) {
        }
        keywords.EndUpdate();
    }
    m.ReApplyKeywords();
    for (THighlightInfo* look : {&urls.EmailURL(), &urls.FileURL(), &urls.WebURL(), &urls.OtherURL()}) {
        look->SetForeground(m.HighlightColor());
        look->SetBackground(m.HighlightBackgnd());
    }
}

void THighlightList::ApplyKeywordList() {
    ApplyHighlightList(FHost.Editor(), FURLs, FHighLight && FHighLight() ? FFile : std::string());
}

void THighlightList::Edithighlightlist1Click() {
    if (!FWindow)
        FWindow = std::make_unique<Tf3>(FHost, *this);
    FWindow->show();
    FWindow->raise();
    FWindow->activateWindow();
}

bool THighlightList::WriteList(TArtMemo& list) {
    TMemoryStream stream;
    list.SaveToStream(stream);
    try {
        platform::WriteFileAtomically(FFile, stream.Text(), 0644, true);
    } catch (const std::exception& error) {
        FHost.ShowErrorBox(TErrorBoxKind::Save, error.what());
        return false;
    }
    ApplyKeywordList();
    return true;
}

} // namespace zandor
