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

    // One button per menu, in order, each opening its menu on press. Called again after a language
    // change so that the buttons take the menus' new captions.
    void ShowMenus(const QList<QMenu*>& menus);
    void SetButtonHeight(int height);

    int BandRaise = 0;
    // Runs after every repaint (the caret position is refreshed with the band).
    std::function<void()> OnPainted;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QMenu*> menus_;
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
