#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QSet>
#include <QString>

class QDBusPendingCallWatcher;

// Keeps the machine from sleeping or idling away while work is under way: holds a logind
// inhibitor lock (on the bus it is given) as long as any reason is held. The lock is the
// file descriptor logind hands out; closing it releases the lock.
class SleepInhibitor : public QObject
{
    Q_OBJECT

public:
    explicit SleepInhibitor(const QDBusConnection& bus, QObject* parent = nullptr);
    ~SleepInhibitor() override;

    // Holds (on) or lets go of (off) one reason, e.g. "transfer" or "check".
    void hold(const QString& reason, bool on);
    bool isHeld() const { return lock.isValid(); }

signals:
    void heldChanged(bool held);

private:
    void request();
    void answered(QDBusPendingCallWatcher* call);
    void release();

    QDBusConnection bus;
    QSet<QString> reasons;
    QDBusUnixFileDescriptor lock;
    QDBusPendingCallWatcher* pending = nullptr;
    bool unavailableLogged = false;
};
