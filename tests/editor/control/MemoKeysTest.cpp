// The keys of the editor control, row by row: a text with its caret and selection, the keys
// pressed (real key events sent to the widget), and the text, caret, selection and pending blanks
// they leave. The expected states are worked out from what each key is meant to do.
#include "InputTestSupport.h"

#include "editor/engine/ArtNavigator.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::InputTest;

struct TPress {
    int Key;
    Qt::KeyboardModifiers Mods = Qt::NoModifier;
};

// What a row sets besides the options.
enum TSetup : unsigned {
    kPlain = 0,
    kStatic = 1,    // StaticFormat: bytes 1, 2, 3, 4 and 21 are format codes
    kOverwrite = 2, // Overwrite mode
    kNoHotKeys = 4, // EnableHotKeys off
    kWrap = 8,      // WordWrap on
};

struct TKeyRow {
    const char* Name;
    TArtMemoOptions Options;
    unsigned Setup;
    const char* Before;
    std::vector<TPress> Keys;
    const char* After;
};

constexpr Qt::KeyboardModifiers S = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers C = Qt::ControlModifier;
const Qt::KeyboardModifiers CS = Qt::ControlModifier | Qt::ShiftModifier;
constexpr TArtMemoOptions D = kDefaultArtMemoOptions;
// Columns kept beyond line ends, without the caret wrapping and without blanks typed for them.
constexpr TArtMemoOptions kKeepColumns{amoKeepColumnPos};

class Keys : public InputTest, public ::testing::WithParamInterface<TKeyRow> {};

TEST_P(Keys, LeaveTheTextCaretAndSelectionTheyAreMeantTo) {
    const TKeyRow& row = GetParam();
    memo->SetOptions(row.Options);
    memo->SetStaticFormat(row.Setup & kStatic);
    memo->SetOverwrite(row.Setup & kOverwrite);
    memo->SetEnableHotKeys(!(row.Setup & kNoHotKeys));
    memo->SetWordWrap(row.Setup & kWrap);
    Load(row.Before);
    for (const TPress& press : row.Keys)
        Key(press.Key, press.Mods);
    EXPECT_EQ(State(), row.After);
    memo->CheckConsistency();
}

std::string RowName(const ::testing::TestParamInfo<TKeyRow>& info) {
    return info.param.Name;
}

