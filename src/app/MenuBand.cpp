#include "app/MenuBand.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace zandor {

void PaintBandBackground(QWidget& widget, int raise, int width) {
    QPainter painter(&widget);
    const QRect band(0, -raise, std::max(width, widget.width()), widget.height() + raise);
    const QColor face = widget.palette().color(QPalette::Button);
    QLinearGradient gradient(band.topLeft(), band.bottomLeft());
    gradient.setColorAt(0.0, face.lighter(112));
    gradient.setColorAt(1.0, face.darker(106));
    painter.fillRect(band, gradient);
    // A hairline under the band separates it from the text below.
    painter.setPen(face.darker(125));
    painter.drawLine(0, widget.height() - 1, widget.width(), widget.height() - 1);
}

TMenuToolBar::TMenuToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("ToolBar1"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setContentsMargins(0, 0, 0, 0);
    // Buttons that open menus would draw an arrow; a menu bar shows captions only.
    setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"
                                 "QToolButton { padding: 0px 6px; border: 1px solid transparent; }"
                                 "QToolButton:hover, QToolButton:pressed, QToolButton:open {"
                                 " border: 1px solid palette(mid); background: palette(light); }"
                                 "QToolButton::menu-indicator { image: none; width: 0px; }"));
}

void TMenuToolBar::ShowMenus(const QList<QMenu*>& menus) {
    menus_ = menus;
    clear();
    for (QMenu* menu : menus_) {
        addAction(menu->menuAction());
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(menu->menuAction()))) {
            button->setPopupMode(QToolButton::InstantPopup);
            button->setAutoRaise(true);
            button->setFixedHeight(buttonHeight_);
            button->setFont(font());
        }
    }
}

void TMenuToolBar::SetButtonHeight(int height) {
    buttonHeight_ = height;
    for (QMenu* menu : menus_)
        if (QWidget* button = widgetForAction(menu->menuAction()))
            button->setFixedHeight(height);
}

void TMenuToolBar::paintEvent(QPaintEvent*) {
    PaintBandBackground(*this, BandRaise, width() + 1);
    if (OnPainted)
        OnPainted();
}

TStatusPanel::TStatusPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatusPanel"));
    setAutoFillBackground(true);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(silver);
    StatusPanelInner = new QWidget(this);
    StatusPanelInner->setObjectName(QStringLiteral("StatusPanelInner"));
    StatusPanelInner->setAttribute(Qt::WA_TranslucentBackground);
    lbPosition = new QLabel(QStringLiteral("0,0"), StatusPanelInner);
    lbPosition->setObjectName(QStringLiteral("lbPosition"));
    lbPosition->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbEncoding = new QLabel(StatusPanelInner);
    lbEncoding->setObjectName(QStringLiteral("lbEncoding"));
    lbEncoding->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TStatusPanel::SetEncoding(const QString& text) {
    lbEncoding->setText(text);
    resizeEvent(nullptr);
}

int TStatusPanel::PreferredWidth(int minimum) const {
    if (lbEncoding->text().isEmpty())
        return minimum;
    const QFontMetrics metrics(lbEncoding->font());
    return std::max(minimum, 6 + metrics.horizontalAdvance(lbEncoding->text()) + 12 +
                                 metrics.horizontalAdvance(QStringLiteral("99999,999")) + 4);
}

void TStatusPanel::SetInnerHeight(int height) {
    innerHeight_ = height;
    resizeEvent(nullptr);
}

void TStatusPanel::resizeEvent(QResizeEvent*) {
    // StatusPanelInner sits on the panel's bottom edge; the label fills it, its text on the right.
    StatusPanelInner->setGeometry(0, height() - innerHeight_, width(), innerHeight_);
    lbPosition->setGeometry(0, 0, width() - 4, innerHeight_);
    lbEncoding->setGeometry(6, 0, std::max(0, width() - 10), innerHeight_);
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    PaintBandBackground(*this, BandRaise, BandWidth);
    if (OnPainted)
        OnPainted();
}

} // namespace zandor
