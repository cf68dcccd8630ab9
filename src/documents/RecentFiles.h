// The recent-files list: at most nine names, the most recent first, shown as the items of the
// "Recent files" submenu and stored with the settings under "Recent Files", keys "0" to "8".
#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace zandor {

inline constexpr int kMaxRecentFiles = 9;

// Puts a name at the top of a recent-files list. A full list first loses its oldest entry (so a name
// already there leaves eight). A name already in the list moves up with the spelling it had there;
// names that differ only in letter case are the same entry when they name the same file (a file
// system without letter case), and different entries otherwise, as two such files are here.
void AddRecentFile(std::vector<std::string>& list, const std::string& name);

// Refers to the list (kept in the window's settings) and to the submenu (owned by the window), whose
// items it makes: one per name, the name as its caption, clicked to open that name.
class TRecentFiles {
public:
    TRecentFiles(std::vector<std::string>& list, QMenu& menu,
                 std::function<void(const std::string&)> onClick);
    TRecentFiles(const TRecentFiles&) = delete;
    TRecentFiles& operator=(const TRecentFiles&) = delete;

    // AddRecentFile, then the submenu.
    void Add(const std::string& name);
    // The submenu's items from the list; the submenu is disabled while the list is empty.
    void Rebuild();

private:
    std::vector<std::string>& list_;
    QMenu& menu_;
    std::function<void(const std::string&)> onClick_;
};

} // namespace zandor
