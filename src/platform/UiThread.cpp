#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace zandor::platform {

void PostToUiThread(std::function<void()> task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !task)
        return;
    QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

} // namespace zandor::platform
