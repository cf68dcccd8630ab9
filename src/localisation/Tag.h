// Widgets and actions carry their text number the way the language files address them: an integer
// "Tag". Qt objects have no such field, so the number lives in a dynamic property of that name;
// an object without it has tag 0 and is never translated.
#pragma once

#include <QObject>
#include <QVariant>

namespace zandor {

inline constexpr const char* TagProperty = "Tag";

inline void SetTag(QObject* object, int tag) {
    object->setProperty(TagProperty, tag);
}

inline int TagOf(const QObject* object) {
    const QVariant value = object->property(TagProperty);
    bool ok = false;
    const int tag = value.toInt(&ok);
    return ok ? tag : 0;
}

} // namespace zandor
