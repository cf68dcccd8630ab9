#include "editor/control/ArtMemoStrings.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/CodePages.h"

#include <string>

namespace zandor {

namespace {

std::u16string ToWide(std::string_view s) {
    return platform::TextToUnicode(s, platform::ANSI_CHARSET);
}

std::string FromWide(std::u16string_view s) {
    return platform::UnicodeToText(s, platform::ANSI_CHARSET);
}

std::string Joined(std::string_view a, std::string_view b) {
    std::string s(a);
    s.append(b);
    return s;
}

// The paragraph view's Add, which the line view shares: a new last paragraph, or s with a break
// in the empty last paragraph.
void AddParagraph(TArtMemo& memo, std::string_view s) {
    const int32_t last = memo.ParagraphCount() - 1;
    if (memo.GetParagraph(last).empty())
        memo.SetParagraph(last, Joined(s, "\r\n"));
    else
        memo.SetParagraph(last + 1, s);
}

void CheckParagraphIndex(const TArtMemo& memo, int32_t index) {
    if (index < 0 || index >= memo.ParagraphCount())
        throw ERangeError();
}

} // namespace

// ---- both views ------------------------------------------------------------------------------------

std::string TArtMemoStrings::GetTextStr() {
    return FMemo.GetTextPart(0, FMemo.CharCount());
}

void TArtMemoStrings::SetTextStr(std::string_view text) {
    const std::string copy(text);
    FMemo.SetTextBuf(copy.c_str());
}

void TArtMemoStrings::Clear() {
    FMemo.Clear();
}

void TArtMemoStrings::LoadFromStream(TByteStream& stream) {
    FMemo.LoadFromStream(stream);
}

void TArtMemoStrings::SaveToStream(TByteStream& stream) {
    FMemo.SaveToStream(stream);
}

void TArtMemoStrings::Assign(platform::TStrings& source) {
    TMemoryStream stream;
    if (auto* view = dynamic_cast<TArtMemoStrings*>(&source)) {
        view->FMemo.SaveToStream(stream);
    } else {
        const std::string text = source.GetTextStr();
        stream.Write(text.data(), text.size());
    }
    stream.Seek(0);
    FMemo.LoadFromStream(stream);
}

std::u16string TArtMemoStrings::GetWide(int32_t index) {
    return ToWide(Get(index));
}

void TArtMemoStrings::PutWide(int32_t index, std::u16string_view s) {
    Put(index, FromWide(s));
}

void TArtMemoStrings::InsertWide(int32_t index, std::u16string_view s) {
    Insert(index, FromWide(s));
}

void TArtMemoStrings::SetUpdateState(bool updating) {
    if (updating)
        FMemo.BeginUpdate();
    else
        FMemo.EndUpdate();
}

// ---- Paragraphs --------------------------------------------------------------------------------------

int32_t TArtParaStrings::Count() {
    const int32_t count = FMemo.ParagraphCount();
    return FMemo.GetParagraph(count - 1).empty() ? count - 1 : count;
}

std::string TArtParaStrings::Get(int32_t index) {
    CheckParagraphIndex(FMemo, index);
    return FMemo.GetParagraph(index);
}

void TArtParaStrings::Put(int32_t index, std::string_view s) {
    FMemo.SetParagraph(index, s);
}

int32_t TArtParaStrings::Add(std::string_view s) {
    AddParagraph(FMemo, s);
    // The index the new string has (not that of an empty last paragraph after it).
    return Count() - 1;
}

void TArtParaStrings::Insert(int32_t index, std::string_view s) {
    FMemo.SetSelLength(0);
    if (index < FMemo.ParagraphCount()) {
        FMemo.SetSelPar(index);
        FMemo.SetSelText(Joined(s, "\r\n"));
    } else {
        FMemo.SetSelStart(FMemo.CharCount());
        FMemo.SetSelText(Joined("\r\n", s));
    }
}

void TArtParaStrings::Delete(int32_t index) {
    CheckParagraphIndex(FMemo, index);
    FMemo.SetSelLength(0);
    FMemo.SetSelPar(index);
    int32_t length = static_cast<int32_t>(FMemo.GetParagraph(index).size());
    if (index < FMemo.ParagraphCount() - 1)
        length += 2;
    FMemo.SetSelLength(length);
    FMemo.SetSelText({});
}

int32_t TArtParaStrings::GetObject(int32_t index) {
    CheckParagraphIndex(FMemo, index);
    const ParInfo& par = FMemo.Core().Paragraphs().Par(index);
    return IsExtended(par) ? par.Extra->Obj : 0;
}

void TArtParaStrings::PutObject(int32_t index, int32_t value) {
    CheckParagraphIndex(FMemo, index);
    ExtendPar(FMemo.Core().Paragraphs().Par(index)).Obj = value;
}

// ---- Lines ---------------------------------------------------------------------------------------------

TArtLinesStrings::TArtLinesStrings(TArtMemo& memo) : TArtMemoStrings(memo) {}

TArtLinesStrings::~TArtLinesStrings() = default;

int32_t TArtLinesStrings::LineCountThrough(int32_t index) {
    // Asking for the line lays the text out as far as it.
    FMemo.GetDisplayLine(index);
    return FMemo.LineCount();
}

int32_t TArtLinesStrings::Count() {
    TArtMemoCore& core = FMemo.Core();
    const int32_t last = core.ParagraphCount() - 1;
    core.FormatUpTo(last);
    if (!FLines)
        FLines = std::make_unique<TLinesList>();
    FLines->SetPar(&core.Paragraphs().Par(last));
    LineInfo line{};
    FLines->GetLine(FLines->LineCount() - 1, line);
    const int32_t count = FMemo.LineCount();
    return line.Start == line.Stop ? count - 1 : count;
}

std::string TArtLinesStrings::Get(int32_t index) {
    return FMemo.GetDisplayLine(index);
}

bool TArtLinesStrings::SelectLine(int32_t index) {
    if (index < 0)
        return false;
    const std::string text = FMemo.GetDisplayLine(index);
    if (index >= FMemo.LineCount())
        return false;
    FMemo.SetSelLength(0);
    FMemo.SetSelLine(index);
    FMemo.SetSelLength(static_cast<int32_t>(text.size()));
    return true;
}

void TArtLinesStrings::Put(int32_t index, std::string_view s) {
    if (!SelectLine(index))
        return;
    FMemo.SetSelText(s);
    FMemo.ScrollInView();
}

int32_t TArtLinesStrings::Add(std::string_view s) {
    FMemo.SetSelLength(0);
    AddParagraph(FMemo, s);
    FMemo.SetSelStart(FMemo.CharCount());
    FMemo.ScrollInView();
    return Count() - 1;
}

void TArtLinesStrings::Insert(int32_t index, std::string_view s) {
    if (index < 0)
        return;
    const int32_t count = LineCountThrough(index);
    if (index > count)
        return;
    FMemo.SetSelLength(0);
    if (index < count) {
        FMemo.SetSelLine(index);
        FMemo.SetSelText(Joined(s, "\r\n"));
    } else {
        FMemo.SetSelStart(FMemo.CharCount());
        FMemo.SetSelText(Joined("\r\n", s));
    }
    FMemo.ScrollInView();
}

void TArtLinesStrings::Delete(int32_t index) {
    if (index < 0 || index >= Count() || !SelectLine(index))
        return;
    const int32_t par = FMemo.SelPar();
    const int32_t end = FMemo.SelStart() + FMemo.SelLength();
    if (end == FMemo.ParagraphStart(par) + static_cast<int32_t>(FMemo.GetParagraph(par).size()))
        FMemo.SetSelLength(FMemo.SelLength() + 2);
    FMemo.SetSelText({});
    FMemo.ScrollInView();
}

} // namespace zandor
