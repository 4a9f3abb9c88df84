#include "ui/SuspendWatcher.h"

#include <QDBusConnection>

namespace sonavel {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSignal = QStringLiteral("PrepareForSleep");

} // namespace

CSuspendWatcher::CSuspendWatcher(QObject* parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    registered_ = bus.isConnected() &&
                  bus.connect(kService, kPath, kInterface, kSignal, this, SLOT(OnPrepareForSleep(bool)));
}

void CSuspendWatcher::Unregister()
{
    if (registered_) {
        QDBusConnection::systemBus().disconnect(kService, kPath, kInterface, kSignal, this,
                                                SLOT(OnPrepareForSleep(bool)));
        registered_ = false;
    }
}

void CSuspendWatcher::OnPrepareForSleep(bool sleeping)
{
    if (sleeping) {
        emit suspending();
    }
}

} // namespace sonavel
