// The URL highlighter in an editor: which addresses get styled and how, what stays plain, the
// re-examination after typing, and what a click, a right click and a double click open.
#include "AddonsTestSupport.h"

#include "editor/addons/URLHighlighter.h"
#include "editor/addons/URLLauncher.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "support/OpenerLog.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <random>

namespace zandor {
namespace {

using test::AddressesOf;
using test::LoadText;
using test::TStyled;

// The addresses a reader sees in a line: each as its text and table row.
struct RecognitionRow {
    const char* Name;
    std::string Text;
    std::vector<std::pair<std::string, int>> Expected;
};

class Recognition : public ::testing::TestWithParam<RecognitionRow> {};

TEST_P(Recognition, StylesExactlyTheAddressesAReaderSees) {
    const RecognitionRow& row = GetParam();
    TArtMemo memo;
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    LoadText(memo, row.Text);
    std::vector<std::pair<std::string, int>> styled;
    for (const TStyled& s : AddressesOf(memo, urls))
        styled.emplace_back(
            row.Text.substr(static_cast<size_t>(s.Start), static_cast<size_t>(s.End - s.Start)), s.Row);
    EXPECT_EQ(styled, row.Expected);
    // The plain recognition rules agree with what the editor styled.
    std::vector<std::pair<std::string, int>> found;
    for (const TURLMatch& m : FindURLs(row.Text))
        found.emplace_back(
            row.Text.substr(static_cast<size_t>(m.Start), static_cast<size_t>(m.End - m.Start)), m.Row);
    EXPECT_EQ(found, row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Recognition,
    ::testing::Values(
        RecognitionRow{"FullStopAfterWww", "see WWW.example.com. Next", {{"WWW.example.com", 1}}},
        RecognitionRow{"Parentheses", "(http://a.b/c)", {{"http://a.b/c", 0}}},
        RecognitionRow{"AngleBrackets", "<www.x.org>", {{"www.x.org", 1}}},
        RecognitionRow{"Quotes", "say \"www.x.org\" or 'ftp.y.org'", {{"www.x.org", 1}, {"ftp.y.org", 7}}},
        RecognitionRow{"EmailBeforeSemicolon", "write joe.b@site.org; now", {{"joe.b@site.org", 3}}},
        RecognitionRow{"AtAtParagraphStart", "@home is where", {}},
        RecognitionRow{"AtAfterBlank", "a @b", {}}, RecognitionRow{"AtBeforeBlank", "a@ b", {}},
        RecognitionRow{"AtAtParagraphEnd", "end a@", {}}, RecognitionRow{"WwwWithoutDot", "WWW x", {}},
        RecognitionRow{"PrefixGluedToLetter", "xwww.foo.com", {}},
        RecognitionRow{"MixedCase", "hTtP://Mixed.case", {{"hTtP://Mixed.case", 0}}},
        RecognitionRow{"HttpsIsItsOwnRow", "HTTPS://secure.org", {{"HTTPS://secure.org", 14}}},
        RecognitionRow{"MailtoKeepsItsAt", "mailto:a@b.org", {{"mailto:a@b.org", 2}}},
        RecognitionRow{"TwoAddressesOneBlank", "www.a.com www.b.com", {{"www.a.com", 1}, {"www.b.com", 1}}},
        RecognitionRow{"PrefixWithNothingAfter", "http:// alone", {}},
        RecognitionRow{"TrailingPunctuationRun", "ftp://x.org/;.,", {{"ftp://x.org/", 6}}},
        RecognitionRow{"EveryOtherPrefix",
                       "news:a nntp://b gopher://c gopher.d telnet://e tn3270://f wais://g prospero://h "
                       "file:///i",
                       {{"news:a", 4},
                        {"nntp://b", 5},
                        {"gopher://c", 8},
                        {"gopher.d", 9},
                        {"telnet://e", 10},
                        {"tn3270://f", 11},
                        {"wais://g", 12},
                        {"prospero://h", 13},
                        {"file:///i", 15}}},
        RecognitionRow{"ArtFrameAround", "\xB3 www.grp.org \xB3", {{"www.grp.org", 1}}}),
    [](const ::testing::TestParamInfo<RecognitionRow>& info) { return std::string(info.param.Name); });

TEST(URLHighlighter, AddressRunsCarryTheLookAndContextOfTheirKind) {
    TArtMemo memo;
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    LoadText(memo, "HTTPS://a.org news:b x@y.org");
    const std::vector<TStyled> styled = AddressesOf(memo, urls);
    ASSERT_EQ(styled.size(), 3u);
    EXPECT_EQ(styled[0].Run.Context, 1024 + 14);
    EXPECT_EQ(styled[0].Run.Foreground, platform::clBlue);
    EXPECT_EQ(styled[0].Run.StyleFlags & 0x3F, platform::fsUnderline);
    EXPECT_EQ(styled[0].Run.Cursor, crHandPoint);
    EXPECT_EQ(styled[1].Run.Foreground, platform::clRed);
    EXPECT_EQ(styled[2].Run.Foreground, platform::clGreen);

    // A new look highlights again at once.
    urls.WebURL().SetForeground(platform::clMaroon);
    EXPECT_EQ(AddressesOf(memo, urls)[0].Run.Foreground, platform::clMaroon);
    EXPECT_EQ(AddressesOf(memo, urls)[1].Run.Foreground, platform::clRed);
}

TEST(URLHighlighter, TypingAfterTheTrailingFullStopTakesItIntoTheAddress) {
    TArtMemo memo;
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    LoadText(memo, "go WWW.x.com. now");
    ASSERT_EQ(AddressesOf(memo, urls).size(), 1u);
    EXPECT_EQ(AddressesOf(memo, urls)[0].End, 12);
    memo.SetSelStart(13);
    memo.SetSelText("y");
    const std::vector<TStyled> styled = AddressesOf(memo, urls);
    ASSERT_EQ(styled.size(), 1u);
    EXPECT_EQ(styled[0].Start, 3);
    EXPECT_EQ(styled[0].End, 14); // "WWW.x.com.y"
    // Typing a blank inside splits it again.
    memo.SetSelStart(8);
    memo.SetSelText(" ");
    ASSERT_EQ(AddressesOf(memo, urls).size(), 1u);
    EXPECT_EQ(AddressesOf(memo, urls)[0].End, 8);
}

TEST(URLHighlighter, AnOverlongAddressIsStyledOverItsFirst65535Characters) {
    TArtMemo memo;
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    LoadText(memo, "http://" + std::string(70000, 'a') + " end");
    const std::vector<TStyled> styled = AddressesOf(memo, urls);
    ASSERT_EQ(styled.size(), 1u);
    EXPECT_EQ(styled[0].Start, 0);
    EXPECT_EQ(styled[0].End, 65535);
}

TEST(URLHighlighter, ScopePriorityAndTheUrlEventDecideInsideOtherContexts) {
    TArtMemo memo;
    memo.StartStopKeys().AddKey("[", "]", 0, 0, 7, 0, -1, -1, false);
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    LoadText(memo, "http://a[b]c and [ www.in.side ]");
    EXPECT_TRUE(AddressesOf(memo, urls).empty()) << "crosses a key run; the other is in context 7";

    urls.SetScope(7);
    ASSERT_EQ(AddressesOf(memo, urls).size(), 1u);
    EXPECT_EQ(AddressesOf(memo, urls)[0].Start, 19);

    urls.SetScope(0);
    urls.SetPriority(true);
    const std::vector<TStyled> both = AddressesOf(memo, urls);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].End, 12); // across the key run
    EXPECT_EQ(both[1].End, 30);

