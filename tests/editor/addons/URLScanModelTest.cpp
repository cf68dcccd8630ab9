// The address scan against the recognition rules applied the plain way: at every position from
// the left, the prefixes in table order. Random texts are made of prefixes, their fragments,
// delimiters and trailing punctuation, so near misses and neighbouring addresses are common; some
// hold stretches longer than one address may be.
#include "editor/addons/URLHighlighter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace zandor {
namespace {

std::vector<TURLMatch> PlainScan(const std::string& text) {
    const auto length = static_cast<int32_t>(text.size());
    auto delimiter = [&](int32_t i) { return IsURLDelimiter(text[static_cast<size_t>(i)]); };
    std::vector<TURLMatch> found;
    int32_t taken = 0;
    for (int32_t x = 0; x < length;) {
        bool matched = false;
        for (int r = 0; r < kURLRows && !matched; ++r) {
            const TURLRecord& row = URLRecord[static_cast<size_t>(r)];
            const auto n = static_cast<int32_t>(row.Prefix.size());
            if (x + n >= length)
                continue; // the prefix needs a character after it
            bool same = true;
            for (int32_t k = 0; k < n; ++k)
                same = same && std::toupper(static_cast<unsigned char>(text[static_cast<size_t>(x + k)])) ==
                                   row.Prefix[static_cast<size_t>(k)];
            const bool wordOk = row.WordStart ? x == 0 || delimiter(x - 1) : x > 0 && !delimiter(x - 1);
            if (!same || !wordOk || delimiter(x + n))
                continue;
            int32_t start = x;
            if (!row.WordStart)
                while (start > 0 && !delimiter(start - 1))
                    --start;
            // An "@" in what is left of a stretch too long for one address starts none.
            if (start < taken)
                continue;
            int32_t end = x + n;
            while (end < length && !delimiter(end))
                ++end;
            while (end - start > 1 &&
                   (text[static_cast<size_t>(end - 1)] == ',' || text[static_cast<size_t>(end - 1)] == '.' ||
                    text[static_cast<size_t>(end - 1)] == ';'))
                --end;
            end = std::min(end, start + 65535);
            found.push_back({start, end, r, x});
            x = taken = end;
            matched = true;
        }
        if (!matched)
            ++x;
    }
    return found;
}

TEST(URLScan, FindsWhatThePlainRulesFind) {
    std::vector<std::string> pieces = {
        "http://", "HTTPS://", "www.",        "WwW",       "mailto:", "@",     "news:", "nntp://",
        "ftp.",    "Ftp://",   "gopher.",     "tn3270:",   "file://", "wais:", "a",     "x.y",
        " ",       "\t",       "(",           ")",         "'",       "\"",    ",",     ".",
        ";",       ":",        "prospero://", "telnet://", "h",       "w",     "ttp:"};
    std::mt19937 rng(201);
    for (int round = 0; round < 4030; ++round) {
        std::string text;
        const int count = static_cast<int>(rng() % 14);
        for (int i = 0; i < count; ++i)
            text += pieces[rng() % pieces.size()];
        if (round >= 4000) {
            // A stretch of up to twice the longest address, with a few "@", full stops and commas.
            std::string stretch(30000 + rng() % 100000, 'u');
            for (int i = static_cast<int>(rng() % 8); i > 0; --i)
                stretch[rng() % stretch.size()] = "@@.,"[rng() % 4];
            text.insert(rng() % (text.size() + 1), stretch);
        }
        const std::vector<TURLMatch> found = FindURLs(text);
        const std::vector<TURLMatch> expected = PlainScan(text);
        const std::string what = "round " + std::to_string(round) + " text '" + text.substr(0, 200) + "'";
        ASSERT_EQ(found.size(), expected.size()) << what;
        for (size_t m = 0; m < found.size(); ++m) {
            EXPECT_EQ(found[m].Start, expected[m].Start) << what;
            EXPECT_EQ(found[m].End, expected[m].End) << what;
            EXPECT_EQ(found[m].Row, expected[m].Row) << what;
            EXPECT_EQ(found[m].PrefixAt, expected[m].PrefixAt) << what;
        }
    }
}

} // namespace
} // namespace zandor
