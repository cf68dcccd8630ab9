// The one-pass keyword matcher against the plain way of matching a list: each keyword in turn
// searched over the paragraph with masked and already taken characters hidden. Random texts and
// lists over a small alphabet make overlaps, shared prefixes, whole-word rejections, case folding,
// masked stretches and keywords holding the mask character common.
#include "editor/engine/KeywordMatcher.h"
#include "editor/engine/KeywordList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {
namespace {

constexpr char kHidden = 5;

std::vector<TKeywordHit> PlainMatch(const TKeywordList& keys, const std::string& text,
                                    const std::vector<uint8_t>& mask, const TCharSet& separators) {
    const auto length = static_cast<int32_t>(text.size());
    std::string raw = text;
    std::string folded = UpperCased(keys.UpperCase(), text);
    std::vector<uint8_t> taken = mask;
    for (size_t i = 0; i < text.size(); ++i)
        if (taken[i])
            raw[i] = folded[i] = kHidden;
    const bool allSensitive = keys.KeyFlags() & koCaseSensitive;
    auto sep = [&](int32_t i) {
        return separators.test(static_cast<unsigned char>(text[static_cast<size_t>(i)]));
    };
    std::vector<TKeywordHit> hits;
    for (int j = 0; j < keys.Count(); ++j) {
        const TKeyInfoLen& kw = keys.Key(j);
        const int32_t len = kw.Length;
        if (kw.Context == 0 || len == 0 || len > length)
            continue;
        std::string& window = (kw.Options & koCaseSensitive) || allSensitive ? raw : folded;
        for (size_t at = window.find(kw.MatchText); at != std::string::npos;
             at = window.find(kw.MatchText, at + static_cast<size_t>(len))) {
            const auto i = static_cast<int32_t>(at);
            bool accept = true;
            for (int32_t k = i; k < i + len; ++k)
                accept = accept && !taken[static_cast<size_t>(k)];
            if (accept && (kw.Options & koWholeWord))
                accept = (i == 0 || sep(i - 1)) && (i + len == length || sep(i + len));
            if (!accept)
                continue;
            for (int32_t k = i; k < i + len; ++k) {
                taken[static_cast<size_t>(k)] = 1;
                raw[static_cast<size_t>(k)] = folded[static_cast<size_t>(k)] = kHidden;
            }
            hits.push_back({j, i, len});
        }
    }
    return hits;
}

void UpperAsciiAndSwapQuestionMarks(char* text) {
    for (; *text; ++text)
        *text = *text == '?' ? '!' : static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
}

TEST(KeywordMatcher, FindsWhatSearchingEachKeywordInTurnFinds) {
    std::mt19937 rng(20);
    const std::string alphabet = std::string("aabAB  .?!x\xE9\xC9") + kHidden;
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    auto word = [&](size_t maxLength) {
        std::string s(1 + pick(maxLength), ' ');
        for (char& c : s)
            c = alphabet[pick(alphabet.size())];
        return s;
    };
    TCharSet separators;
    for (char c : std::string_view(" .!"))
        separators.set(static_cast<unsigned char>(c));
    TKeywordMatcher matcher;
    std::vector<TKeywordHit> hits;
    for (int round = 0; round < 3000; ++round) {
        TKeywordList keys;
        keys.SetUpperCase(static_cast<TamUpperCase>(round % 3));
        UserUpperCaseProc = round % 6 == 2 ? UpperAsciiAndSwapQuestionMarks : nullptr;
        // Lists of long keywords alone let the search skip through the text in long strides.
        const size_t longest = round % 4 == 3 ? 9 : 4;
        const size_t shortest = round % 8 == 7 ? 5 : 1;
        const int count = 1 + static_cast<int>(pick(8));
        for (int j = 0; j < count; ++j) {
            const uint8_t options = static_cast<uint8_t>(pick(4)); // case-sensitive, whole word
            std::string key = word(longest);
            while (key.size() < shortest)
                key += word(longest);
            keys.AddKeyWord(key, options, 0, pick(10) == 0 ? 0 : 7, 0, -1, 0xFF);
        }
        const std::string text = pick(10) == 0 ? std::string() : word(round % 2 ? 40 : 120);
        std::vector<uint8_t> mask(text.size(), 0);
        const bool masked = pick(3) == 0;
        if (masked && !text.empty()) {
            const size_t from = pick(text.size());
            std::fill(mask.begin() + static_cast<std::ptrdiff_t>(from),
                      mask.begin() + static_cast<std::ptrdiff_t>(from + pick(text.size() - from + 1)), 1);
        }
        const std::vector<TKeywordHit> expected = PlainMatch(keys, text, mask, separators);
        const auto length = static_cast<int32_t>(text.size());
        auto check = [&](const char* how) {
            ASSERT_EQ(hits.size(), expected.size()) << how << " round " << round << " text '" << text << "'";
            for (size_t h = 0; h < hits.size(); ++h) {
                EXPECT_EQ(hits[h].Keyword, expected[h].Keyword) << how << " round " << round << " hit " << h;
                EXPECT_EQ(hits[h].Offset, expected[h].Offset) << how << " round " << round << " hit " << h;
                EXPECT_EQ(hits[h].Length, expected[h].Length) << how << " round " << round << " hit " << h;
            }
        };
        matcher.Prepare(keys);
        matcher.Match(text.data(), length, masked ? mask.data() : nullptr, separators, hits);
        check("match");
        // The same text read once (matched unmasked, or only searched), settled under the mask
        // afterwards; and a copy of the text in another place, which the matcher must read afresh.
        if (round % 2) {
            matcher.Match(text.data(), length, nullptr, separators, hits);
        } else {
            // Every hit was found, but those of keywords holding the mask character, which are
            // searched for when settling.
            const auto found = static_cast<size_t>(matcher.Find(text.data(), length));
            EXPECT_GE(found, static_cast<size_t>(std::count_if(expected.begin(), expected.end(),
                                                               [&](const TKeywordHit& h) {
                                                                   return keys.Key(h.Keyword).MatchText.find(
                                                                              kHidden) == std::string::npos;
                                                               })))
                << "round " << round;
        }
        matcher.Rematch(text.data(), length, mask.data(), separators, hits);
        check("rematch");
        const std::string copy = text;
        matcher.Rematch(copy.data(), length, mask.data(), separators, hits);
        check("rematch of a copy");
    }
    UserUpperCaseProc = nullptr;
}

TEST(KeywordMatcher, FollowsChangesToTheList) {
    TKeywordList keys;
    keys.AddKeyWord("ab", koWholeWord, 0, 7, 0, -1, 0xFF);
    TKeywordMatcher matcher;
    std::vector<TKeywordHit> hits;
    const std::string text = "ab abc AB";
    TCharSet separators;
    separators.set(' ');
    auto offsets = [&] {
        matcher.Prepare(keys);
        matcher.Match(text.data(), static_cast<int32_t>(text.size()), nullptr, separators, hits);
        std::vector<std::pair<int, int>> found;
        for (const TKeywordHit& h : hits)
            found.emplace_back(h.Keyword, h.Offset);
        return found;
    };
    EXPECT_EQ(offsets(), (std::vector<std::pair<int, int>>{{0, 0}, {0, 7}}));
    keys.AddKeyWord("abc", koCaseSensitive, 0, 9, 0, -1, 0xFF);
    EXPECT_EQ(offsets(), (std::vector<std::pair<int, int>>{{0, 0}, {0, 7}, {1, 3}}));
    keys.Delete(0);
    EXPECT_EQ(offsets(), (std::vector<std::pair<int, int>>{{0, 3}}));
}

} // namespace
} // namespace zandor
