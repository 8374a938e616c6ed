#pragma once

#include "notify/AttentionEvents.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class QDBusPendingCallWatcher;
class QSystemTrayIcon;

// Shows the staff's attention events on the desktop: through the freedesktop notification
// service (org.freedesktop.Notifications) that every Linux desktop runs, where that does not
// answer through the tray icon, and where there is neither only in the log. One notification
// per DCP: a newer event of the same DCP replaces the one shown. Clicking a notification (its
// default action) asks for the window on that DCP. Nothing here waits for the service.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    enum Route
    {
        Desktop,
        Tray,
        LogOnly
    };
    Q_ENUM(Route)

    // bus: the session bus in the program. withTray: whether the desktop has a tray.
    explicit DesktopNotifier(const QDBusConnection& bus, bool withTray, QObject* parent = nullptr);
    ~DesktopNotifier() override;

    bool hasTray() const { return m_tray != nullptr; }
    void show(const AttentionEvent& event);

    // How long the service may take to take a notification before the tray stands in.
    int replyTimeoutMs = 5000;

signals:
    // After each event, by the route that carried it.
    void notified(DesktopNotifier::Route route, const QString& text);
    // The user clicked the notification of this DCP.
    void activated(const QString& dcpUuid);

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    void notifyFinished(QDBusPendingCallWatcher* call, const AttentionEvent& event);
    void showWithoutService(const AttentionEvent& event);

    QDBusConnection m_bus;
    QSystemTrayIcon* m_tray = nullptr;
    bool m_markup = true;
    bool m_capabilitiesKnown = false;
    QList<AttentionEvent> m_waiting; // until the service said what it can show
    QHash<QString, uint> m_shownByDcp;
    // DCPs whose Notify has not answered yet, and the newest event held for each: sent once
    // the id to replace is known, so two events close together do not stack.
    QSet<QString> m_sending;
    QHash<QString, AttentionEvent> m_held;
    QString m_trayDcp; // of the last tray message
};
