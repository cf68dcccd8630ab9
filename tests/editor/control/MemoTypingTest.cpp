// Typed text in the editor control: characters come as Unicode and are stored as bytes of the
// font's character set; input methods type the same way; the application's key events come first;
// Shift+Alt swallows the next character; a held key is painted at once.
#include "InputTestSupport.h"

#include <QInputMethodEvent>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::InputTest;

struct TCharRow {
    const char* Name;
    char16_t Typed;
    uint8_t Charset;
    const char* Stored; // empty: nothing is typed
};

class TypedCharacters : public InputTest, public ::testing::WithParamInterface<TCharRow> {};

TEST_P(TypedCharacters, AreStoredAsTheFontCharacterSetsByte) {
    const TCharRow& row = GetParam();
    platform::FontValue font = memo->Font();
    font.Charset = row.Charset;
    memo->SetFont(font);
    Load("a|b");
    // As a key of a keyboard layout without a key code of its own, and through an input method.
    KeyWithText(0, Qt::NoModifier, QString(QChar(row.Typed)));
    EXPECT_EQ(memo->Text(), std::string("a") + row.Stored + "b");
    QInputMethodEvent commit;
    commit.setCommitString(QString(QChar(row.Typed)));
    QCoreApplication::sendEvent(memo.get(), &commit);
    EXPECT_EQ(memo->Text(), std::string("a") + row.Stored + row.Stored + "b");
}

constexpr uint8_t kOem = platform::OEM_CHARSET;
constexpr uint8_t kAnsi = platform::ANSI_CHARSET;

INSTANTIATE_TEST_SUITE_P(
    InputTest, TypedCharacters,
    ::testing::Values(TCharRow{"EAcuteInTheScreenFont", u'\u00E9', kOem, "\x82"},
                      TCharRow{"EAcuteInAnAnsiFont", u'\u00E9', kAnsi, "\xE9"},
                      TCharRow{"ShadeInTheScreenFont", u'\u2591', kOem, "\xB0"},
                      TCharRow{"ShadeHasNoAnsiByte", u'\u2591', kAnsi, ""},
                      TCharRow{"EuroHasNoScreenFontByte", u'\u20AC', kOem, ""},
                      TCharRow{"EuroInAnAnsiFont", u'\u20AC', kAnsi, "\x80"},
                      // A graphic of the screen font whose byte is a control code is text, not Ctrl+A.
                      TCharRow{"SmileyInTheScreenFontIsText", u'\u263A', kOem, "\x01"},
                      TCharRow{"HanCharacterHasNoByteAnywhere", u'\u4E2D', kOem, ""},
                      TCharRow{"SharpSInTheScreenFont", u'\u00DF', kOem, "\xE1"},
                      TCharRow{"SharpSInAnAnsiFont", u'\u00DF', kAnsi, "\xDF"}),
    [](const ::testing::TestParamInfo<TCharRow>& info) { return std::string(info.param.Name); });

TEST_F(InputTest, AnInputMethodCommitTypesEveryCharacterAsOneUndoStep) {
    Load("|");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("na\u00EFve"));
    QCoreApplication::sendEvent(memo.get(), &commit);
    EXPECT_EQ(State(), "na\x8Bve|");
    memo->Undo();
    EXPECT_EQ(State(), "|");
}

TEST_F(InputTest, ApplicationKeyEventsComeFirstAndMayCancelOrChangeTheKey) {
    Load("a|b");
    std::vector<std::string> seen;
    memo->OnKeyDown = [&](TArtMemo*, int& key, Qt::KeyboardModifiers) {
        seen.push_back("down " + std::to_string(key));
        if (key == Qt::Key_Q)
            key = 0;
    };
    memo->OnKeyPress = [&](TArtMemo*, char& ch) {
        seen.push_back(std::string("press ") + ch);
        if (ch == 'x')
            ch = 'y';
        else if (ch == 'z')
            ch = 0;
    };
    Key(Qt::Key_Q);
    Key(Qt::Key_X);
    Key(Qt::Key_Z);
    EXPECT_EQ(State(), "ay|b");
    EXPECT_EQ(seen, (std::vector<std::string>{"down " + std::to_string(Qt::Key_Q),
                                              "down " + std::to_string(Qt::Key_X), "press x",
                                              "down " + std::to_string(Qt::Key_Z), "press z"}));
}