    std::vector<std::pair<int, TURLType>> asked;
    urls.OnURL = [&](TURLHighlighter*, int16_t context, TURLType type) {
        asked.emplace_back(context, type);
        return type == urlWeb && context == 7;
    };
    urls.Rehighlight();
    ASSERT_EQ(AddressesOf(memo, urls).size(), 1u);
    EXPECT_EQ(AddressesOf(memo, urls)[0].Start, 19);
    EXPECT_EQ(asked, (std::vector<std::pair<int, TURLType>>{{0, urlWeb}, {7, urlWeb}}));
}

// Random texts of address pieces, edited one character at a time: after every edit the styled
// addresses are those the recognition rules find in the text as it now stands.
TEST(URLHighlighter, EditsKeepTheStyledAddressesThoseOfTheText) {
    const char* pieces[] = {"www.", "http://", "@", "ftp.", "mailto:", "a",    "b.c",   " ",  ".",   ";",
                            ",",    "(",       ")", "\"",   "x",       "\r\n", "news:", "\t", "WWW", "q@r"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 20; ++round) {
        std::string text;
        for (int k = 0; k < 40; ++k)
            text += pieces[random() % std::size(pieces)];
        TArtMemo memo;
        TURLHighlighter urls;
        memo.SetHighlighter(&urls);
        LoadText(memo, text);
        for (int edit = 0; edit < 30; ++edit) {
            (void)AddressesOf(memo, urls);
            const int32_t at = static_cast<int32_t>(random() % static_cast<unsigned>(memo.CharCount() + 1));
            memo.SetSelStart(at);
            const uint8_t here = at < memo.CharCount() ? memo.CharAt(at) : '\r';
            if (random() % 3 == 0 && here != '\r' && here != '\n') {
                memo.SetSelLength(1);
                memo.SetSelText("");
            } else {
                std::string piece = pieces[random() % std::size(pieces)];
                memo.SetSelText(piece == "\r\n" ? piece : piece.substr(0, 1));
            }
            std::vector<TStyled> expected;
            for (int p = 0; p < memo.ParagraphCount(); ++p)
                for (const TURLMatch& m : FindURLs(memo.GetParagraph(p)))
                    expected.push_back({p, m.Start, m.End, m.Row, {}});
            ASSERT_EQ(AddressesOf(memo, urls), expected) << "round " << round << " edit " << edit;
        }
    }
}

// ---- clicks -------------------------------------------------------------------------------------------

class Clicks : public ::testing::Test {
protected:
    void SetUp() override {
        memo.resize(600, 200);
        memo.SetHighlighter(&urls);
        memo.show();
        memo.HandleNeeded();
    }

