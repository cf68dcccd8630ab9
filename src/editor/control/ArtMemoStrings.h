// The editor control's text as string lists: Paragraphs, one string per paragraph, and Lines, one
// per display line. The views do no text surgery of their own: every change is a selection on the
// control and its one replace operation, so it can be undone and is reported like typing. Loading,
// saving, clearing and assigning go through the control's stream loader and writer, as a file does.
#pragma once

#include "platform/Strings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zandor {

class TArtMemo;
class TByteStream;
class TLinesList;

// Refers to the control that owns it.
class TArtMemoStrings : public platform::TStrings {
public:
    explicit TArtMemoStrings(TArtMemo& memo) : FMemo(memo) {}

    TArtMemo& Memo() const { return FMemo; }

    // The whole text: paragraph breaks as CR LF, format codes included.
    std::string GetTextStr() override;
    // One replacement of the whole text; breaks may be CR, LF, CR LF or LF CR.
    void SetTextStr(std::string_view text) override;
    // An empty text, loaded (the undo list goes).
    void Clear() override;
    void LoadFromStream(TByteStream& stream);
    void SaveToStream(TByteStream& stream);
    // From a view of a control: its text with its format codes as they are; from any other list:
    // its strings as lines. Loaded as a file is (the undo list goes).
    void Assign(platform::TStrings& source) override;

    // Get, Put and Insert with the characters of the ANSI code page as Unicode; characters it has
    // no byte for become "?".
    std::u16string GetWide(int32_t index);
    void PutWide(int32_t index, std::u16string_view s);
    void InsertWide(int32_t index, std::u16string_view s);

protected:
    // The outermost BeginUpdate/EndUpdate of the list brackets the control's edits.
    void SetUpdateState(bool updating) override;

    TArtMemo& FMemo;
};

// The control's Paragraphs: index = paragraph.
class TArtParaStrings final : public TArtMemoStrings {
public:
    using TArtMemoStrings::TArtMemoStrings;

    // The paragraphs, without an empty last one: a text that ends with a break has as many strings
    // as breaks.
    int32_t Count() override;
    // The raw paragraph, format codes included; ERangeError for an index outside the paragraphs.
    std::string Get(int32_t index) override;
    // Replaces paragraph index; past the end, empty paragraphs are appended first.
    void Put(int32_t index, std::string_view s) override;
    // A new last string: into the empty last paragraph when there is one, so that a text ending in
    // a break still does.
    int32_t Add(std::string_view s) override;
    // Before paragraph index; at or past the end, after the last paragraph.
    void Insert(int32_t index, std::string_view s) override;
    // The paragraph with its break; the last paragraph has none, so only its text goes.
    // ERangeError for an index outside the paragraphs, before anything changes.
    void Delete(int32_t index) override;

    // The paragraph's object value (0 for a paragraph that never had one); ERangeError outside.
    int32_t GetObject(int32_t index);
    void PutObject(int32_t index, int32_t value);
};

// The control's Lines: index = display line (a paragraph while WordWrap is off). Owns its own view
// of a paragraph's line table, made on first use.
class TArtLinesStrings final : public TArtMemoStrings {
public:
    explicit TArtLinesStrings(TArtMemo& memo);
    ~TArtLinesStrings() override;

    // The display lines, without an empty last one.
    int32_t Count() override;
    // The display line's text; empty beyond the last.
    std::string Get(int32_t index) override;
    // The line's text is replaced (its break stays); nothing past the last line.
    void Put(int32_t index, std::string_view s) override;
    // As the paragraphs add; the caret goes to the end of the text.
    int32_t Add(std::string_view s) override;
    // Before line index (which may split a wrapped paragraph), or after the last line when index is
    // the line count; nothing beyond.
    void Insert(int32_t index, std::string_view s) override;
    // The line's text, and its paragraph's break when the line ends the paragraph; nothing past
    // the last string.
    void Delete(int32_t index) override;

private:
    // Selects display line index's text with the caret at its start; false past the last line.
    bool SelectLine(int32_t index);
    // The display lines once the layout reached line index.
    int32_t LineCountThrough(int32_t index);

    std::unique_ptr<TLinesList> FLines;
};

} // namespace zandor
