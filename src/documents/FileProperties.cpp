#include "documents/FileProperties.h"

#include "platform/CodePages.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zandor {

namespace {

std::string UserName(uid_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry ? std::string(entry->pw_name) : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? std::string(entry->gr_name) : std::to_string(gid);
}

QString DateText(int64_t seconds) {
    if (seconds == 0)
        return QStringLiteral("unknown");
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::LongFormat);
}

QString Text(const std::string& bytes) {
    return QFile::decodeName(bytes.c_str());
}

// The record's text fields are code page 437 whatever the system's file names are in.
QString OemText(std::string_view bytes) {
    return QString::fromStdU16String(platform::TextToUnicode(bytes, platform::OemCharset));
}

void ValueRow(QFormLayout* form, const char* label, const QString& value, const char* name) {
    auto* text = new QLabel(value);
    text->setObjectName(QLatin1String(name));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QLatin1String(label), text);
}

QString NumberOrNone(int value) {
    return value != 0 ? QString::number(value) : QStringLiteral("not given");
}

QGroupBox* SauceGroup(const TSauceRecord& sauce) {
    auto* group = new QGroupBox(QStringLiteral("SAUCE"));
    group->setObjectName(QStringLiteral("sauce"));
    auto* form = new QFormLayout(group);
    const auto row = [&](const char* label, const QString& value, const char* name) {
        ValueRow(form, label, value, name);
    };
    row("Title:", OemText(sauce.Title), "sauceTitle");
    row("Author:", OemText(sauce.Author), "sauceAuthor");
    row("Group:", OemText(sauce.Group), "sauceGroup");
    row("Date:", OemText(sauce.DateText()), "sauceDate");
    row("Data type:", QString::fromStdString(sauce.DataTypeName()), "sauceDataType");
    row("File type:", QString::fromStdString(sauce.FileTypeName()), "sauceFileType");
    row("Width:", NumberOrNone(sauce.Width()), "sauceWidth");
    row("Height:", NumberOrNone(sauce.Height()), "sauceHeight");
    row("iCE colours:", sauce.IceColours() ? QStringLiteral("yes") : QStringLiteral("no"), "sauceIce");
    static const char* const spacings[] = {"none", "8 pixels", "9 pixels", "none"};
    row("Letter spacing:", QLatin1String(spacings[sauce.LetterSpacing()]), "sauceSpacing");
    static const char* const ratios[] = {"none", "Legacy (DOS)", "Square", "none"};
    row("Aspect ratio:", QLatin1String(ratios[sauce.AspectRatio()]), "sauceAspect");
    row("Font:", OemText(sauce.TInfoS), "sauceFont");
    if (!sauce.CommentLines.empty()) {
        QStringList lines;
        for (const std::string& line : sauce.CommentLines)
            lines << OemText(line);
        row("Comments:", lines.join(QLatin1Char('\n')), "sauceComments");
    }
    return group;
}

} // namespace

std::optional<TFileFacts> FileFactsOf(const std::string& path) {
    struct statx st {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return std::nullopt;
    TFileFacts facts;
    facts.Name = platform::FileNameOf(path);
    facts.Folder = platform::FileFolder(path);
    facts.Size = static_cast<int64_t>(st.stx_size);
    facts.Modified = st.stx_mtime.tv_sec;
    facts.Accessed = st.stx_atime.tv_sec;
    facts.Changed = st.stx_ctime.tv_sec;
    if (st.stx_mask & STATX_BTIME)
        facts.Created = st.stx_btime.tv_sec;
    facts.Mode = st.stx_mode & 07777;
    facts.Owner = UserName(st.stx_uid);
    facts.Group = GroupName(st.stx_gid);
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::vector<char> target(4096);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n > 0)
            facts.LinkTarget.assign(target.data(), static_cast<size_t>(n));
    }
    return facts;
}

std::string PermissionText(unsigned mode) {
    std::string text = "---------";
    const char letters[] = {'r', 'w', 'x'};
    for (int i = 0; i < 9; ++i)
        if (mode & (0400u >> i))
            text[static_cast<size_t>(i)] = letters[i % 3];
    // The special bits show in the execute places, in lower case over an x and upper case without.
    const auto special = [&](unsigned bit, size_t at, char letter) {
        if (mode & bit)
            text[at] = text[at] == 'x' ? letter : static_cast<char>(std::toupper(letter));
    };
    special(04000, 2, 's');
    special(02000, 5, 's');
    special(01000, 8, 't');
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", mode & 07777);
    return text + " (" + octal + ")";
}

TFileProperties::TFileProperties(const std::string& path, QWidget* parent,
                                 const std::optional<TSauceRecord>& sauce)
    : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FileProperties"));
    setWindowTitle(QStringLiteral("Properties of ") + Text(platform::FileNameOf(path)));
    auto* form = new QFormLayout;
    const auto row = [&](const char* label, const QString& value, const char* name) {
        ValueRow(form, label, value, name);
    };
    if (const std::optional<TFileFacts> facts = FileFactsOf(path)) {
        const QLocale locale;
        row("Name:", Text(facts->Name), "name");
        row("Folder:", Text(facts->Folder), "folder");
        if (!facts->LinkTarget.empty())
            row("Link to:", Text(facts->LinkTarget), "link");
        row("Size:",
            locale.formattedDataSize(facts->Size) + QStringLiteral(" (") + locale.toString(facts->Size) +
                QStringLiteral(" bytes)"),
            "size");
        if (facts->Created != 0)
            row("Created:", DateText(facts->Created), "created");
        row("Modified:", DateText(facts->Modified), "modified");
        row("Accessed:", DateText(facts->Accessed), "accessed");
        row("Permissions:", QString::fromStdString(PermissionText(facts->Mode)), "permissions");
        row("Owner:", Text(facts->Owner) + QStringLiteral(", group ") + Text(facts->Group), "owner");
    } else {
        row("Name:", Text(path), "name");
        row("", QStringLiteral("The file is no longer there."), "missing");
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (sauce)
        layout->addWidget(SauceGroup(*sauce));
    layout->addWidget(buttons);
}

} // namespace zandor
