// The find commands as a user meets them: the dialog's buttons, F3 and Ctrl+F3 walking through the
// occurrences, what is selected after each step, when "not found" is said, and how the repeat
// items are enabled and captioned along the way.
#include "commands/FindReplace.h"
#include "editor/control/ArtMemo.h"
#include "support/FakeHost.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zandor {
namespace {

class FindCommands : public ::testing::Test {
protected:
    void SetUp() override {
        memo = std::make_unique<TArtMemo>();
        host.Memo = memo.get();
        host.Parent = &parent;
        for (QAction*& item : items)
            item = new QAction(QStringLiteral("Find/Replace Next"), &parent);
        copy = new QAction(&parent);
        copy->setShortcut(QKeySequence::Copy);
        find =
            std::make_unique<TFindReplace>(host, TFindItems{items[0], items[1], items[2], items[3], {copy}},
                                           TFindSettings{&text, &replacement, &left, &top});
    }

    void Load(const std::string& bytes, const std::string& what, const std::string& with = {}) {
        memo->SetTextBuf(bytes.c_str());
        find->ReplaceDialog1->FindText->setText(QString::fromLatin1(what));
        find->ReplaceDialog1->ReplaceText->setText(QString::fromLatin1(with));
    }

    // The selection as "lower-upper", with "^" where the caret stands.
    std::string Selected() {
        const int32_t a = memo->SelStart(), b = a + memo->SelLength();
        return std::to_string(std::min(a, b)) + "-" + std::to_string(std::max(a, b)) + (a <= b ? "^" : "$");
    }
    // FindNext1, FindNext2, FindPrev1, FindPrev2 as 1 (enabled) and 0.
    std::string Items() {
        std::string s;
        for (QAction* item : items)
            s += item->isEnabled() ? '1' : '0';
        return s;
    }

    test::FakeHost host;
    QWidget parent;
    std::unique_ptr<TArtMemo> memo;
    QAction* items[4];
    QAction* copy = nullptr;
    std::string text, replacement;
    int32_t left = 0, top = 0;
    std::unique_ptr<TFindReplace> find;
};

TEST_F(FindCommands, F3AndCtrlF3WalkTheOccurrencesWithoutWrapping) {
    Load("ab x ab\r\nabab", "ab");
    find->ReplaceDialog1->Up->setChecked(true); // the dialog's Find Next ignores the direction
    find->ReplaceDialog1Find();
    EXPECT_EQ(Selected(), "0-2$"); // forward hits: caret at the end
    EXPECT_EQ(Items(), "1100");
    EXPECT_EQ(items[0]->text().toStdString(), "Find Next");
    for (const char* expected : {"5-7$", "9-11$", "11-13$"}) {
        find->FindNext1Click(false);
        EXPECT_EQ(Selected(), expected);
    }
    EXPECT_EQ(Items(), "1111");
    find->FindNext1Click(false);
    EXPECT_EQ(host.Messages.size(), 1u) << "no wrapping at the end";
    EXPECT_EQ(Selected(), "11-13$");
    // Backward hits have the caret at their start; the adjacent pair is found one by one.
    for (const char* expected : {"9-11^", "5-7^", "0-2^"}) {
        find->FindNext1Click(true);
        EXPECT_EQ(Selected(), expected);
    }
    find->FindNext1Click(true);
    EXPECT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages.back(), "The search text was not found.");

    Load("nothing here", "ab");
    find->ReplaceDialog1Find();
    EXPECT_EQ(Items(), "0000");
    EXPECT_EQ(Selected(), "0-0^");
}

TEST_F(FindCommands, ReplaceStartsAtTheBoundaryOfItsDirectionEveryTime) {
    Load("cat cat cat", "cat", "dog");
    find->ReplaceDialog1->Up->setChecked(true);
    find->ReplaceDialog1Replace(false);
    EXPECT_EQ(memo->Text(), "cat cat dog");
    EXPECT_TRUE(find->ReplaceMode());
    EXPECT_EQ(items[1]->text().toStdString(), "Replace Next");
    find->ReplaceDialog1->Down->setChecked(true);
    find->FindNext1Click(true); // Ctrl+F3 in replace mode replaces as F3 does
    EXPECT_EQ(memo->Text(), "dog cat dog");
    find->FindNext1Click(false);
    find->FindNext1Click(false);
    EXPECT_EQ(memo->Text(), "dog dog dog");
    EXPECT_EQ(Items().substr(0, 2), "00") << "the miss disables the repeat items";
    EXPECT_EQ(host.Messages.size(), 1u);

    // Replace All holding the search text, either way: each occurrence once, one undo step.
    for (const bool down : {true, false}) {
        Load("a.a.a", "a", "aa");
        find->ReplaceDialog1->Down->setChecked(down);
        find->ReplaceDialog1Replace(true);
        EXPECT_EQ(memo->Text(), "aa.aa.aa");
        memo->Undo();
        EXPECT_EQ(memo->Text(), "a.a.a");
    }
}

TEST_F(FindCommands, TheOpenDialogTakesTheClipboardKeysAndRemembersItsTexts) {
    text = "remembered";
    find->LoadSettings();
    find->Find1Click();
    EXPECT_EQ(find->ReplaceDialog1->FindText->text().toStdString(), "remembered");
    EXPECT_TRUE(copy->shortcut().isEmpty());
    find->ReplaceDialog1->FindText->setText(QStringLiteral("caf\u00e9"));
    find->PlaceDialog(130, 140);
    find->ReplaceDialog1->close();
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(text, "caf\xE9"); // kept in the code page of the text
    EXPECT_EQ(left, find->ReplaceDialog1->x());
}

} // namespace
} // namespace zandor
