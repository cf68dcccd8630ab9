#include "app/MainEditors.h"

#include "editor/addons/ArtGutter.h"
#include "editor/control/ArtMemo.h"
#include "localisation/Tag.h"
#include "platform/Canvas.h"

#include <QFrame>
#include <QPushButton>

namespace zandor {

QFont WindowFont(bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    font.setBold(bold);
    return font;
}

namespace {

// The main window's editors draw no line below the end of the text.
platform::TPenValue NoEndMark(const TArtMemo& m) {
    platform::TPenValue mark = m.EndOfTextMark();
    mark.Style = platform::psClear;
    return mark;
}

} // namespace

void ConfigureMainEditor(TArtMemo& m, QMenu* popupMenu) {
    m.setObjectName(QStringLiteral("m"));
    m.SetBorderStyle(bsNone);
    m.SetScrollBars(ssBoth);
    m.SetHideSelection(false);
    m.SetColor(0x004A0000);
    platform::FontValue font;
    font.Name = "ZandorLarge";
    font.Height = 19;
    font.Style = platform::fsBold;
    font.Color = platform::clWhite;
    font.Charset = platform::OEM_CHARSET;
    m.SetFont(font);
    m.SetHighlightColor(platform::clLime);
    m.SetHighlightBackgnd(platform::clBlack);
    m.SetUndoMaxSpace(500000);
    m.SetEndOfTextMark(NoEndMark(m));
    m.SetOptions({amoWrapCaret, amoInsertKeyActive, amoWideOverwriteCaret, amoAutoScrollBars, amoAutoIndent,
                  amoBlockSelection, amoPlainClipboard, amoSmartTabs});
    // The control opens it on the right button's release and on the menu key.
    m.SetPopupMenu(popupMenu);
}

void ConfigureGutter(TArtGutter& g, TArtMemo& m) {
    g.setObjectName(QStringLiteral("g"));
    g.setFixedWidth(kGutterWidth);
    g.SetRightBorder(false);
    g.setFont(platform::ToQFont(platform::FontValue{.Name = "Tahoma", .Height = 11}));
    g.SetColor(m.Color());
    g.SetArtMemo(&m);
    g.hide();
}

void ConfigurePrintMemo(TArtMemo& printMemo, const TArtMemo& m) {
    printMemo.setObjectName(QStringLiteral("PrintMemo"));
    printMemo.hide();
    platform::FontValue printFont;
    printFont.Name = "Courier New";
    printFont.Size = 9;
    printMemo.SetFont(printFont);
    printMemo.SetEndOfTextMark(NoEndMark(m));
}

TBottomButtons CreateBottomButtons(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("PanelBottom"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedHeight(kPanelBottomHeight);
    const auto button = [panel](const char* name, int tag, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(WindowFont(true));
        b->setFocusPolicy(Qt::NoFocus);
        if (tag > 0)
            SetTag(b, tag);
        return b;
    };
    TBottomButtons buttons;
    buttons.Panel = panel;
    buttons.Copy = button("buttoncopy", 10, "&Copy");
    buttons.Cut = button("buttoncut", 11, "C&ut");
    buttons.Paste = button("buttonpaste", 12, "&Paste");
    buttons.Save = button("buttonsave", 21, "&Save");
    buttons.Exit = button("buttonexit", 13, "E&xit");
    buttons.Save->setEnabled(false);
    // Only Exit takes part in tabbing.
    buttons.Exit->setFocusPolicy(Qt::StrongFocus);
    return buttons;
}

} // namespace zandor
