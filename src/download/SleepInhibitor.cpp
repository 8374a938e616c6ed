#include "download/SleepInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>

SleepInhibitor::SleepInhibitor(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus(bus) {}

SleepInhibitor::~SleepInhibitor() = default; // the descriptor closes with the object

void SleepInhibitor::hold(const QString& reason, bool on)
{
    const bool wanted = !reasons.isEmpty();
    if (on)
        reasons.insert(reason);
    else
        reasons.remove(reason);
    if (reasons.isEmpty() == !wanted)
        return;
    if (reasons.isEmpty())
        release();
    else
        request();
}

void SleepInhibitor::request()
{
    if (lock.isValid() || pending)
        return;
    if (!bus.isConnected()) {
        if (!unavailableLogged)
            qDebug() << "[SleepInhibitor] No system bus; the machine may sleep during downloads:"
                     << bus.lastError().message();
        unavailableLogged = true;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Reelvane Downloader") << tr("Downloading DCP")
         << QStringLiteral("block");
    pending = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, &SleepInhibitor::answered);
}

void SleepInhibitor::answered(QDBusPendingCallWatcher* call)
{
    pending = nullptr;
    call->deleteLater();
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
    if (reply.isError()) {
        if (!unavailableLogged)
            qDebug() << "[SleepInhibitor] Unable to keep the machine awake:" << reply.error().name()
                     << reply.error().message();
        unavailableLogged = true;
        return;
    }
    if (reasons.isEmpty())
        return; // let go of while the request was on its way: the reply's descriptor closes here
    lock = reply.value();
    qDebug() << "[SleepInhibitor] Keeping the machine awake";
    emit heldChanged(true);
}

void SleepInhibitor::release()
{
    if (!lock.isValid())
        return;
    lock = QDBusUnixFileDescriptor();
    qDebug() << "[SleepInhibitor] The machine may sleep again";
    emit heldChanged(false);
}
