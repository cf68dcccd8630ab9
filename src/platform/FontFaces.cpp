#include "platform/FontFaces.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace zandor::platform {

bool FontFaceInstalled(const std::string& face) {
    const QStringList families = QFontDatabase::families();
    const auto known = [&](const QString& name) { return families.contains(name, Qt::CaseInsensitive); };
    const QString name = QString::fromStdString(face);
    if (name.isEmpty())
        return false;
    if (known(name))
        return true;
    for (const QString& substitute : QFont::substitutes(name))
        if (known(substitute))
            return true;
    return false;
}

} // namespace zandor::platform
