// "Properties...": a small window of our own showing what the file system knows of the open file:
// its name and folder, size, kind, dates, permissions, owner and group, and under "SAUCE" what
// the record at the end of an art file tells of it.
#pragma once

#include "documents/SauceRecord.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

namespace zandor {

struct TFileFacts {
    std::string Name;   // without its folder
    std::string Folder; // with the trailing '/'
    int64_t Size = 0;
    // Where a symbolic link leads; empty for a file that is no link.
    std::string LinkTarget;
    // Seconds since 1970; Created is 0 when the file system does not keep it.
    int64_t Modified = 0;
    int64_t Accessed = 0;
    int64_t Changed = 0;
    int64_t Created = 0;
    unsigned Mode = 0; // permission bits, 07777
    std::string Owner;
    std::string Group;
};

// The facts of the file at path (a link is followed for all but LinkTarget); nothing when no file
// stands there.
std::optional<TFileFacts> FileFactsOf(const std::string& path);

// "rwxr-x---" with the set-id and sticky bits where ls shows them, then the octal value: "rw-r--r-- (0644)".
std::string PermissionText(unsigned mode);

// A window that is not modal and deletes itself when closed. The record, when the file has one, is
// copied into the window's labels.
class TFileProperties : public QDialog {
    Q_OBJECT
public:
    TFileProperties(const std::string& path, QWidget* parent,
                    const std::optional<TSauceRecord>& sauce = std::nullopt);
};

} // namespace zandor
