#include "platform/FontFaces.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace zandor::platform {

namespace {

// The family of the database that is `name`, in the database's spelling; a family that several
// foundries make is listed as "Family [Foundry]".
QString KnownFamily(const QStringList& families, const QString& name) {
    for (const QString& family : families) {
        if (family.compare(name, Qt::CaseInsensitive) == 0)
            return family;
        if (family.startsWith(name + QStringLiteral(" ["), Qt::CaseInsensitive))
            return family.left(name.size());
    }
    return {};
}

} // namespace

std::string InstalledFontFace(const std::string& face) {
    const QString name = QString::fromStdString(face);
    if (name.isEmpty())
        return {};
    const QStringList families = QFontDatabase::families();
    if (const QString family = KnownFamily(families, name); !family.isEmpty())
        return family.toStdString();
    for (const QString& substitute : QFont::substitutes(name))
        if (!KnownFamily(families, substitute).isEmpty())
            return face;
    return {};
}

} // namespace zandor::platform
