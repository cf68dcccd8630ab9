#include "platform/Strings.h"

namespace zandor::platform {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        // A pair of different break characters is one break.
        const bool pair =
            i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c;
        i += pair ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

int32_t TStrings::Add(std::string_view s) {
    const int32_t index = Count();
    Insert(index, s);
    return index;
}

void TStrings::Clear() {
    TStringsUpdate update(*this);
    for (int32_t i = Count() - 1; i >= 0; --i)
        Delete(i);
}

std::string TStrings::GetTextStr() {
    std::string text;
    const int32_t count = Count();
    for (int32_t i = 0; i < count; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetTextStr(std::string_view text) {
    TStringsUpdate update(*this);
    Clear();
    for (std::string_view line : SplitLines(text))
        Add(line);
}

void TStrings::Assign(TStrings& source) {
    if (&source == this)
        return;
    TStringsUpdate update(*this);
    Clear();
    const int32_t count = source.Count();
    for (int32_t i = 0; i < count; ++i)
        Add(source.Get(i));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

} // namespace zandor::platform
