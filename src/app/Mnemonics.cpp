#include "app/Mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QSet>

namespace zandor {

namespace {

// The position of a caption's own mnemonic letter ("&x" that is not "&&"); -1 when it has none.
qsizetype OwnMnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

bool Usable(QChar c) {
    return c.isLetterOrNumber();
}

// Menus whose items are names, not commands: their captions are left as they are made.
bool KeepsOwnCaptions(const QMenu& menu) {
    const QString name = menu.objectName();
    return name == QLatin1String("file_recentfiles") || name == QLatin1String("options_language");
}

void GiveMnemonics(QMenu& menu) {
    QList<QAction*> items;
    QStringList captions;
    for (QAction* item : menu.actions()) {
        if (item->isSeparator() || item->text().isEmpty())
            continue;
        items << item;
        captions << item->text();
    }
    const QStringList marked = WithMnemonics(captions);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i]->text() != marked[i])
            items[i]->setText(marked[i]);
}

} // namespace

QStringList WithMnemonics(const QStringList& captions) {
    QSet<QChar> taken;
    for (const QString& caption : captions)
        if (const qsizetype at = OwnMnemonic(caption); at >= 0)
            taken.insert(caption[at].toLower());
    QStringList result;
    for (const QString& caption : captions) {
        if (caption.isEmpty() || OwnMnemonic(caption) >= 0) {
            result << caption;
            continue;
        }
        // The first letters of the words first, then any letter or digit.
        qsizetype chosen = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass)
            for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
                const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
                if ((pass == 1 || wordStart) && Usable(caption[i]) && caption[i] != QLatin1Char('&') &&
                    !taken.contains(caption[i].toLower()))
                    chosen = i;
            }
        // Every letter of it is taken: it shares its first one, and pressing the letter again
        // goes on to the next item that has it.
        for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
            if (Usable(caption[i]))
                chosen = i;
        if (chosen < 0) {
            result << caption;
            continue;
        }
        taken.insert(caption[chosen].toLower());
        QString marked = caption;
        marked.insert(chosen, QLatin1Char('&'));
        result << marked;
    }
    return result;
}

void KeepMnemonics(QMenu& menu) {
    if (KeepsOwnCaptions(menu))
        return;
    // After the menu's own preparations, which may set captions anew.
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] { GiveMnemonics(menu); });
    for (QAction* item : menu.actions())
        if (QMenu* sub = item->menu())
            KeepMnemonics(*sub);
}

} // namespace zandor
