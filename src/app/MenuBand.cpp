#include "app/MenuBand.h"

#include "app/Mnemonics.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
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
    QStringList titles;
    for (QMenu* menu : menus_)
        titles << menu->menuAction()->text();
    const QStringList marked = WithMnemonics(titles);
    for (qsizetype i = 0; i < menus_.size(); ++i) {
        QMenu* menu = menus_[i];
        addAction(menu->menuAction());
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(menu->menuAction()))) {
            button->setPopupMode(QToolButton::InstantPopup);
            button->setAutoRaise(true);
            button->setFixedHeight(buttonHeight_);
            button->setFont(font());
            // The button's own text carries the mnemonic (its Alt+letter shortcut); the menu's
            // title stays the language's.
            button->setText(marked[i]);
        }
    }
}

void TMenuToolBar::TakeMenuKeys(QWidget& window) {
    window_ = &window;
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, [this] { OpenMenu(0); });
    qApp->installEventFilter(this);
}

void TMenuToolBar::OpenMenu(int index) {
    if (menus_.isEmpty())
        return;
    index = (index % int(menus_.size()) + int(menus_.size())) % int(menus_.size());
    // From the event loop: a menu runs a loop of its own, which must not start inside a key's
    // handling of another menu.
    QTimer::singleShot(0, this, [this, index] {
        if (index >= menus_.size())
            return;
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(menus_[index]->menuAction())))
            button->showMenu();
    });
}

int TMenuToolBar::OpenMenuIndex() const {
    for (qsizetype i = 0; i < menus_.size(); ++i)
        if (menus_[i]->isVisible())
            return int(i);
    return -1;
}

bool TMenuToolBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && menus_.contains(watched)) {
        // Scripts that drive the window see which menu opened.
        QString title = static_cast<QMenu*>(watched)->menuAction()->text();
        platform::Trace("menu shown: " + title.remove(QLatin1Char('&')).toStdString());
    }
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Left and Right in an open menu of the band go on to its neighbour, unless Right opens a
        // submenu.
        if (type == QEvent::KeyPress && menus_.contains(watched)) {
            auto* menu = static_cast<QMenu*>(watched);
            const bool intoSubmenu = menu->activeAction() && menu->activeAction()->menu();
            if ((key->key() == Qt::Key_Left || (key->key() == Qt::Key_Right && !intoSubmenu)) &&
                key->modifiers() == Qt::NoModifier) {
                const int at = int(menus_.indexOf(menu));
                menu->hide();
                OpenMenu(key->key() == Qt::Key_Left ? at - 1 : at + 1);
                return true;
            }
        }
        // Any other key with Alt (a mnemonic, which reaches no widget as a key press) makes the
        // Alt no lone one.
        if (key->key() != Qt::Key_Alt)
            altAlone_ = false;
        else if (type == QEvent::KeyPress && !key->isAutoRepeat())
            altAlone_ = window_ && window_->isActiveWindow() && QApplication::activePopupWidget() == nullptr;
    } else if (type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt && altAlone_ && window_ && window_->isActiveWindow() &&
            QApplication::activePopupWidget() == nullptr) {
            altAlone_ = false;
            OpenMenu(0);
        } else if (key->key() != Qt::Key_Alt) {
            altAlone_ = false;
        }
    } else if (type == QEvent::MouseButtonPress || type == QEvent::Wheel ||
               type == QEvent::WindowDeactivate || type == QEvent::ApplicationDeactivate) {
        altAlone_ = false;
    }
    return QToolBar::eventFilter(watched, event);
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