    void Show(std::string_view text) {
        LoadText(memo, text);
        (void)AddressesOf(memo, urls);
    }

    // The middle of the character at pos, in the text area's pixels.
    QPoint PointOf(int32_t pos) {
        TArtNavigator nav(&memo.Core());
        nav.SetPos(pos);
        const int x0 = nav.GetX();
        nav.SetPos(pos + 1);
        return {(x0 + nav.GetX()) / 2, nav.GetY() + memo.LinePixels() / 2};
    }

    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, memo.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(memo.viewport(), &event);
    }

    void Click(int32_t pos, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, button, PointOf(pos));
        Send(QEvent::MouseButtonRelease, button, PointOf(pos));
    }

    // What the framework delivers for a double click: the second press comes before its
    // double-click event.
    void DoubleClick(int32_t pos) {
        Click(pos);
        Send(QEvent::MouseButtonPress, Qt::LeftButton, PointOf(pos));
        Send(QEvent::MouseButtonDblClick, Qt::LeftButton, PointOf(pos));
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, PointOf(pos));
    }

    std::vector<std::string> Opened() const {
        std::vector<std::string> opened;
        for (const QUrl& url : log.Opened)
            opened.push_back(url.toString().toStdString());
        return opened;
    }

    test::OpenerLog log;
    TArtMemo memo;
    TURLHighlighter urls;
};

TEST_F(Clicks, AClickOpensTheAddressWithThePrefixItsKindNeeds) {
    Show("joe@site.org; ftp.x.org gopher.y.org www.z.org news:a.b HTTPS://s.org/a?b=c plain");
    for (int32_t pos : {2, 16, 28, 40, 50, 60, 78})
        Click(pos);
    EXPECT_EQ(Opened(),
              (std::vector<std::string>{"mailto:joe@site.org", "ftp://ftp.x.org", "gopher://gopher.y.org",
                                        "http://www.z.org", "news:a.b", "https://s.org/a?b=c"}));
}

TEST_F(Clicks, RightReleaseOpensAndAMovedPressOpensNothing) {
    Show("x www.a.org y");
    Click(5, Qt::RightButton);
    EXPECT_EQ(Opened(), std::vector<std::string>{"http://www.a.org"});
    Send(QEvent::MouseButtonPress, Qt::LeftButton, PointOf(3));
    Send(QEvent::MouseMove, Qt::LeftButton, PointOf(7));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, PointOf(7));
    EXPECT_EQ(Opened().size(), 1u);

    urls.SetLaunchURLs(false);
    Click(5);
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(Clicks, WithDoubleClickLaunchOnlyADoubleClickOpensAndLeavesTheCaretThere) {
    urls.SetDblClickLaunch(true);
    Show("see www.a.org now");
    Click(8);
    EXPECT_TRUE(Opened().empty());
    EXPECT_FALSE(urls.PendingURL().empty());
    // Typing in between cancels the waiting address.
    memo.SetSelStart(0);
    memo.SetSelText("x");
    EXPECT_TRUE(urls.PendingURL().empty());

    DoubleClick(9);
    EXPECT_EQ(Opened(), std::vector<std::string>{"http://www.a.org"});
    EXPECT_EQ(memo.SelStart(), memo.MouseNavigator().Pos());
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_TRUE(urls.PendingURL().empty());
    EXPECT_FALSE(memo.MessageHooks().Contains(&urls));
}

TEST_F(Clicks, TheLaunchEventMayChangeOrVetoTheAddress) {
    Show("www.a.org www.b.org");
    urls.OnURLLaunch = [](TURLHighlighter*, std::string& url) {
        if (url.find('b') != std::string::npos)
            return false;
        url = "https://mirror.org/" + url;
        return true;
    };
    Click(2);
    Click(12);
    EXPECT_EQ(Opened(), std::vector<std::string>{"https://mirror.org/www.a.org"});
}

TEST(URLHighlighterLife, DestroyingTheHighlighterLeavesTheEditorsSinkLists) {
    TArtMemo memo;
    auto urls = std::make_unique<TURLHighlighter>();
    memo.SetHighlighter(urls.get());
    LoadText(memo, "www.a.org");
    (void)AddressesOf(memo, *urls);
    ASSERT_TRUE(memo.EventSinks().Contains(urls.get()));
    memo.SetHighlighter(nullptr);
    urls.reset();
    EXPECT_TRUE(memo.EventSinks().Empty());
    memo.SetSelText("x"); // notifies the sinks
}

} // namespace
} // namespace zandor