// ---- Left and Right
INSTANTIATE_TEST_SUITE_P(
    LeftRight, Keys,
    ::testing::Values(
        TKeyRow{"LeftMovesOneCharacter", D, kPlain, "ab|c", {{Qt::Key_Left}}, "a|bc"},
        TKeyRow{"ShiftLeftSelectsBack", D, kPlain, "ab|c", {{Qt::Key_Left, S}}, "a|b^c"},
        TKeyRow{"LeftDropsTheSelectionFirst", D, kPlain, "a^bc|", {{Qt::Key_Left}}, "ab|c"},
        TKeyRow{"LeftFromAParagraphStartGoesOverTheBreak", D, kPlain, "ab\n|cd", {{Qt::Key_Left}}, "ab|\ncd"},
        TKeyRow{"ShiftLeftFromAParagraphStartSelectsTheBreak",
                D,
                kPlain,
                "ab\n|cd",
                {{Qt::Key_Left, S}},
                "ab|\n^cd"},
        TKeyRow{"LeftAtTheTextStartStays", D, kPlain, "|ab", {{Qt::Key_Left}}, "|ab"},
        TKeyRow{"CtrlLeftGoesToTheWordStart", D, kPlain, "ab cd|", {{Qt::Key_Left, C}}, "ab |cd"},
        TKeyRow{"CtrlShiftLeftSelectsTheWord", D, kPlain, "ab cd|", {{Qt::Key_Left, CS}}, "ab |cd^"},
        TKeyRow{"LeftTakesAPendingBlankFirst", kKeepColumns, kPlain, "ab|__", {{Qt::Key_Left}}, "ab|_"},
        TKeyRow{"LeftStepsOverFormatCodes",
                D,
                kStatic,
                "a\x02|b",
                {{Qt::Key_Left}},
                "|a\x02"
                "b"},
        TKeyRow{"RightMovesOneCharacter", D, kPlain, "a|bc", {{Qt::Key_Right}}, "ab|c"},
        TKeyRow{"ShiftRightSelects", D, kPlain, "a|bc", {{Qt::Key_Right, S}}, "a^b|c"},
        TKeyRow{"ShiftRightThriceThenShiftLeftShrinksTheSelection",
                D,
                kPlain,
                "abcde|fghij",
                {{Qt::Key_Right, S}, {Qt::Key_Right, S}, {Qt::Key_Right, S}, {Qt::Key_Left, S}},
                "abcde^fg|hij"},
        TKeyRow{"RightGoesOverTheBreak", D, kPlain, "ab|\ncd", {{Qt::Key_Right}}, "ab\n|cd"},
        TKeyRow{"RightAtTheTextEndStays", D, kPlain, "ab|", {{Qt::Key_Right}}, "ab|"},
        TKeyRow{"RightDropsTheSelectionFirst", D, kPlain, "a|bc^d", {{Qt::Key_Right}}, "ab|cd"},
        TKeyRow{"CtrlRightGoesToTheNextWord", D, kPlain, "|ab cd", {{Qt::Key_Right, C}}, "ab |cd"},
        TKeyRow{"CtrlShiftRightStopsAtTheWordEnd", D, kPlain, "|ab cd", {{Qt::Key_Right, CS}}, "^ab| cd"},
        TKeyRow{
            "CtrlShiftRightFromAGapTakesTheNextWord", D, kPlain, "ab| cd", {{Qt::Key_Right, CS}}, "ab^ cd|"},
        TKeyRow{"CtrlShiftRightAfterTheLastWordStopsAtTheParagraphEnd",
                D,
                kPlain,
                "ab| \ncd",
                {{Qt::Key_Right, CS}},
                "ab^ |\ncd"},
        TKeyRow{"CtrlShiftRightWithLargeWordsGoesToTheNextWord",
                D.With(amoLargeWordSelect),
                kPlain,
                "ab| \ncd",
                {{Qt::Key_Right, CS}},
                "ab^ \n|cd"},
        TKeyRow{"RightAtALineEndAddsABlankWhenColumnsAreKept",
                kKeepColumns,
                kPlain,
                "ab|\ncd",
                {{Qt::Key_Right}, {Qt::Key_Right}},
                "ab|__\ncd"},
        TKeyRow{"RightAtALineEndWrapsWithWrapCaret",
                kKeepColumns.With(amoWrapCaret),
                kPlain,
                "ab|\ncd",
                {{Qt::Key_Right}},
                "ab\n|cd"},
        TKeyRow{"TypingAfterKeptColumnsPutsTheBlanksIn",
                kKeepColumns.With(amoPutExtraSpaces),
                kPlain,
                "ab|\ncd",
                {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_X}},
                "ab  x|\ncd"},
        TKeyRow{"RightStepsOverFormatCodes",
                D,
                kStatic,
                "a|\x02"
                "b",
                {{Qt::Key_Right}},
                "a\x02"
                "b|"}),
    RowName);

