// The key parser and the keyword matcher against plain models written from the rules alone: for
// random texts, every character lies in the context of the same start/stop key, or belongs to the
// same keyword, in both. The model knows nothing of
// runs: it walks each paragraph once with one open key at most, as the rules describe contexts.
#include "HighlightTestText.h"
#include "editor/engine/RunState.h"

#include <gtest/gtest.h>

#include <random>

namespace zandor {
namespace {

struct ModelKey {
    std::string Start, Stop;
    bool WholeWord, EndsAtLineEnd;
};

// Keys as the sample text uses them; the fourth shares its start key with the first, so the first
// context goes on as the fourth after its stop key.
const ModelKey kKeys[] = {{"/*", "*/", false, false},
                          {"\"", "\"", false, true},
                          {"REM", "", true, true},
                          {"/*", "!/", false, false}};

bool Sep(char c) {
    return DefaultSeparators().test(static_cast<unsigned char>(c));
}

bool MatchAt(const std::string& text, size_t i, const std::string& key, bool whole, size_t end) {
    if (key.empty() || i + key.size() > text.size() || text.compare(i, key.size(), key) != 0)
        return false;
    if (whole && !Sep(key.front()) && i > 0 && !Sep(text[i - 1]))
        return false;
    const size_t after = i + key.size();
    return !(whole && !Sep(key.back()) && after < end && !Sep(text[after]));
}

// For each paragraph, the key whose context each character lies in ('.' none, else '0' + key).
std::vector<std::string> ModelMaps(const std::vector<std::string>& pars) {
    std::vector<std::string> maps;
    int open = -1;
    for (const std::string& raw : pars) {
        std::string text = raw;
        for (char& c : text)
            c = (c >= 'a' && c <= 'z') ? char(c - 32) : c; // no key is case-sensitive
        std::string map(text.size(), '.');
        size_t pos = 0;
        for (;;) {
            if (open >= 0) {
                const ModelKey& k = kKeys[open];
                size_t stop = std::string::npos;
                for (size_t s = pos; !k.Stop.empty() && s + k.Stop.size() <= text.size(); ++s)
                    if (MatchAt(text, s, k.Stop, k.WholeWord, text.size())) {
                        stop = s;
                        break;
                    }
                const size_t end = stop == std::string::npos ? text.size() : stop + k.Stop.size();
                for (size_t i = pos; i < end; ++i)
                    map[i] = char('0' + open);
                if (stop == std::string::npos && !k.EndsAtLineEnd)
                    break; // open on into the next paragraph
                pos = end;
                open = open == 0 ? 3 : -1; // the key sharing the first key's start goes on
                if (stop == std::string::npos && open < 0)
                    break;
                continue;
            }
            size_t at = std::string::npos;
            int which = -1;
            for (size_t i = pos; i < text.size() && which < 0; ++i)
                for (int j = 0; j < 3 && which < 0; ++j) // the fourth key is never reached first
                    if (MatchAt(text, i, kKeys[j].Start, kKeys[j].WholeWord, text.size())) {
                        at = i;
                        which = j;
                    }
            if (which < 0)
                break;
            for (size_t i = at; i < at + kKeys[which].Start.size(); ++i)
                map[i] = char('0' + which);
            pos = at + kKeys[which].Start.size();
            open = which;
        }
        maps.push_back(map);
    }
    return maps;
}

std::string EngineMap(const TParagraphsList& list, int p) {
    const ParInfo& par = list.Par(p);
    std::string map;
    for (int32_t i = 0; i < ParLength(par); ++i) {
        const TDynInfo& r = StateAt(par, i);
        char c = '.';
        for (int d = 0; d <= EffectiveDepth(r); ++d)
            if (r.Stack[d] < 0)
                c = char('0' + KeyOfEntry(r.Stack[d]));
        map += c;
    }
    return map;
}

TEST(ContextModel, RandomTextsLieInTheSameContextsAsThePlainModelSays) {
    std::mt19937 rng(1209);
    const char* pieces[] = {"a", "b", " ", " ", "/*", "*/", "!/", "/", "*", "\"", "rem", "Rem ", "x"};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> pars(1 + rng() % 8);
        std::string all;
        for (size_t p = 0; p < pars.size(); ++p) {
            for (int n = static_cast<int>(rng() % 10); n > 0; --n)
                pars[p] += pieces[rng() % std::size(pieces)];
            all += (p ? "\r\n" : "") + pars[p];
        }
        test::HighlightFixture f(all);
        for (const ModelKey& k : kKeys)
            f.Hl.StartStopKeys().AddKey(k.Start, k.Stop, k.WholeWord ? koWholeWord : 0, 0, 1, 0, -1, -1,
                                        k.EndsAtLineEnd);
        f.HighlightAll();
        const std::vector<std::string> expected = ModelMaps(pars);
        for (size_t p = 0; p < pars.size(); ++p)
            ASSERT_EQ(EngineMap(f.List(), static_cast<int>(p)), expected[p]) << "paragraph " << p << " of:\n"
                                                                             << all;
    }
}

struct ModelKeyword {
    std::string Text;
    bool CaseSensitive, WholeWord;
};

const ModelKeyword kKeywords[] = {{"ab", false, false},
                                  {"aba", false, false},
                                  {"ba", true, true},
                                  {"b a", false, false},
                                  {"bb", true, false}};

// Keywords in list order, each searched from where its previous candidate ended; what one takes no
// later one can match.
std::string ModelKeywordMap(const std::string& raw) {
    std::string folded = raw;
    for (char& c : folded)
        c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    std::string map(raw.size(), '.');
    for (int j = 0; j < static_cast<int>(std::size(kKeywords)); ++j) {
        const ModelKeyword& k = kKeywords[j];
        std::string key = k.Text;
        if (!k.CaseSensitive)
            for (char& c : key)
                c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
        const std::string& text = k.CaseSensitive ? raw : folded;
        for (size_t i = 0; i + key.size() <= text.size();) {
            bool hit = text.compare(i, key.size(), key) == 0;
            for (size_t m = i; hit && m < i + key.size(); ++m)
                hit = map[m] == '.';
            if (!hit) {
                ++i;
                continue;
            }
            const bool whole = !k.WholeWord || ((i == 0 || Sep(raw[i - 1])) &&
                                                (i + key.size() == raw.size() || Sep(raw[i + key.size()])));
            if (whole)
                for (size_t m = i; m < i + key.size(); ++m)
                    map[m] = char('0' + j);
            i += key.size();
        }
    }
    return map;
}

TEST(KeywordModel, RandomParagraphsHaveTheSameKeywordsAsThePlainModelSays) {
    std::mt19937 rng(912);
    const char* pieces[] = {"a", "b", "A", "B", " ", "ab", "ba", "bb"};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        for (int n = static_cast<int>(rng() % 14); n > 0; --n)
            text += pieces[rng() % std::size(pieces)];
        test::HighlightFixture f(text);
        for (const ModelKeyword& k : kKeywords)
            f.Hl.Keywords().AddKeyWord(
                k.Text, (k.CaseSensitive ? koCaseSensitive : 0) | (k.WholeWord ? koWholeWord : 0), 0, 1, 0,
                -1, -1);
        f.HighlightAll();
        std::string map;
        for (int32_t i = 0; i < static_cast<int32_t>(text.size()); ++i) {
            const TDynInfo& r = StateAt(f.List().Par(0), i);
            map += HasContext(r) ? char('0' + r.Stack[r.Depth]) : '.';
        }
        ASSERT_EQ(map, ModelKeywordMap(text)) << "text [" << text << "]";
    }
}

} // namespace
} // namespace zandor
