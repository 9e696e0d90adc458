#include "QtMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace quillon {

void TQtMainThreadQueue::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}

TMainThreadQueue& MainThread() {
    static TQtMainThreadQueue queue;
    return queue;
}

} // namespace quillon
