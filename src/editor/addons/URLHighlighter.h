// The URL highlighter: finds web, e-mail, news, file and other Internet addresses in an editor's
// text, gives each the look of its kind with a context number and a cursor, and opens the address
// the user clicks (or double-clicks) with the desktop.
#pragma once

#include "editor/addons/HighlightInfo.h"
#include "editor/engine/ArtHighlighter.h"
#include "editor/engine/ParagraphsList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

class TArtMemo;
struct ParInfo;

enum TURLType : uint8_t { urlWeb, urlEmail, urlNNTP, urlFile, urlOther };

// One row of the address table: the prefix in upper case, its kind, and whether it must begin a
// word. The row index is the address's sub-kind and picks its context number.
struct TURLRecord {
    std::string_view Prefix;
    TURLType Type;
    bool WordStart;
};

inline constexpr int kURLRows = 16;
extern const std::array<TURLRecord, kURLRows> URLRecord;
// The length of the longest prefix.
extern const int MaxPrefix;

// Whether c ends an address: TAB, blank, double quote, apostrophe, parentheses, angle brackets.
inline bool IsURLDelimiter(char c) {
    switch (c) {
    case '\t':
    case ' ':
    case '"':
    case '\'':
    case '(':
    case ')':
    case '<':
    case '>':
        return true;
    default:
        return false;
    }
}

// An address found in a paragraph: [Start, End), its table row and where its prefix stands.
struct TURLMatch {
    int32_t Start;
    int32_t End;
    int Row;
    int32_t PrefixAt;
};

// The addresses of one paragraph text as a reader sees them, with no runs in the way and every
// address accepted: the recognition rules alone (tests and the benchmark compare against it).
// examined: where to leave the number of bytes the scan read.
std::vector<TURLMatch> FindURLs(std::string_view text, int64_t* examined = nullptr);

// Owns its five looks. Refers to the editors it is attached to (through the base) and to the ones
// whose sink lists it joined, which it leaves when it is destroyed.
class TURLHighlighter : public TArtHighlighter {
public:
    using TURLEvent = std::function<bool(TURLHighlighter* sender, int16_t currentContext, TURLType urlType)>;
    using TURLLaunchEvent = std::function<bool(TURLHighlighter* sender, std::string& url)>;
    // Opens an address; the default hands it to TURLLauncher.
    using TOpener = std::function<void(const std::string& url)>;

    TURLHighlighter();
    ~TURLHighlighter() override;

    int BaseContext() const { return FBaseContext; }
    void SetBaseContext(int value) { FBaseContext = value; }
    THighlightInfo& WebURL() { return FLooks[urlWeb]; }
    THighlightInfo& EmailURL() { return FLooks[urlEmail]; }
    THighlightInfo& NNTP_URL() { return FLooks[urlNNTP]; }
    THighlightInfo& FileURL() { return FLooks[urlFile]; }
    THighlightInfo& OtherURL() { return FLooks[urlOther]; }
    void SetWebURL(const THighlightInfo& value) { WebURL().Assign(value); }
    void SetEmailURL(const THighlightInfo& value) { EmailURL().Assign(value); }
    void SetNNTP_URL(const THighlightInfo& value) { NNTP_URL().Assign(value); }
    void SetFileURL(const THighlightInfo& value) { FileURL().Assign(value); }
    void SetOtherURL(const THighlightInfo& value) { OtherURL().Assign(value); }
    bool LaunchURLs() const { return FLaunchURLs; }
    void SetLaunchURLs(bool value) { FLaunchURLs = value; }
    bool DblClickLaunch() const { return FDblClickLaunch; }
    void SetDblClickLaunch(bool value) { FDblClickLaunch = value; }
    // The context in which addresses are recognised (0: outside every context).
    int Scope() const { return FScope; }
    void SetScope(int value);
    // Addresses are recognised whatever the context, and across runs already there.
    bool Priority() const { return FPriority; }
    void SetPriority(bool value);

    TURLEvent OnURL;
    TURLLaunchEvent OnURLLaunch;
    TOpener Opener;

    // Highlights every attached editor again (a look, the scope or the priority changed).
    void Rehighlight();
    // Opens the address a click left waiting.
    void OpenPendingURL();
    const std::string& PendingURL() const { return FPendingURL; }

    // The bytes this highlighter's scans have read since it was made: tests compare it with the
    // length of the text scanned.
    int64_t Examined() const { return FExamined; }

    void ApplyHighlight(TArtNavigator& start, TArtNavigator& stop, int32_t keywordCount) override;
    bool ApplyHighlightToPar(TArtMemoCore& memo, int p, int32_t keywordCount) override;
    // Two runs for each address the paragraph holds.
    int32_t RunsToAdd(TArtMemoCore& memo, int p) override;
    // Addresses are styled as runs of their own; no context is ever opened by the parser.
    bool OpensContexts() const override { return false; }
    void Notify(TArtMemoCore* sender, int32_t codes) override;

protected:
    // Whether an address that no run begins in gets its runs written directly (else through the
    // general run application, which gives the same runs).
    bool FPlaceDirectly = true;

private:
    // Styles the addresses that reach into [s, e) of paragraph p.
    // found: the addresses RunsToAdd just found in the whole paragraph, or null to scan.
    void HighlightRange(TArtMemoCore& memo, int p, int32_t s, int32_t e, int32_t keywordCount,
                        const std::vector<TURLMatch>* found);
    bool ContinuesAddress(ParInfo& par, int32_t& start, int32_t keywordCount);
    bool StyleAddress(TArtMemoCore& memo, int p, const TURLMatch& match, int32_t keywordCount);
    void Clicked(TArtMemo& memo);
    void Message(TArtMemo& memo);
    void CancelPending();
    void JoinSinks(TArtMemo& memo, bool hooks);

    int FBaseContext = 1024;
    std::array<THighlightInfo, 5> FLooks;
    bool FLaunchURLs = true;
    bool FDblClickLaunch = false;
    int FScope = 0;
    bool FPriority = false;

    std::string FPendingURL;
    bool FDoubleClickSeen = false;
    TArtMemoCore* FPendingCore = nullptr;
    TArtMemoCore* FLastMemo = nullptr;
    // The cores whose sink lists this highlighter joined; looked up among the live controls when
    // it leaves them, so a control destroyed meanwhile is simply skipped.
    std::vector<TArtMemoCore*> FJoined;
    // What RunsToAdd found, kept for the ApplyHighlightToPar that follows it on the same text.
    struct FoundIn {
        const TArtMemoCore* Memo = nullptr;
        int Par = -1;
        const char* Text = nullptr;
        int32_t Length = -1;
        bool operator==(const FoundIn&) const = default;
    };
    std::vector<TURLMatch> FFound;
    FoundIn FFoundIn;
    // The runs after the address being styled.
    TRunArray FAside;
    int64_t FExamined = 0;
};

} // namespace zandor