// ---- Home, End, Up, Down
INSTANTIATE_TEST_SUITE_P(
    HomeEndUpDown, Keys,
    ::testing::Values(
        TKeyRow{"HomeGoesToTheLineStart", D, kPlain, "ab|cd", {{Qt::Key_Home}}, "|abcd"},
        TKeyRow{"ShiftHomeSelectsToTheLineStart", D, kPlain, "ab|cd", {{Qt::Key_Home, S}}, "|ab^cd"},
        TKeyRow{"HomeOnALaterLine", D, kPlain, "ab\ncd|", {{Qt::Key_Home}}, "ab\n|cd"},
        TKeyRow{"EndGoesToTheLineEnd", D, kPlain, "ab|cd\nef", {{Qt::Key_End}}, "abcd|\nef"},
        TKeyRow{"ShiftEndSelectsToTheLineEnd", D, kPlain, "ab|cd", {{Qt::Key_End, S}}, "ab^cd|"},
        TKeyRow{"EndDropsPendingBlanks", kKeepColumns, kPlain, "ab|__", {{Qt::Key_End}}, "ab|"},
        TKeyRow{"CtrlHomeGoesToTheTextStart", D, kPlain, "ab\ncd|", {{Qt::Key_Home, C}}, "|ab\ncd"},
        TKeyRow{"CtrlShiftHomeSelectsToTheTextStart", D, kPlain, "ab\nc|d", {{Qt::Key_Home, CS}}, "|ab\nc^d"},
        TKeyRow{"CtrlEndGoesToTheTextEnd", D, kPlain, "|ab\ncd", {{Qt::Key_End, C}}, "ab\ncd|"},
        TKeyRow{"CtrlShiftEndSelectsToTheTextEnd", D, kPlain, "|ab\ncd", {{Qt::Key_End, CS}}, "^ab\ncd|"},
        TKeyRow{"UpKeepsTheColumn", D, kPlain, "abc\nde|f", {{Qt::Key_Up}}, "ab|c\ndef"},
        TKeyRow{"ShiftUpSelects", D, kPlain, "abc\nde|f", {{Qt::Key_Up, S}}, "ab|c\nde^f"},
        TKeyRow{"UpDropsTheSelectionFirst", D, kPlain, "ab^c\nde|f", {{Qt::Key_Up}}, "ab|c\ndef"},
        TKeyRow{"DownKeepsTheColumn", D, kPlain, "ab|c\ndef", {{Qt::Key_Down}}, "abc\nde|f"},
        TKeyRow{"ShiftDownSelects", D, kPlain, "ab|c\ndef", {{Qt::Key_Down, S}}, "ab^c\nde|f"},
        TKeyRow{"DownToAShorterLineStopsAtItsEnd", D, kPlain, "abcd|\nab", {{Qt::Key_Down}}, "abcd\nab|"},
        TKeyRow{"DownTwiceComesBackToTheRememberedColumn",
                TArtMemoOptions{amoWrapCaret},
                kPlain,
                "abcd|\nab\nabcdef",
                {{Qt::Key_Down}, {Qt::Key_Down}},
                "abcd\nab\nabcd|ef"},
        TKeyRow{"WithExtraSpacesVerticalMovesTakeTheColumnAfresh",
                D,
                kPlain,
                "abcd|\nab\nabcdef",
                {{Qt::Key_Down}, {Qt::Key_Down}},
                "abcd\nab\nab|cdef"},
        TKeyRow{"UpOnTheFirstLineStays", D, kPlain, "a|bc\nd", {{Qt::Key_Up}}, "a|bc\nd"},
        TKeyRow{"DownOnTheLastLineStays", D, kPlain, "ab\nc|d", {{Qt::Key_Down}}, "ab\nc|d"},
        TKeyRow{"DownPastAShortLineLeavesBlanksWhenColumnsAreKept",
                kKeepColumns,
                kPlain,
                "abcd|\nab",
                {{Qt::Key_Down}},
                "abcd\nab|__"},
        TKeyRow{"DownOntoATabLeavesBlanksWhenColumnsAreKept",
                kKeepColumns,
                kPlain,
                "abcd|\na\tb",
                {{Qt::Key_Down}},
                "abcd\na|___\tb"}),
    RowName);

