#include "HighlightTestText.h"

#include "NavigatorTestText.h"
#include "editor/engine/RunState.h"

#include <sstream>

namespace zandor::test {

HighlightFixture::HighlightFixture(std::string_view text) {
    Load(text);
}

void HighlightFixture::Load(std::string_view text) {
    LoadText(Core, text);
}

std::string DescribeState(const TDynInfo& r) {
    std::ostringstream s;
    if (!(r.StyleFlags & sfContext))
        return "plain";
    s << r.Context << "/" << int(r.Depth) << "[";
    for (int d = 0; d <= r.Depth && d < 16; ++d)
        s << (d ? "," : "") << r.Stack[d];
    s << "]s" << int(r.StyleFlags) << "L" << r.StartLen << "/" << r.StopLen;
    return s.str();
}

std::string DescribeParagraph(const TParagraphsList& list, int p) {
    const ParInfo& par = list.Par(p);
    std::string s = "base=" + DescribeState(*BaseStyleOf(par));
    for (int i = 0; i < RunCount(par); ++i) {
        const TDynInfo& r = par.Extra->Runs[static_cast<size_t>(i)];
        s += "; " + std::to_string(r.Offset) + ":" + DescribeState(r);
    }
    return s;
}

std::string ContextMap(const TParagraphsList& list, int p) {
    const ParInfo& par = list.Par(p);
    std::string map;
    for (int32_t i = 0; i < ParLength(par); ++i) {
        const TDynInfo& r = StateAt(par, i);
        map += (r.StyleFlags & sfContext) && r.Context ? char('0' + r.Context % 10) : '.';
    }
    return map;
}

namespace {

std::string Bytes(const TDynInfo& r, bool skipOffset) {
    std::ostringstream s;
    s << (skipOffset ? std::string("-") : std::to_string(r.Offset)) << " f" << int(r.StyleFlags) << " d"
      << int(r.Depth) << " l" << int(r.Level) << " rf" << int(r.RunFlags) << " bg" << r.Background << " fg"
      << r.Foreground << " c" << r.Context << " cu" << r.Cursor << " st";
    for (int d = 0; d < 16; ++d)
        s << (d ? "," : "") << r.Stack[d];
    s << " sl" << r.StartLen << "/" << r.StopLen;
    return s.str();
}

} // namespace

std::vector<std::string> Snapshot(const TParagraphsList& list) {
    std::vector<std::string> out;
    for (int p = 0; p < list.Count(); ++p) {
        const ParInfo& par = list.Par(p);
        std::string s = "base{" + Bytes(*BaseStyleOf(par), true) + "}";
        for (int i = 0; i < RunCount(par); ++i)
            s += "\n    run{" + Bytes(par.Extra->Runs[static_cast<size_t>(i)], false) + "}";
        out.push_back(std::move(s));
    }
    return out;
}

std::string SnapshotDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    std::string diff;
    if (expected.size() != actual.size())
        diff += "paragraph count " + std::to_string(expected.size()) + " vs " +
                std::to_string(actual.size()) + "\n";
    int shown = 0;
    for (size_t p = 0; p < std::min(expected.size(), actual.size()) && shown < 3; ++p)
        if (expected[p] != actual[p]) {
            diff += "paragraph " + std::to_string(p) + "\n  fresh parse:\n    " + expected[p] +
                    "\n  incremental:\n    " + actual[p] + "\n";
            ++shown;
        }
    return diff;
}

} // namespace zandor::test
