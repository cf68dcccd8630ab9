// The Edit menu's text commands on an editor: each rewrite replaces the selection as one undo step
// and leaves the new text selected, column blocks are rewritten row by row, refused UTF-8 leaves the
// text alone with a message, Delete line takes the whole paragraph, Date/Time, and the character
// table with its remembered row and the codes that insert nothing.
#include "commands/EditCommands.h"
#include "commands/TextTransforms.h"
#include "editor/control/ArtMemo.h"
#include "platform/ScreenFonts.h"
#include "support/FakeHost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace zandor::test {
namespace {

class EditCommands : public ::testing::Test {
protected:
    EditCommands() {
        memo.resize(400, 300);
        memo.SetWordWrap(false);
        // Art in the screen font, as the main window shows it: every character one column wide.
        EXPECT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
        platform::FontValue font;
        font.Name = platform::LargeScreenFontFace;
        font.Height = 16;
        font.Charset = platform::OEM_CHARSET;
        memo.SetFont(font);
        host.Memo = &memo;
        memo.OnChange = [this](TArtMemo*) { ++changes; };
    }
    void SetText(const std::string& text) {
        memo.SetTextBuf(text.c_str());
        memo.ClearUndo();
        changes = 0;
    }

    TArtMemo memo;
    FakeHost host;
    int32_t selectedChar = -1;
    TEditCommands commands{host, selectedChar};
    int changes = 0;
};

struct Rewrite {
    const char* Name;
    void (TEditCommands::*Command)();
    std::string (*Expected)(std::string_view);
};

class EachRewrite : public EditCommands, public ::testing::WithParamInterface<Rewrite> {};

TEST_P(EachRewrite, ReplacesTheSelectionAsOneUndoStepAndKeepsItSelected) {
    // A selection made backwards, across a break, with letters, blanks and code-page bytes.
    const std::string before = "keep THIS  Caf\xE9\r\n\r\nand   that\xC4 tail";
    SetText(before);
    memo.Editor().Select(31, 5);
    const std::string selected = before.substr(5, 26);
    (commands.*GetParam().Command)();
    const std::string rewritten = GetParam().Expected(selected);
    EXPECT_EQ(before.substr(0, 5) + rewritten + before.substr(31), memo.Text());
    EXPECT_EQ(rewritten, memo.SelText());
    EXPECT_EQ(1, changes) << "one change event";
    memo.Undo();
    EXPECT_EQ(before, memo.Text());
    EXPECT_FALSE(memo.CanUndo()) << "one undo step";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EachRewrite,
    ::testing::Values(Rewrite{"Join", &TEditCommands::edit_format_joinClick, JoinedLines},
                      Rewrite{"Lower", &TEditCommands::edit_format_lowerClick, LowercasedText},
                      Rewrite{"Upper", &TEditCommands::edit_format_upperClick, UppercasedText},
                      Rewrite{"Capitalize", &TEditCommands::edit_format_capitalizeClick, CapitalizedText},
                      Rewrite{"ToUtf8", &TEditCommands::edit_format_toutf8Click,
                              // The memo shows the screen font: its bytes are code page 437's.
                              [](std::string_view t) { return CharsetToUtf8(t, platform::OemCharset); }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditCommands, Utf8BackToTheCodePageOrLeftAloneWithAMessage) {
    // In the screen font the bytes are code page 437's: box lines come back as its box bytes, and
    // the euro sign, which it lacks, as "?".
    SetText("a caf\xC3\xA9 \xE2\x82\xAC \xE2\x95\x90");
    memo.SelectAll();
    commands.edit_format_fromutf8Click();
    EXPECT_EQ("a caf\x82 ? \xCD", memo.Text());
    // In a font of the ANSI code page, Windows-1252's.
    platform::FontValue ansi = memo.Font();
    ansi.Name = "DejaVu Sans";
    ansi.Charset = platform::ANSI_CHARSET;
    memo.SetFont(ansi);
    SetText("a caf\xC3\xA9 \xE2\x82\xAC");
    memo.SelectAll();
    commands.edit_format_fromutf8Click();
    EXPECT_EQ("a caf\xE9 \x80", memo.Text());
    EXPECT_TRUE(host.Messages.empty());

    for (const std::string bad : {"cut off \xE2\x82", "art \xC9\xCD\xBB art"}) {
        SetText(bad);
        memo.SelectAll();
        commands.edit_format_fromutf8Click();
        EXPECT_EQ(bad, memo.Text());
        EXPECT_FALSE(memo.CanUndo());
        EXPECT_EQ(0, changes);
    }
    ASSERT_EQ(2u, host.Messages.size());
    EXPECT_EQ(0u, host.Messages[0].find("Unexpected end of sequence"));
    EXPECT_NE(std::string::npos, host.Messages[1].find("character 5"));
}

TEST_F(EditCommands, AColumnBlockIsRewrittenRowByRowAndStaysSelected) {
    const std::string before = "abc DEF ghi\r\nxyz UVW rst\r\nshort";
    SetText(before);
    memo.SelectBlock(4, 0, 2, 7);
    commands.edit_format_lowerClick();
    EXPECT_EQ("abc def ghi\r\nxyz uvw rst\r\nshort", memo.Text());
    EXPECT_TRUE(memo.BlockMode());
    memo.Undo();
    EXPECT_EQ(before, memo.Text()) << "every row in one step";
    EXPECT_FALSE(memo.CanUndo());

    memo.SelectBlock(4, 0, 2, 7);
    commands.edit_format_upperClick();
    EXPECT_EQ("abc DEF ghi\r\nxyz UVW rst\r\nshorT", memo.Text());
    memo.SelectBlock(4, 2, 0, 7);
    commands.edit_format_lowerClick();
    commands.edit_format_capitalizeClick();
    EXPECT_EQ("abc Def ghi\r\nxyz uvw rst\r\nshort", memo.Text()) << "only the block's first character";
}

TEST_F(EditCommands, DeleteLineTakesTheCaretsWholeParagraphAlsoWhenWrapped) {
    memo.show();
    memo.SetWordWrap(true);
    SetText("first\r\n" + std::string(300, 'w') + "\r\nlast");
    ASSERT_GT(memo.LineCount(), 3);
    memo.SetSelStart(7 + 250);
    commands.Deleteline1Click();
    EXPECT_EQ("first\r\nlast", memo.Text());
    memo.Undo();
    EXPECT_EQ(3, memo.ParagraphCount());
}

TEST_F(EditCommands, DateTimeReplacesTheSelectionAndShowsOnlyTheDateAtMidnight) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ("3/7/26 8:05:09 PM", DateTimeText(QDateTime(QDate(2026, 3, 7), QTime(20, 5, 9)), us));
    EXPECT_EQ("3/7/26", DateTimeText(QDateTime(QDate(2026, 3, 7), QTime(0, 0)), us));
    SetText("at NOW.");
    memo.Editor().Select(3, 6);
    commands.Now = [] { return QDateTime(QDate(2026, 12, 9), QTime(0, 0)); };
    commands.TimeDate1Click();
    EXPECT_EQ("at " + DateTimeText(commands.Now(), QLocale::system()) + ".", memo.Text());
}

// Runs the table and, once it shows, picks the row with the key given (Escape: nothing).
void PickInTable(TEditCommands& commands, bool showFont, int row, int key) {
    QTimer::singleShot(0, [&commands, row, key] {
        TASCIIForm* form = commands.ASCIIForm();
        if (!form || !form->isVisible()) {
            ADD_FAILURE() << "the table is not shown";
            return;
        }
        if (row >= 0)
            form->m->setCurrentItem(form->m->topLevelItem(row));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form->m, &press);
        if (form->isVisible())
            form->reject();
    });
    if (showFont)
        commands.options_showfontClick();
    else
        commands.edit_insertClick();
}

TEST_F(EditCommands, TheCharacterTableInsertsThePickedCodeAndRemembersItsRow) {
    SetText("ab\r\ncd");
    memo.SetSelStart(1);
    PickInTable(commands, false, 0xB0 - 1, Qt::Key_Return);
    EXPECT_EQ("a\xB0"
              "b\r\ncd",
              memo.Text());
    EXPECT_EQ(0xB0 - 1, selectedChar);
    const TASCIIForm& form = *commands.ASCIIForm();
    EXPECT_EQ(255, form.m->topLevelItemCount());
    EXPECT_EQ("09", form.m->topLevelItem(8)->text(0).toStdString());
    EXPECT_EQ("B0", form.m->topLevelItem(0xAF)->text(1).toStdString());
    EXPECT_EQ(QString(QChar(0x2591)), form.m->topLevelItem(0xAF)->text(2))
        << "drawn as the OEM font shows it";

    // The table opens on the remembered row; a tab goes in, breaks do not, Escape picks nothing.
    PickInTable(commands, false, -1, Qt::Key_Enter);
    EXPECT_EQ("a\xB0\xB0"
              "b\r\ncd",
              memo.Text());
    for (const int code : {10, 13}) {
        PickInTable(commands, false, code - 1, Qt::Key_Return);
        EXPECT_EQ("a\xB0\xB0"
                  "b\r\ncd",
                  memo.Text())
            << code;
    }
    PickInTable(commands, false, 8, Qt::Key_Return);
    EXPECT_EQ("a\xB0\xB0\tb\r\ncd", memo.Text());
    PickInTable(commands, false, 64, Qt::Key_Escape);
    EXPECT_EQ(0, commands.ASCIIForm()->ChosenCode);
    EXPECT_EQ(64, selectedChar) << "the row selected when it closed";

    PickInTable(commands, true, 65, Qt::Key_Return);
    EXPECT_EQ("a\xB0\xB0\tb\r\ncd", memo.Text()) << "looking at the font inserts nothing";
    EXPECT_EQ(QString::fromStdString(memo.Font().Name), commands.ASCIIForm()->windowTitle());
}

} // namespace
} // namespace zandor::test
