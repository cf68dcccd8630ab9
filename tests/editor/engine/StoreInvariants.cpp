#include "StoreInvariants.h"

#include <cstring>
#include <map>

namespace zandor::test {

namespace {

::testing::AssertionResult Fail(int p, const std::string& what) {
    return ::testing::AssertionFailure() << "paragraph " << p << ": " << what;
}

::testing::AssertionResult CheckLines(int p, const ParInfo& par, int32_t length) {
    const LineInfo first = LoadFirstLine(par);
    if (first.Start != 0)
        return Fail(p, "line 0 starts at " + std::to_string(first.Start));
    int32_t expectStart = 0;
    int32_t lastStop = 0;
    const int lines = LineCountOf(par);
    for (int k = 0; k < lines; ++k) {
        const LineInfo line = k == 0 ? first : par.Extra->Lines[static_cast<size_t>(k - 1)];
        if (line.Start != expectStart)
            return Fail(p, "line " + std::to_string(k) + " starts at " + std::to_string(line.Start) +
                               ", previous line stops at " + std::to_string(expectStart));
        if (line.Stop < line.Start)
            return Fail(p, "line " + std::to_string(k) + " stops before it starts");
        expectStart = lastStop = line.Stop;
    }
    if (lastStop != length)
        return Fail(p,
                    "last line stops at " + std::to_string(lastStop) + ", length " + std::to_string(length));
    return ::testing::AssertionSuccess();
}

} // namespace

::testing::AssertionResult StoreInvariantsHold(const TParagraphsList& list, const StoreCheck& check) {
    const int count = list.Count();
    if (check.NonEmpty && count < 1)
        return ::testing::AssertionFailure() << "no paragraph";
    if (list.Capacity() < count || list.Capacity() != list.BlockCount() * list.PerBlock())
        return ::testing::AssertionFailure() << "capacity " << list.Capacity() << " for " << count
                                             << " records in " << list.BlockCount() << " blocks";

    int64_t start = 0;
    int64_t firstLine = 0;
    int64_t lines = 0;
    int64_t visible = 0;
    std::map<const TDynInfo*, int> holders;
    for (int p = 0; p < count; ++p) {
        const ParInfo& par = list.Par(p);
        if (par.Start != start)
            return Fail(p, "Start " + std::to_string(par.Start) + ", expected " + std::to_string(start));
        if (par.FirstLine != firstLine)
            return Fail(p, "FirstLine " + std::to_string(par.FirstLine) + ", expected " +
                               std::to_string(firstLine));
        const int32_t length = ParLength(par);
        if (length < 0)
            return Fail(p, "negative length");
        if (!IsExtended(par) && length >= kCompactLengthLimit)
            return Fail(p, "compact with length " + std::to_string(length));
        if (IsExtended(par) && !par.Extra)
            return Fail(p, "extended without extension");
        if (length > 0) {
            if (!par.Text)
                return Fail(p, "no text for length " + std::to_string(length));
            if (par.Text[length] != '\0')
                return Fail(p, "text not terminated at its length");
            if (std::memchr(par.Text, '\r', static_cast<size_t>(length)) ||
                std::memchr(par.Text, '\n', static_cast<size_t>(length)))
                return Fail(p, "line break inside the text");
            if ((par.Flags & pfOwnText) && ParTextCapacity(par.Text) < length + 1)
                return Fail(p, "owned buffer smaller than the text");
        }
        if (auto result = CheckLines(p, par, length); !result)
            return result;
        if (IsExtended(par)) {
            int32_t previous = 0;
            for (const TDynInfo& run : par.Extra->Runs) {
                if (run.Offset < previous)
                    return Fail(p, "runs not sorted at offset " + std::to_string(run.Offset));
                if (run.Offset > length)
                    return Fail(p, "run offset " + std::to_string(run.Offset) + " beyond length");
                previous = run.Offset;
            }
            if (!par.Extra->BaseStyle.IsDefault()) {
                const TDynInfo* base = par.Extra->BaseStyle.Get();
                if (!(base->StyleFlags & sfContext))
                    return Fail(p, "shared base style without a context");
                ++holders[base];
            }
        }
        const int n = LineCountOf(par);
        lines += n;
        if (!IsHidden(par)) {
            visible += n;
            firstLine += n;
        }
        start += length + 2;
    }
    for (const auto& [base, n] : holders) {
        if (base->Offset < n || (check.ExactRefCounts && base->Offset != n))
            return ::testing::AssertionFailure()
                   << "base style counted " << base->Offset << " times, held by " << n << " paragraphs";
    }
    if (check.Counters) {
        const int64_t textLength = count > 0 ? start - 2 : 0;
        if (list.TextLength != textLength)
            return ::testing::AssertionFailure()
                   << "TextLength " << list.TextLength << ", expected " << textLength;
        if (list.LineCount != lines)
            return ::testing::AssertionFailure() << "LineCount " << list.LineCount << ", expected " << lines;
        if (list.VisibleLineCount != visible)
            return ::testing::AssertionFailure()
                   << "VisibleLineCount " << list.VisibleLineCount << ", expected " << visible;
    }
    return ::testing::AssertionSuccess();
}

void FillParagraphs(TParagraphsList& list, const std::vector<std::string>& texts) {
    list.ClearAll();
    size_t bytes = 0;
    for (const std::string& text : texts)
        bytes += text.size() + 1;
    char* block = list.AddLoadBlock(bytes);
    int32_t start = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        std::memcpy(block, text.c_str(), text.size() + 1);
        ParInfo par{};
        par.Text = block;
        par.Start = start;
        par.FirstLine = static_cast<int32_t>(i);
        const int index = list.Add(&par);
        ParInfo& stored = list.Par(index);
        SetParLength(stored, static_cast<int32_t>(text.size()));
        LineInfo line{};
        line.Stop = line.JustifyFrom = static_cast<int32_t>(text.size());
        line.TextWidth = line.FullWidth = static_cast<int32_t>(text.size());
        StoreFirstLine(stored, line);
        block += text.size() + 1;
        start += static_cast<int32_t>(text.size()) + 2;
    }
    list.TextLength = texts.empty() ? 0 : start - 2;
    list.LineCount = list.VisibleLineCount = static_cast<int32_t>(texts.size());
}

std::string ParText(const ParInfo& par) {
    const int32_t length = ParLength(par);
    return length > 0 ? std::string(par.Text, static_cast<size_t>(length)) : std::string();
}

} // namespace zandor::test
