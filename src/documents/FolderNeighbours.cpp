#include "documents/FolderNeighbours.h"

#include "platform/FileSystem.h"

#include <QCollator>
#include <QDir>

#include <algorithm>

namespace zandor {

namespace {

QCollator NameOrder() {
    QCollator order;
    order.setNumericMode(true);
    order.setCaseSensitivity(Qt::CaseInsensitive);
    return order;
}

} // namespace

std::vector<std::string> FolderFilesInNameOrder(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    QStringList names = dir.entryList({QStringLiteral("*.*")}, QDir::Files | QDir::Readable);
    const QCollator order = NameOrder();
    // Equal to the collator (letter case only), the names keep a fixed order between them.
    std::sort(names.begin(), names.end(), [&order](const QString& a, const QString& b) {
        const int c = order.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
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
    const QCollator order = NameOrder();
    const auto before = [&](const std::string& other) {
        const QString o = QString::fromStdString(other);
        const int c = order.compare(o, name);
        return c != 0 ? c < 0 : o < name;
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
