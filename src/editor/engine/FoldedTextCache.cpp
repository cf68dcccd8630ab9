#include "editor/engine/FoldedTextCache.h"

#include "editor/engine/NavigatorRegistry.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <array>

namespace zandor {

TUpperCaseProc UserUpperCaseProc = nullptr;

namespace {

const unsigned char* AsciiUpperTable() {
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<size_t>(b)] =
                static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - ('a' - 'A') : b);
        return t;
    }();
    return table.data();
}

void TableUpper(const unsigned char* table, char* text, size_t n) {
    for (size_t i = 0; i < n; ++i)
        text[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
}

} // namespace

void UpperCaseText(TamUpperCase kind, char* text, size_t n) {
    if (kind == amuAnsi) {
        TableUpper(platform::AnsiUpperTable(), text, n);
    } else if (kind == amuUserDefined && UserUpperCaseProc) {
        // The procedure works on a NUL-terminated string; the bytes here usually are not.
        std::string scratch(text, n);
        UserUpperCaseProc(scratch.data());
        std::copy_n(scratch.data(), n, text);
    } else {
        TableUpper(AsciiUpperTable(), text, n);
    }
}

std::string UpperCased(TamUpperCase kind, std::string_view text) {
    std::string folded(text);
    UpperCaseText(kind, folded.data(), folded.size());
    return folded;
}

void TFoldedTextCache::SetUpperCase(TamUpperCase kind) {
    if (kind != FKind)
        Clear();
    FKind = kind;
}

const char* TFoldedTextCache::FoldedText(const ParInfo& par, int32_t parIndex, int32_t length,
                                         int32_t offset) {
    const int32_t parLength = ParLength(par);
    offset = std::clamp(offset, 0, parLength);
    length = std::clamp(length, 0, parLength - offset);
    const char* text = par.Text;
    const int32_t cachedEnd = FStart + Length();
    if (FParIndex == parIndex && offset <= cachedEnd && offset + length >= FStart) {
        if (offset < FStart) {
            const auto added = static_cast<size_t>(FStart - offset);
            FBytes.insert(0, text + offset, added);
            UpperCaseText(FKind, FBytes.data(), added);
            FStart = offset;
        }
        if (offset + length > cachedEnd) {
            const auto added = static_cast<size_t>(offset + length - cachedEnd);
            const size_t at = FBytes.size();
            FBytes.append(text + cachedEnd, added);
            UpperCaseText(FKind, FBytes.data() + at, added);
        }
    } else {
        FBytes.assign(length > 0 ? text + offset : "", static_cast<size_t>(length));
        UpperCaseText(FKind, FBytes.data(), FBytes.size());
        FParIndex = parIndex;
        FStart = offset;
    }
    return FBytes.c_str() + (offset - FStart);
}

void TFoldedTextCache::AdjustAfterReplace(const TReplacedRange& range) {
    if (FParIndex < 0)
        return;
    if (FParIndex > range.OldLastPar)
        FParIndex += range.ParDelta;
    else if (FParIndex >= range.FirstPar)
        Clear();
}

void TFoldedTextCache::Clear() {
    FParIndex = -1;
    FStart = 0;
    FBytes.clear();
}

} // namespace zandor
