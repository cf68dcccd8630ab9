// The band at the top of the main window: a flat tool bar whose buttons open the main menu's
// top-level menus (it is the window's menu bar), and the small status panel beside it that shows the
// caret position. Both paint one band background over a shared rectangle so they read as one strip.
#pragma once

#include <QToolBar>
#include <QWidget>

#include <functional>

class QLabel;
class QMenu;

namespace zandor {

// The background both halves of the band paint: the rectangle starts `raise` pixels above the
// widget's top, so the tool bar and the status panel (which share a top and a height) get the same
// gradient at the same heights.
void PaintBandBackground(QWidget& widget, int raise, int width);

// Owns its buttons through Qt parenthood; refers to the menus it shows.
class TMenuToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit TMenuToolBar(QWidget* parent);

    // One button per menu, in order, each opening its menu on press and on Alt with its mnemonic
    // (Mnemonics.h). Called again after a language change so that the buttons take the menus' new
    // captions.
    void ShowMenus(const QList<QMenu*>& menus);
    void SetButtonHeight(int height);
    // F10 and a lone Alt in `window` open the first menu; Left and Right in an open menu go on to
    // the menu beside it, as in a menu bar.
    void TakeMenuKeys(QWidget& window);
    // Opens the menu at index (wrapping around), as a click on its button does.
    void OpenMenu(int index);
    // The menu that is open, or -1.
    int OpenMenuIndex() const;

    int BandRaise = 0;
    // Runs after every repaint (the caret position is refreshed with the band).
    std::function<void()> OnPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QMenu*> menus_;
    QWidget* window_ = nullptr;
    // Alt went down with nothing else since: its release opens the menus.
    bool altAlone_ = false;
    int buttonHeight_ = 21;
};

// Owns StatusPanelInner and the labels lbPosition and lbEncoding through Qt parenthood: the
// document's encoding on the left, the caret's place on the right.
class TStatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent);

    void SetInnerHeight(int height);
    void SetEncoding(const QString& text);
    // The width that shows the encoding beside a caret place of several digits; at least minimum.
    int PreferredWidth(int minimum) const;

    QWidget* StatusPanelInner = nullptr;
    QLabel* lbPosition = nullptr;
    QLabel* lbEncoding = nullptr;
    int BandRaise = 0;
    // The tool bar's width plus one, so the band's gradient is laid over the same rectangle.
    int BandWidth = 0;
    std::function<void()> OnPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int innerHeight_ = 18;
};

} // namespace zandor
