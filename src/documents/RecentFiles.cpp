#include "documents/RecentFiles.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

namespace zandor {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// A caption shows every character of the name: '&' would otherwise mark a mnemonic.
QString Caption(const std::string& name) {
    QString caption = QFile::decodeName(name.c_str());
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace

void AddRecentFile(std::vector<std::string>& list, const std::string& name) {
    while (list.size() >= static_cast<size_t>(kMaxRecentFiles))
        list.pop_back();
    const std::string key = Lower(name);
    int match = -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == name || (Lower(list[i]) == key && SameFile(list[i], name)))
            match = static_cast<int>(i);
    if (match < 0) {
        list.insert(list.begin(), name);
        return;
    }
    std::rotate(list.begin(), list.begin() + match, list.begin() + match + 1);
}

TRecentFiles::TRecentFiles(std::vector<std::string>& list, QMenu& menu,
                           std::function<void(const std::string&)> onClick)
    : list_(list), menu_(menu), onClick_(std::move(onClick)) {}

void TRecentFiles::Add(const std::string& name) {
    AddRecentFile(list_, name);
    Rebuild();
}

void TRecentFiles::Rebuild() {
    // The items go later: one of them may be the item being clicked now.
    for (QAction* item : menu_.actions()) {
        menu_.removeAction(item);
        item->deleteLater();
    }
    for (const std::string& name : list_) {
        QAction* item = menu_.addAction(Caption(name));
        QObject::connect(item, &QAction::triggered, &menu_, [this, name] {
            if (onClick_)
                onClick_(name);
        });
    }
    menu_.menuAction()->setEnabled(!list_.empty());
}

} // namespace zandor
