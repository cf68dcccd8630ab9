#include "localisation/TranslateComponent.h"

#include "localisation/Localisation.h"
#include "localisation/Tag.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace zandor {

namespace {

void SetCaption(QObject* object, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
    else if (auto* button = qobject_cast<QPushButton*>(object))
        button->setText(text);
    else if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* radio = qobject_cast<QRadioButton*>(object))
        radio->setText(text);
}

// A window of its own below the one being translated; popup menus are windows to Qt but belong
// to the window that shows them.
bool IsSeparateWindow(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && !qobject_cast<const QMenu*>(object);
}

void TranslateChildren(const TLocalisation& texts, QObject* parent) {
    for (QObject* child : parent->children()) {
        const int tag = TagOf(child);
        if (IsSeparateWindow(child)) {
            if (tag > 0)
                TranslateComponent(texts, child);
            continue;
        }
        if (tag > 0) {
            const QString text = texts.GetCaption(tag);
            if (!text.isEmpty())
                SetCaption(child, text);
        }
        TranslateChildren(texts, child);
    }
}

} // namespace

void TranslateComponent(const TLocalisation& texts, QObject* c) {
    if (!c)
        return;
    if (auto* window = qobject_cast<QWidget*>(c); window && window->isWindow() && !qobject_cast<QMenu*>(c)) {
        const int tag = TagOf(c);
        if (tag > 0)
            window->setWindowTitle(texts.GetCaption(tag));
    }
    TranslateChildren(texts, c);
}

} // namespace zandor
