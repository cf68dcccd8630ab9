#include "documents/FolderNeighbours.h"

#include "platform/FileSystem.h"

#include <QDir>

#include <algorithm>

namespace zandor {

namespace {

// Only the digits 0 to 9 make numbers: other scripts' digits sort as the characters they are, so
// the order stays one order.
bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The dialog's order: letter case ignored, a run of digits by its value ("part2" before "part10").
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            // Leading zeros do not count; then the longer run is the larger number.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == QLatin1Char('0'))
                ++si;
            while (sj + 1 < ej && b[sj] == QLatin1Char('0'))
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            if (const int c = QStringView(a).mid(si, ei - si).compare(QStringView(b).mid(sj, ej - sj));
                c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal but for letter case or zeros: a fixed order between them all the same.
    return QString::compare(a, b);
}

bool NameBefore(const QString& a, const QString& b) {
    return NaturalCompare(a, b) < 0;
}

} // namespace

std::vector<std::string> FolderFilesInNameOrder(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    QStringList names = dir.entryList({QStringLiteral("*.*")}, QDir::Files | QDir::Readable);
    std::sort(names.begin(), names.end(), NameBefore);
    std::vector<std::string> files;
    files.reserve(size_t(names.size()));
    for (const QString& name : names)
        files.push_back(name.toStdString());
    return files;
}

std::string NeighbourInFolder(const std::string& file, int step) {
    if (file.empty() || step == 0)
        return {};
    const std::string folder = platform::FileFolder(file);
    const QString name = QString::fromStdString(platform::FileNameOf(file));
    const std::vector<std::string> files = FolderFilesInNameOrder(folder);
    const auto before = [&](const std::string& other) {
        return NameBefore(QString::fromStdString(other), name);
    };
    // The place of the file in the order, whether it is still there or not.
    const auto first = std::partition_point(files.begin(), files.end(), before);
    const bool present = first != files.end() && QString::fromStdString(*first) == name;
    const ptrdiff_t at = first - files.begin();
    const ptrdiff_t target = step > 0 ? at + (present ? step : step - 1) : at + step;
    if (target < 0 || target >= ptrdiff_t(files.size()))
        return {};
    return platform::IncludeTrailingSlash(folder) + files[size_t(target)];
}

} // namespace zandor