// ---- Delete, Backspace
INSTANTIATE_TEST_SUITE_P(
    DeleteBackspace, Keys,
    ::testing::Values(
        TKeyRow{"DeleteTakesTheNextCharacter", D, kPlain, "a|bc", {{Qt::Key_Delete}}, "a|c"},
        TKeyRow{"DeleteAtALineEndJoinsTheNextLine", D, kPlain, "ab|\ncd", {{Qt::Key_Delete}}, "ab|cd"},
        TKeyRow{"DeleteTakesTheSelection", D, kPlain, "a^bc|", {{Qt::Key_Delete}}, "a|"},
        TKeyRow{"DeleteAtTheTextEndDoesNothing", D, kPlain, "ab|", {{Qt::Key_Delete}}, "ab|"},
        TKeyRow{"ShiftDeleteWithoutSelectionSelectsTheCharacterBefore",
                D,
                kPlain,
                "ab|c",
                {{Qt::Key_Delete, S}},
                "a^b|c"},
        TKeyRow{"ShiftDeleteAtAParagraphStartSelectsTheBreak",
                D,
                kPlain,
                "ab\n|c",
                {{Qt::Key_Delete, S}},
                "ab^\n|c"},
        TKeyRow{"CtrlDeleteTakesTheRestOfTheLineButNotItsBreak",
                D,
                kPlain,
                "ab|cd\nef",
                {{Qt::Key_Delete, C}},
                "ab|\nef"},
        TKeyRow{"CtrlDeleteFromASelectionInOneLine", D, kPlain, "a^bc|de\nf", {{Qt::Key_Delete, C}}, "a|\nf"},
        TKeyRow{"CtrlDeleteOfASelectionOverLinesTakesTheSelection",
                D,
                kPlain,
                "a^b\nc|d",
                {{Qt::Key_Delete, C}},
                "a|d"},
        TKeyRow{"DeleteJoiningLinesKeepsTheCaretsColumn",
                kKeepColumns,
                kPlain,
                "ab|__\ncd",
                {{Qt::Key_Delete}},
                "ab|__cd"},
        TKeyRow{"DeleteJoiningLinesPutsPendingBlanksIn",
                kKeepColumns.With(amoPutExtraSpaces),
                kPlain,
                "ab|__\ncd",
                {{Qt::Key_Delete}},
                "ab  |cd"},
        TKeyRow{"DeleteActsAtTheCaretWhenSelectionsAreNotTypedOver",
                D.With(amoNoOverwriteBlocks),
                kPlain,
                "a^bc|de",
                {{Qt::Key_Delete}},
                "abc|e"},
        TKeyRow{"BackspaceTakesThePreviousCharacter", D, kPlain, "ab|c", {{Qt::Key_Backspace}}, "a|c"},
        TKeyRow{"BackspaceAtAParagraphStartJoins", D, kPlain, "ab\n|cd", {{Qt::Key_Backspace}}, "ab|cd"},
        TKeyRow{"BackspaceAtTheTextStartDoesNothing", D, kPlain, "|ab", {{Qt::Key_Backspace}}, "|ab"},
        TKeyRow{"BackspaceTakesTheSelection", D, kPlain, "a^bc|", {{Qt::Key_Backspace}}, "a|"},
        TKeyRow{"CtrlBackspaceTakesTheWordBefore", D, kPlain, "ab cd|", {{Qt::Key_Backspace, C}}, "ab |"},
        TKeyRow{
            "BackspaceTakesAPendingBlankFirst", kKeepColumns, kPlain, "ab|__", {{Qt::Key_Backspace}}, "ab|_"},
        TKeyRow{"BackspaceInAnIndentGoesBackToTheLessIndentedLineAbove",
                D.With(amoBackIndent),
                kPlain,
                "    x\n        y\n        |z",
                {{Qt::Key_Backspace}},
                "    x\n        y\n    |z"},
        TKeyRow{"BackIndentWithNoLessIndentedLineAboveGoesToTheMargin",
                D.With(amoBackIndent),
                kPlain,
                "    x\n    |y",
                {{Qt::Key_Backspace}},
                "    x\n|y"},
        TKeyRow{"BackspaceInAnIndentWithoutBackIndentTakesOneBlank",
                D,
                kPlain,
                "    x\n        |z",
                {{Qt::Key_Backspace}},
                "    x\n       |z"},
        // The bold code stays in the text, so that c keeps its style.
        TKeyRow{"BackspaceTakesTheCharacterBeforeFormatCodes",
                D,
                kStatic,
                "ab\x02|c",
                {{Qt::Key_Backspace}},
                "a\x02|c"}),
    RowName);

// ---- the Ctrl hot keys
INSTANTIATE_TEST_SUITE_P(
    HotKeys, Keys,
    ::testing::Values(
        TKeyRow{"CtrlBWrapsTheSelectionInBoldCodes",
                D,
                kStatic,
                "a^bc|d",
                {{Qt::Key_B, C}},
                "a^\x02"
                "bc\x02|d"},
        TKeyRow{"CtrlJPutsTheCaretBetweenItalicCodes",
                D,
                kStatic,
                "a|b",
                {{Qt::Key_J, C}},
                "a\x01|\x01"
                "b"},
        TKeyRow{"CtrlUUnderline",
                D,
                kStatic,
                "a|b",
                {{Qt::Key_U, C}},
                "a\x15|\x15"
                "b"},
        TKeyRow{"CtrlHHighlight",
                D,
                kStatic,
                "a|b",
                {{Qt::Key_H, C}},
                "a\x03|\x03"
                "b"},
        TKeyRow{"CtrlFAlternateFont",
                D,
                kStatic,
                "a|b",
                {{Qt::Key_F, C}},
                "a\x04|\x04"
                "b"},
        TKeyRow{
            "CtrlBTwiceGivesTheTextBack", D, kStatic, "a^bc|d", {{Qt::Key_B, C}, {Qt::Key_B, C}}, "a^bc|d"},
        TKeyRow{"CtrlBWithoutFormatCodesDoesNothing", D, kPlain, "a^bc|d", {{Qt::Key_B, C}}, "a^bc|d"},
        TKeyRow{"CtrlPInsertsABreakAndAFormFeed", D, kPlain, "a|b", {{Qt::Key_P, C}}, "a\n\f|b"},
        TKeyRow{"CtrlTInsertsATab", D, kPlain, "a^x|b", {{Qt::Key_T, C}}, "a\t|b"},
        TKeyRow{"CtrlZUndoesTheTypingAtOnce",
                D,
                kPlain,
                "a|b",
                {{Qt::Key_X}, {Qt::Key_Y}, {Qt::Key_Z, C}},
                "a|b"},
        TKeyRow{"CtrlShiftZRedoes",
                D,
                kPlain,
                "a|b",
                {{Qt::Key_X}, {Qt::Key_Y}, {Qt::Key_Z, C}, {Qt::Key_Z, CS}},
                "axy|b"},
        TKeyRow{"HotKeysOffLeaveCtrlTAndCtrlZAlone",
                D,
                kNoHotKeys,
                "a|b",
                {{Qt::Key_X}, {Qt::Key_T, C}, {Qt::Key_Z, C}},
                "ax|b"},
        TKeyRow{"CtrlASelectsAllEvenWithHotKeysOff", D, kNoHotKeys, "a|b\ncd", {{Qt::Key_A, C}}, "^ab\ncd|"}),
    RowName);

