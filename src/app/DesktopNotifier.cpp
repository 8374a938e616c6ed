#include "app/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QIcon>
#include <QSystemTrayIcon>

#include <utility>

namespace {
const char kService[] = "org.freedesktop.Notifications";
const char kPath[] = "/org/freedesktop/Notifications";
const char kInterface[] = "org.freedesktop.Notifications";
// The icon and the menu entry the package installs.
const char kDesktopName[] = "reelvane-downloader";
} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, bool withTray, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    qRegisterMetaType<DesktopNotifier::Route>();
    if (withTray) {
        m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/reelvane_logo.svg")), this);
        m_tray->setToolTip(QStringLiteral("Reelvane Downloader"));
        m_tray->show();
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
            if (!m_trayDcp.isEmpty())
                emit activated(m_trayDcp);
        });
    }
    if (!m_bus.isConnected())
        return;
    m_bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                  QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint, QString)));
    m_bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                  QStringLiteral("NotificationClosed"), this, SLOT(notificationClosed(uint, uint)));
    // Whether a title with "&" or "<" must be escaped; asked once, without waiting. Events
    // raised before the answer wait for it.
    auto* const capabilities = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage::createMethodCall(
                            QString::fromLatin1(kService), QString::fromLatin1(kPath),
                            QString::fromLatin1(kInterface), QStringLiteral("GetCapabilities")),
                        replyTimeoutMs),
        this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> reply = *call;
        if (!reply.isError())
            m_markup = reply.value().contains(QStringLiteral("body-markup"));
        m_capabilitiesKnown = true;
        const QList<AttentionEvent> waiting = std::exchange(m_waiting, {});
        for (const AttentionEvent& event : waiting)
            show(event);
    });
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::show(const AttentionEvent& event)
{
    if (!m_bus.isConnected()) {
        showWithoutService(event);
        return;
    }
    if (!m_capabilitiesKnown) {
        m_waiting << event;
        return;
    }
    if (!event.dcpUuid.isEmpty()) {
        if (m_sending.contains(event.dcpUuid)) {
            m_held.insert(event.dcpUuid, event);
            return;
        }
        m_sending.insert(event.dcpUuid);
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    // Problems stay on screen until someone has seen them; a ready DCP comes and goes.
    const uchar urgency = event.kind == AttentionEvent::DcpReady ? 1 : 2;
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(urgency)},
                            {QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopName)}};
    message << QStringLiteral("Reelvane Downloader") << m_shownByDcp.value(event.dcpUuid)
            << QString::fromLatin1(kDesktopName) << event.headline
            << (m_markup ? event.text.toHtmlEscaped() : event.text)
            << QStringList{QStringLiteral("default"), tr("Show")} << hints << -1;
    auto* const call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, replyTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, event](QDBusPendingCallWatcher* watcher) { notifyFinished(watcher, event); });
}

void DesktopNotifier::notifyFinished(QDBusPendingCallWatcher* call, const AttentionEvent& event)
{
    call->deleteLater();
    m_sending.remove(event.dcpUuid);
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        qDebug() << "[DesktopNotifier] No notification service:" << reply.error().name();
        showWithoutService(event);
    } else {
        if (!event.dcpUuid.isEmpty())
            m_shownByDcp.insert(event.dcpUuid, reply.value());
        qDebug() << "[DesktopNotifier] Notification" << reply.value() << event.name();
        emit notified(Desktop, event.text);
    }
    // The DCP's newer event replaces the one just shown.
    if (m_held.contains(event.dcpUuid))
        show(m_held.take(event.dcpUuid));
}

void DesktopNotifier::showWithoutService(const AttentionEvent& event)
{
    if (!m_tray) {
        qDebug() << "[DesktopNotifier] Neither notification service nor tray:" << event.name()
                 << event.dcpUuid;
        emit notified(LogOnly, event.text);
        return;
    }
    m_trayDcp = event.dcpUuid;
    m_tray->showMessage(event.headline, event.text,
                        event.kind == AttentionEvent::DcpReady ? QSystemTrayIcon::Information
                                                               : QSystemTrayIcon::Warning);
    emit notified(Tray, event.text);
}

void DesktopNotifier::actionInvoked(uint id, const QString& action)
{
    if (action != QLatin1String("default"))
        return;
    const QString dcp = m_shownByDcp.key(id);
    if (!dcp.isEmpty())
        emit activated(dcp);
}

void DesktopNotifier::notificationClosed(uint id, uint)
{
    const QString dcp = m_shownByDcp.key(id);
    if (!dcp.isEmpty())
        m_shownByDcp.remove(dcp);
}
