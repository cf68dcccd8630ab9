// The keyword highlight list: the file's lines, what applying the list does to the editor and the
// address looks, and the list window's life from opening to writing the file.
#include "keywords/HighlightList.h"

#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/KeywordList.h"
#include "keywords/HighlightListForm.h"
#include "support/FakeHost.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace zandor {
namespace {

struct SplitRow {
    std::string Bytes;
    std::vector<std::string> Lines;
};

class KeywordLines : public ::testing::TestWithParam<SplitRow> {};

TEST_P(KeywordLines, EveryBreakEndsALineAndTheLastBreakAddsNone) {
    EXPECT_EQ(SplitKeywordLines(GetParam().Bytes), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeywordLines,
                         ::testing::Values(SplitRow{"", {}}, SplitRow{"word", {"word"}},
                                           SplitRow{"word\r\n", {"word"}}, SplitRow{"\r\n", {""}},
                                           SplitRow{"a\r\n\r\n", {"a", ""}},
                                           SplitRow{"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                                           SplitRow{"a\n\rb", {"a", "", "b"}},
                                           SplitRow{" two words \r\nTwo", {" two words ", "Two"}}));

std::string ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// The words of the main editor's text that carry keyword runs, in text order.
std::vector<std::string> HighlightedWords(TArtMemo& memo) {
    memo.Core().Highlighting().HighlightUpTo(memo.ParagraphCount() - 1);
    std::vector<std::string> words;
    for (int p = 0; p < memo.ParagraphCount(); ++p) {
        const ParInfo& par = memo.Core().Paragraphs().Par(p);
        for (int i = 0; i < RunCount(par); ++i) {
            const TDynInfo& run = par.Extra->Runs[static_cast<size_t>(i)];
            if ((run.StyleFlags & sfContext) && run.Context == 1)
                words.push_back(memo.GetParagraph(p).substr(static_cast<size_t>(run.Offset),
                                                            static_cast<size_t>(run.StartLen)));
        }
    }
    return words;
}

class HighlightList : public ::testing::Test {
protected:
    void SetUp() override {
        host.Memo = &memo;
        memo.SetHighlighter(&urls);
        memo.SetHighlightColor(platform::clLime);
        memo.SetHighlightBackgnd(platform::clBlack);
        TMemoryStream text("www.site.org word Words two words news:x\r\nword w0rd");
        memo.LoadFromStream(text);
    }

    std::unique_ptr<THighlightList> MakeList(const std::string& file) {
        return std::make_unique<THighlightList>(host, urls, file, [this] { return highLight; });
    }

    test::ScratchDir dir;
    test::FakeHost host;
    TArtMemo memo;
    TURLHighlighter urls;
    bool highLight = true;
};

TEST_F(HighlightList, AppliedWordsAreWholeWordsOfAnyCaseAndTheSwitchTurnsThemOff) {
    const std::string file = dir.write("highlight.dat", "word\r\nTWO WORDS\r\n\r\nw0rd \r\nsite\r\n");
    auto list = MakeList(file);
    list->ApplyKeywordList();
    EXPECT_EQ(memo.Keywords().Count(), 5);
    // "site" lies inside an address; "w0rd " wants its blank, which the paragraph end lacks.
    EXPECT_EQ(HighlightedWords(memo), (std::vector<std::string>{"word", "two words", "word"}));

    highLight = false;
    list->ApplyKeywordList();
    EXPECT_EQ(memo.Keywords().Count(), 0);
    EXPECT_TRUE(HighlightedWords(memo).empty());
    memo.Core().Highlighting().HighlightUpTo(1);
    EXPECT_EQ(memo.Core().Paragraphs().Par(0).Extra->Runs[0].Context, urls.BaseContext() + 1)
        << "addresses keep their styles";
}

TEST_F(HighlightList, TheHighlightColoursGoToEveryAddressLookButNews) {
    auto list = MakeList(dir.file("missing.dat"));
    memo.SetHighlightColor(platform::clYellow);
    memo.SetHighlightBackgnd(platform::clNavy);
    list->ApplyKeywordList();
    EXPECT_EQ(memo.Keywords().Count(), 0);
    EXPECT_TRUE(host.Errors.empty() && host.Messages.empty());
    for (THighlightInfo* look : {&urls.WebURL(), &urls.EmailURL(), &urls.FileURL(), &urls.OtherURL()}) {
        EXPECT_EQ(look->Foreground(), platform::clYellow);
        EXPECT_EQ(look->Background(), platform::clNavy);
    }
    EXPECT_EQ(urls.NNTP_URL().Foreground(), platform::clRed);
    EXPECT_EQ(urls.NNTP_URL().Background(), -1);
    EXPECT_EQ(urls.OtherURL().Style(), platform::fsItalic);
    // The address runs in the editor show the new colours at once.
    memo.Core().Highlighting().HighlightUpTo(1);
    EXPECT_EQ(memo.Core().Paragraphs().Par(0).Extra->Runs[0].Foreground, platform::clYellow);
}

TEST_F(HighlightList, TheWindowLoadsTheFileAndClosingWritesItAndAppliesTheList) {
    const std::string file = dir.write("highlight.dat", "word\nlone");
    auto list = MakeList(file);
    list->ApplyKeywordList();
    list->Edithighlightlist1Click();
    Tf3* window = list->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    TArtMemo& words = window->Memo();
    EXPECT_EQ(words.Text(), "word\r\nlone");
    EXPECT_EQ(words.SelStart(), words.CharCount());

    words.SetSelText("\r\nwords");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&words, &escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadAll(file), "word\r\nlone\r\nwords");
    EXPECT_EQ(HighlightedWords(memo), (std::vector<std::string>{"word", "Words", "words", "word"}));

    // Shown again with the text as it was left; closing unchanged still writes the file.
    QFile::remove(QString::fromStdString(file));
    list->Edithighlightlist1Click();
    EXPECT_EQ(list->Window(), window);
    EXPECT_EQ(window->Memo().Text(), "word\r\nlone\r\nwords");
    window->close();
    EXPECT_EQ(ReadAll(file), "word\r\nlone\r\nwords");
}

TEST_F(HighlightList, AFailedWriteKeepsTheOldFileTheWindowAndItsWords) {
    const std::string blocker = dir.write("not-a-folder", "x");
    auto list = MakeList(blocker + "/highlight.dat");
    list->Edithighlightlist1Click();
    list->Window()->Memo().SetSelText("new");
    list->Window()->close();
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(host.Errors[0].Kind, TErrorBoxKind::Save);
    EXPECT_NE(host.Errors[0].Detail.find("highlight.dat"), std::string::npos);
    EXPECT_TRUE(list->Window()->isVisible());
    EXPECT_EQ(list->Window()->Memo().Text(), "new");
    EXPECT_EQ(memo.Keywords().Count(), 0) << "the list is not applied after a failed write";
}

TEST_F(HighlightList, EndingTheProgramWithTheWindowOpenLeavesTheFileAsItWas) {
    const std::string file = dir.write("highlight.dat", "old\r\n");
    auto list = MakeList(file);
    list->Edithighlightlist1Click();
    list->Window()->Memo().SetSelText("typed");
    list.reset();
    EXPECT_EQ(ReadAll(file), "old\r\n");
}

} // namespace
} // namespace zandor