TEST_F(InputTest, KeysAtTheEdgesOfTheTextGoToTheApplicationOnceMore) {
    Load("|ab\ncd");
    std::vector<int> keys;
    memo->OnKeyDown = [&](TArtMemo*, int& key, Qt::KeyboardModifiers) { keys.push_back(key); };
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up}));
    keys.clear();
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Right, Qt::Key_Down}));
}

TEST_F(InputTest, ShiftAltDownStartsABlockAndSwallowsTheNextCharacter) {
    memo->SetOptions(kDefaultArtMemoOptions.With(amoBlockSelection));
    Load("ab|cd\nefgh\nijkl");
    Key(Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier);
    ASSERT_TRUE(memo->BlockMode());
    EXPECT_EQ(memo->Selection().BlockAnchorColumn(), 2);
    EXPECT_EQ(memo->Selection().BlockColumn(), 2);
    EXPECT_EQ(State(), "ab^cd\nef|gh\nijkl");
    Key(Qt::Key_Right, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(memo->Selection().BlockColumn(), 3);
    EXPECT_EQ(memo->SelText(), "c\r\ng\r\n");
    // The character that comes while Alt is still down is swallowed; the next one types over the block.
    QInputMethodEvent first;
    first.setCommitString(QStringLiteral("x"));
    QCoreApplication::sendEvent(memo.get(), &first);
    EXPECT_EQ(memo->Text(), "abcd\r\nefgh\r\nijkl");
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::ShiftModifier);
    QCoreApplication::sendEvent(memo.get(), &altUp);
    Key(Qt::Key_Y);
    EXPECT_FALSE(memo->BlockMode());
    EXPECT_EQ(memo->Text(), "abd\r\nefyh\r\nijkl");
}

TEST_F(InputTest, ShiftAltArrowsMoveOnlyWhereBlocksAreAllowed) {
    for (const bool wrap : {false, true}) {
        memo->SetWordWrap(wrap);
        memo->SetOptions(wrap ? kDefaultArtMemoOptions.With(amoBlockSelection) : kDefaultArtMemoOptions);
        Load("ab|cd\nefgh");
        Key(Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier);
        EXPECT_FALSE(memo->BlockMode()) << wrap;
        EXPECT_EQ(State(), "ab|cd\nefgh") << wrap;
    }
}

// Every editing path of a read-only control does nothing; copying still works, and so does moving.
TEST_F(InputTest, ReadOnlyKeepsTheTextButCopies) {
    memo->SetReadOnly(true);
    memo->SetOptions(kDefaultArtMemoOptions.With(amoSmartTabs).With(amoAutoIndent));
    Load("a^bc|\nd");
    for (const auto& [key, mods] :
         std::vector<std::pair<int, Qt::KeyboardModifiers>>{{Qt::Key_X, Qt::NoModifier},
                                                            {Qt::Key_Return, Qt::NoModifier},
                                                            {Qt::Key_Tab, Qt::NoModifier},
                                                            {Qt::Key_Backspace, Qt::NoModifier},
                                                            {Qt::Key_Delete, Qt::NoModifier},
                                                            {Qt::Key_Backspace, Qt::ControlModifier},
                                                            {Qt::Key_Delete, Qt::ControlModifier},
                                                            {Qt::Key_Delete, Qt::ShiftModifier},
                                                            {Qt::Key_V, Qt::ControlModifier},
                                                            {Qt::Key_X, Qt::ControlModifier},
                                                            {Qt::Key_P, Qt::ControlModifier},
                                                            {Qt::Key_T, Qt::ControlModifier},
                                                            {Qt::Key_Z, Qt::ControlModifier},
                                                            {Qt::Key_A, Qt::ControlModifier},
                                                            {Qt::Key_C, Qt::ControlModifier},
                                                            {Qt::Key_Insert, Qt::ControlModifier}})
        Key(key, mods);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("typed"));
    QCoreApplication::sendEvent(memo.get(), &commit);
    EXPECT_EQ(State(), "a^bc|\nd");
    EXPECT_EQ(memo->Calls, (std::vector<std::string>{"copy", "copy"}));
    // Shift+Insert on a read-only control only switches overwrite mode.
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_TRUE(memo->Overwrite());
    EXPECT_EQ(memo->Calls.size(), 2u);
    Key(Qt::Key_Right);
    EXPECT_EQ(State(), "abc\n|d");
}

