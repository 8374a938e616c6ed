#include "PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QRegularExpression>
#include <QtTest>

PrivateBus::PrivateBus()
{
    m_daemon.start(QStringLiteral("setpriv"),
                   {QStringLiteral("--pdeathsig"), QStringLiteral("KILL"), QStringLiteral("dbus-daemon"),
                    QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForReadyRead(10000) ||
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import dbusmock")}))
        return;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

QDBusConnection PrivateBus::connection() const
{
    return QDBusConnection::connectToBus(m_address, QStringLiteral("private"));
}

std::unique_ptr<QProcess> PrivateBus::startMock(const QString& service, const QStringList& arguments) const
{
    auto mock = std::make_unique<QProcess>();
    mock->setEnvironment(QProcess::systemEnvironment()
                         << QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + m_address);
    mock->start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session")} +
                    arguments);
    const QDBusConnection bus = connection();
    const bool up =
        QTest::qWaitFor([&]() { return bus.interface()->isServiceRegistered(service).value(); }, 15000);
    return up ? std::move(mock) : nullptr;
}

QStringList PrivateBus::calls(QProcess* mock)
{
    const QByteArray log = mock->property("log").toByteArray() + mock->readAllStandardOutput();
    mock->setProperty("log", log);
    QStringList seen;
    for (const QString& line : QString::fromUtf8(log).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.contains(QRegularExpression(QStringLiteral(" raised: |GetManagedObjects|ListInhibitors"))))
            seen << line.section(QLatin1Char(' '), 1);
    return seen;
}