// ---- typed characters: the control keys, Enter, Tab and text
INSTANTIATE_TEST_SUITE_P(
    Typing, Keys,
    ::testing::Values(
        TKeyRow{"TypingInserts", D, kPlain, "a|b", {{Qt::Key_X}}, "ax|b"},
        TKeyRow{"TypingReplacesTheSelection", D, kPlain, "a^bc|d", {{Qt::Key_X, S}}, "aX|d"},
        TKeyRow{"TypingActsAtTheCaretWhenSelectionsAreNotTypedOver",
                D.With(amoNoOverwriteBlocks),
                kPlain,
                "a^bc|d",
                {{Qt::Key_X}},
                "abcx|d"},
        TKeyRow{
            "OverwriteReplacesTheNextCharacter", D, kOverwrite, "a|bc", {{Qt::Key_X}, {Qt::Key_Y}}, "axy|"},
        TKeyRow{"OverwriteAtALineEndInserts", D, kOverwrite, "ab|\ncd", {{Qt::Key_X}}, "abx|\ncd"},
        TKeyRow{"OverwriteReplacesOnlyTheSelection", D, kOverwrite, "a^bc|d", {{Qt::Key_X}}, "ax|d"},
        TKeyRow{"ABlankAtALineEndStaysPendingWhenTrailingBlanksGo",
                TArtMemoOptions{amoDiscardTrailingSpaces, amoPutExtraSpaces},
                kPlain,
                "ab|",
                {{Qt::Key_Space}},
                "ab|_"},
        TKeyRow{"PendingBlanksGoInFrontOfTheNextCharacter",
                TArtMemoOptions{amoDiscardTrailingSpaces, amoPutExtraSpaces},
                kPlain,
                "ab|",
                {{Qt::Key_Space}, {Qt::Key_X}},
                "ab x|"},
        TKeyRow{"ABlankInsideALineIsText",
                TArtMemoOptions{amoDiscardTrailingSpaces},
                kPlain,
                "a|b",
                {{Qt::Key_Space}},
                "a |b"},
        TKeyRow{"EnterBreaksTheLine", D, kPlain, "ab|cd", {{Qt::Key_Return}}, "ab\n|cd"},
        TKeyRow{
            "KeypadEnterBreaksTheLine", D, kPlain, "ab|cd", {{Qt::Key_Enter, Qt::KeypadModifier}}, "ab\n|cd"},
        TKeyRow{"EnterReplacesTheSelection", D, kPlain, "a^bc|d", {{Qt::Key_Return}}, "a\n|d"},
        TKeyRow{"CtrlEnterTypesNothing", D, kPlain, "ab|cd", {{Qt::Key_Return, C}}, "ab|cd"},
        TKeyRow{"EnterTakesTheIndentationAbove",
                D.With(amoAutoIndent),
                kPlain,
                "  ab|",
                {{Qt::Key_Return}},
                "  ab\n  |"},
        TKeyRow{"AutoIndentIsNoWiderThanTheCaretsColumn",
                D.With(amoAutoIndent),
                kPlain,
                "  |  ab",
                {{Qt::Key_Return}},
                "  \n  |  ab"},
        TKeyRow{"AutoIndentTakesTabsAlong",
                D.With(amoAutoIndent),
                kPlain,
                "\tab|",
                {{Qt::Key_Return}},
                "\tab\n\t|"},
        TKeyRow{"AutoIndentSkipsEmptyLines",
                TArtMemoOptions{amoAutoIndent, amoKeepColumnPos},
                kPlain,
                "    ab\n\n|____",
                {{Qt::Key_Return}},
                "    ab\n\n\n    |"},
        TKeyRow{"AutoIndentAtALineEndIsPendingWhenTrailingBlanksGo",
                TArtMemoOptions{amoAutoIndent, amoDiscardTrailingSpaces, amoPutExtraSpaces},
                kPlain,
                "  ab|",
                {{Qt::Key_Return}},
                "  ab\n|__"},
        TKeyRow{"PendingIndentTabsBecomeTabStopBlanks",
                TArtMemoOptions{amoAutoIndent, amoDiscardTrailingSpaces},
                kPlain,
                "\tab|",
                {{Qt::Key_Return}},
                "\tab\n|________"},
        TKeyRow{"UndoingAnEnterThatDroppedBlanksPutsThemBack",
                TArtMemoOptions{amoAutoIndent, amoDiscardTrailingSpaces},
                kPlain,
                "  ab  |cd",
                {{Qt::Key_Return}, {Qt::Key_Z, C}},
                "  ab  |cd"},
        TKeyRow{
            "EnterInOverwriteGoesToTheNextLine", D, kOverwrite, "ab|c\nde", {{Qt::Key_Return}}, "abc\n|de"},
        TKeyRow{"EnterInOverwriteOnTheLastLineAddsALineAtTheEnd",
                D,
                kOverwrite,
                "ab\nd|e",
                {{Qt::Key_Return}},
                "ab\nde\n|"},
        TKeyRow{"TabInsertsATab", D, kPlain, "a|b", {{Qt::Key_Tab}}, "a\t|b"},
        TKeyRow{"ShiftTabInsertsATab", D, kPlain, "a|b", {{Qt::Key_Backtab, S}}, "a\t|b"},
        TKeyRow{"TabReplacesTheSelection", D, kPlain, "a^b|c", {{Qt::Key_Tab}}, "a\t|c"},
        TKeyRow{"TabAtALineEndIsPendingWhenTrailingBlanksGo",
                TArtMemoOptions{amoDiscardTrailingSpaces},
                kPlain,
                "ab|",
                {{Qt::Key_Tab}},
                "ab|~"},
        TKeyRow{"SmartTabGoesToTheNextWordAbove",
                D.With(amoSmartTabs),
                kPlain,
                "int  foo = 1;\n|",
                {{Qt::Key_Tab}},
                "int  foo = 1;\n     |"},
        TKeyRow{"SmartTabFromAWordGoesPastItAndItsBlanks",
                D.With(amoSmartTabs),
                kPlain,
                "int  foo = 1;\n     |",
                {{Qt::Key_Tab}},
                "int  foo = 1;\n         |"},
        TKeyRow{"SmartTabLooksPastShorterLines",
                D.With(amoSmartTabs),
                kPlain,
                "ab cd ef\nx\nxyz|",
                {{Qt::Key_Tab}},
                "ab cd ef\nx\nxyz   |"},
        TKeyRow{"SmartTabWithoutALongerLineAboveTypesNothing",
                D.With(amoSmartTabs),
                kPlain,
                "ab\nabcdef|",
                {{Qt::Key_Tab}},
                "ab\nabcdef|"},
        TKeyRow{"SmartTabOnTheFirstLineTypesNothing",
                D.With(amoSmartTabs),
                kPlain,
                "ab|",
                {{Qt::Key_Tab}},
                "ab|"},
        TKeyRow{"SmartTabKeepsTheSelectionBeforeItsBlanks",
                D.With(amoSmartTabs),
                kPlain,
                "ab cd\n^xy|",
                {{Qt::Key_Tab}},
                "ab cd\nxy |"},
        TKeyRow{"SmartTabUnderWordWrapIsAPlainTab",
                D.With(amoSmartTabs),
                kWrap,
                "ab cd\n|",
                {{Qt::Key_Tab}},
                "ab cd\n\t|"},
        TKeyRow{"CtrlESelfCheckChangesNothing", D, kPlain, "ab|\ncd", {{Qt::Key_E, C}}, "ab|\ncd"},
        TKeyRow{"CtrlOfOtherLettersTypesNothing", D, kPlain, "ab|", {{Qt::Key_K, C}, {Qt::Key_Q, C}}, "ab|"},
        TKeyRow{"AltWithALetterTypesNothing", D, kPlain, "ab|", {{Qt::Key_K, Qt::AltModifier}}, "ab|"}),
    RowName);

} // namespace
} // namespace zandor
