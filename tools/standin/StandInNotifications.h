#pragma once

#include "StandInServer.h"

#include <QList>
#include <QMutex>
#include <QPointer>

class StandInConnection;

// The stand-in's notification service ("/notification/dcp", with its fault modes) and the
// address the program posts its alerts to ("/alerts"). Every member may be called from any
// thread; the answers and answerHeld() from the thread of the connections.
class StandInNotifications
{
public:
    using NotifyFault = StandInServer::NotifyFault;
    using QueryItems = StandInServer::QueryItems;
    using JournalEntry = StandInServer::JournalEntry;

    void setFault(const NotifyFault& fault);
    // The decoded query items of every notification request, in order.
    QList<QueryItems> received() const;
    void clearReceived();
    // Answers the requests held by NotifyFault::neverAnswer with the current body.
    void answerHeld();
    // The next K alerts answer 503.
    void setAlertFailures(int failFirst);

    // GET /notification/dcp.
    void answerNotification(StandInConnection* connection, const JournalEntry& request);
    // POST /alerts.
    void answerAlert(StandInConnection* connection);

private:
    mutable QMutex mutex;
    NotifyFault fault;
    int failed = 0;
    QList<QueryItems> notifications;
    QList<QPointer<StandInConnection>> held;
    int alertFailures = 0;
};