TEST_F(InputTest, ClipboardKeysAskTheControlsClipboardOperations) {
    Load("a^bc|");
    for (const auto& [key, mods] :
         std::vector<std::pair<int, Qt::KeyboardModifiers>>{{Qt::Key_C, Qt::ControlModifier},
                                                            {Qt::Key_Insert, Qt::ControlModifier},
                                                            {Qt::Key_X, Qt::ControlModifier},
                                                            {Qt::Key_Delete, Qt::ShiftModifier},
                                                            {Qt::Key_V, Qt::ControlModifier},
                                                            {Qt::Key_Insert, Qt::ShiftModifier}})
        Key(key, mods);
    EXPECT_EQ(memo->Calls, (std::vector<std::string>{"copy", "copy", "cut", "cut", "paste", "paste"}));
}

TEST_F(InputTest, InsertSwitchesOverwriteWhenTheKeyIsActive) {
    int styleChanges = 0;
    memo->OnStyleChange = [&](TArtMemo*) { ++styleChanges; };
    Load("a|b");
    Key(Qt::Key_Insert);
    EXPECT_TRUE(memo->Overwrite());
    EXPECT_EQ(styleChanges, 1);
    Key(Qt::Key_Insert);
    EXPECT_FALSE(memo->Overwrite());
    memo->SetOptions(kDefaultArtMemoOptions.Without(amoInsertKeyActive));
    Key(Qt::Key_Insert);
    EXPECT_FALSE(memo->Overwrite());
    EXPECT_EQ(styleChanges, 2);
}

// Without a key-up between them (a held key) typed characters are painted at once; after a
// key-up one character waits for the event loop.
TEST_F(InputTest, AHeldKeyPaintsEveryCharacterAtOnce) {
    struct TPaintCounter : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            Paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    memo->viewport()->installEventFilter(&counter);
    Load("|");
    QCoreApplication::processEvents();
    const auto press = [&](Qt::Key key, const char* text, bool autoRepeat) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text), autoRepeat);
        QCoreApplication::sendEvent(memo.get(), &e);
    };
    const auto release = [&](Qt::Key key, const char* text) {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromLatin1(text));
        QCoreApplication::sendEvent(memo.get(), &e);
    };
    const int before = counter.Paints;
    press(Qt::Key_X, "x", false);
    EXPECT_EQ(counter.Paints, before + 1);
    release(Qt::Key_X, "x");
    press(Qt::Key_Y, "y", false);
    EXPECT_EQ(counter.Paints, before + 1) << "after a key-up the character waits";
    QCoreApplication::processEvents();
    const int painted = counter.Paints;
    for (int i = 0; i < 3; ++i) {
        press(Qt::Key_Y, "y", true);
        EXPECT_EQ(counter.Paints, painted + i + 1);
        // The window system's releases between repeats are no key-up.
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"), true);
        QCoreApplication::sendEvent(memo.get(), &repeatUp);
    }
    EXPECT_EQ(memo->Text(), "xyyyy");
}

} // namespace
} // namespace zandor
