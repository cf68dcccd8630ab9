// Keyword lists and start/stop keys from any strings, as a keyword file or a form holds them: the
// string and stored forms read back to the same lists, refolding keys in another letter case
// keeps them whole, and parsing a text with them, then editing it, gives the runs a fresh parse
// gives, inside a store whose invariants hold.
#include "FormatTestText.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "HighlightTestText.h"
#include "ReplaceTestText.h"
#include "StoreInvariants.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ReplaceRange.h"
#include "platform/PlatformErrors.h"

#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

std::vector<std::string> Lines(FuzzInput& in, int most) {
    std::vector<std::string> lines;
    for (int n = in.Range(0, most); n > 0; --n)
        lines.push_back(in.Bytes(40));
    return lines;
}

// Read into a fresh list as a form file gives it back, and written again, the same form. (Option
// bit 7 marks the form itself, so it is the one bit that form cannot keep.)
void CheckStoredKeywords(const TKeywordList& list) {
    TStoredList stored;
    list.WriteStrings(stored);
    TKeywordList back;
    back.ReadStrings(stored);
    TStoredList again;
    back.WriteStrings(again);
    FuzzCheck(again == stored, "keywords read from their stored form differ");
}

void CheckStoredKeys(const TStartStopKeyList& keys) {
    TStoredList stored;
    keys.WriteKeys(stored);
    TStartStopKeyList back;
    back.ReadKeys(stored);
    TStoredList again;
    back.WriteKeys(again);
    FuzzCheck(again == stored, "start/stop keys read from their stored form differ");
    FuzzCheck(back.MaxStartLen() == keys.MaxStartLen() && back.MaxStopLen() == keys.MaxStopLen(),
              "start/stop keys read back have other maxima");
}

// The folded copies are the keys' full length, folded by the list's rule.
void CheckFolded(const TStartStopKeyList& keys) {
    for (int i = 0; i < keys.Count(); ++i) {
        const StartStopInfo& k = keys.Key(i);
        const std::string start(k.StartText, static_cast<size_t>(k.StartLen));
        const std::string stop(k.StopText, static_cast<size_t>(k.StopLen));
        const bool exact = k.Options & koCaseSensitive;
        FuzzCheck(std::string(k.StartKey, static_cast<size_t>(k.StartLen)) ==
                      (exact ? start : UpperCased(keys.UpperCase(), start)),
                  "a start key is not folded whole");
        FuzzCheck(std::string(k.StopKey, static_cast<size_t>(k.StopLen)) ==
                      (exact ? stop : UpperCased(keys.UpperCase(), stop)),
                  "a stop key is not folded whole");
    }
}

void Configure(THighlighting& hl, const std::vector<std::string>& words, const std::vector<std::string>& keys,
               TamUpperCase kind) {
    try {
        hl.Keywords().LoadFromStrings(words);
    } catch (const platform::ConversionError&) {
    }
    try {
        hl.StartStopKeys().LoadFromStrings(keys);
    } catch (const platform::ConversionError&) {
    }
    hl.SetUpperCaseType(kind);
}

} // namespace

int FuzzKeywords(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const auto kind = static_cast<TamUpperCase>(in.Below(2)); // ASCII or ANSI folding
    const std::vector<std::string> words = Lines(in, 8);
    const std::vector<std::string> keys = Lines(in, 8);

    test::HighlightFixture f;
    Configure(f.Hl, words, keys, kind);
    TKeywordList& wordList = f.Hl.Keywords();
    TStartStopKeyList& keyList = f.Hl.StartStopKeys();

    // The string forms are stable once written.
    std::vector<std::string> saved, again;
    wordList.SaveToStrings(saved);
    TKeywordList wordsBack;
    try {
        wordsBack.LoadFromStrings(saved);
    } catch (const platform::ConversionError&) {
        FuzzFail("keywords written as strings do not read back");
    }
    wordsBack.SaveToStrings(again);
    FuzzCheck(again == saved, "keywords written as strings read back otherwise");
    keyList.SaveToStrings(saved);
    TStartStopKeyList keysBack;
    try {
        keysBack.LoadFromStrings(saved);
        keysBack.SaveToStrings(again);
        // A key holding "|" or "=" cannot keep its place in that form; the others must.
        bool plain = true;
        for (int i = 0; i < keyList.Count(); ++i)
            plain =
                plain &&
                std::string(keyList.Key(i).StartText, keyList.Key(i).StartLen).find_first_of("|=") ==
                    std::string::npos &&
                std::string(keyList.Key(i).StopText, keyList.Key(i).StopLen).find('=') == std::string::npos;
        if (plain)
            FuzzCheck(again == saved, "start/stop keys written as strings read back otherwise");
    } catch (const platform::ConversionError&) {
        FuzzFail("start/stop keys written as strings do not read back");
    }
    CheckStoredKeywords(wordList);
    CheckStoredKeys(keyList);
    CheckFolded(keyList);
    keyList.SetUpperCase(kind == amuAscii ? amuAnsi : amuAscii);
    CheckFolded(keyList);
    keyList.SetUpperCase(kind);

    // A text highlighted with them, then edited.
    test::LoadThroughStream(f.Core, in.Bytes(200));
    f.HighlightAll();
    const ::testing::AssertionResult held = test::StoreInvariantsHold(f.List());
    if (!held)
        FuzzFail(std::string("store invariants: ") + held.message());
    for (int step = 0; step < 4 && !in.Empty(); ++step) {
        const int32_t length = f.Core.CharCount();
        TArtNavigator s(&f.Core), e(&f.Core);
        s.SetPos(static_cast<int32_t>(in.Below(static_cast<uint32_t>(length) + 1)));
        e.SetPos(s.Pos() + static_cast<int32_t>(in.Below(8)));
        const std::string insert = in.Bytes(12);
        const std::string before = test::StoreText(f.List());
        const std::string edit = std::to_string(s.Pos()) + ".." + std::to_string(e.Pos()) + " of \"" +
                                 before + "\" by \"" + insert.c_str() + "\"";
        const TReplaceResult r = ReplaceText(f.Core, s, e, insert.c_str());
        f.Hl.AfterReplace(s, e, r.RunsRemoved, false);
        f.HighlightAll();
        test::HighlightFixture fresh;
        Configure(fresh.Hl, words, keys, kind);
        test::LoadThroughStream(fresh.Core, test::StoreText(f.List()));
        fresh.HighlightAll();
        const std::string diff = test::SnapshotDiff(test::Snapshot(fresh.List()), test::Snapshot(f.List()));
        if (!diff.empty())
            FuzzFail("highlighting after replacing " + edit + " differs from a fresh parse: " + diff);
    }
    return 0;
}

} // namespace zandor::fuzz
