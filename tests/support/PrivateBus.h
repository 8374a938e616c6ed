#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// A D-Bus session bus of the test's own (dbus-daemon), for services stood in for by
// python3-dbusmock. The daemon dies with the test, also when it crashes; the mocks leave
// with their bus.
class PrivateBus
{
public:
    PrivateBus();
    // False when dbus-daemon or python3-dbusmock is missing.
    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    QDBusConnection connection() const;

    // A dbusmock serving service, from a template (-t) with parameters (-p); it logs every
    // call on its output. nullptr when it did not come up. Killed when dropped.
    std::unique_ptr<QProcess> startMock(const QString& service, const QStringList& arguments) const;
    // The calls a mock logged so far, in order, as "<method> <arguments>", without its answers.
    static QStringList calls(QProcess* mock);

private:
    QProcess m_daemon;
    QString m_address;
};
