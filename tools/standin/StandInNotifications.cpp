#include "StandInNotifications.h"

#include "StandInConnection.h"

#include <QMutexLocker>
#include <QUrlQuery>

void StandInNotifications::setFault(const NotifyFault& newFault)
{
    QMutexLocker lock(&mutex);
    fault = newFault;
    failed = 0;
}

QList<StandInNotifications::QueryItems> StandInNotifications::received() const
{
    QMutexLocker lock(&mutex);
    return notifications;
}

void StandInNotifications::clearReceived()
{
    QMutexLocker lock(&mutex);
    notifications.clear();
}

void StandInNotifications::answerHeld()
{
    QList<QPointer<StandInConnection>> waiting;
    QByteArray body;
    {
        QMutexLocker lock(&mutex);
        waiting.swap(held);
        body = fault.body;
    }
    for (const auto& connection : qAsConst(waiting)) {
        if (connection)
            connection->sendSimple(200, "text/plain", body);
    }
}

void StandInNotifications::setAlertFailures(int failFirst)
{
    QMutexLocker lock(&mutex);
    alertFailures = failFirst;
}

void StandInNotifications::answerNotification(StandInConnection* connection, const JournalEntry& request)
{
    const QUrlQuery query(request.query);
    const QueryItems items = query.queryItems(QUrl::FullyDecoded);

    // The service needs all four items, the last three as numbers and a known event.
    bool wellFormed = true;
    for (const char* key : {"user_uuid", "campaign_dcp_id", "reel_number", "event"})
        wellFormed = wellFormed && query.hasQueryItem(QLatin1String(key));
    qint64 number = 0;
    for (const char* key : {"campaign_dcp_id", "reel_number", "event"})
        wellFormed = wellFormed && StandInConnection::parseDigits(
                                       query.queryItemValue(QLatin1String(key)).toLatin1(), &number);
    wellFormed = wellFormed && number >= 1 && number <= 8; // the last one read is the event

    QMutexLocker lock(&mutex);
    notifications.append(items);
    if (fault.neverAnswer) {
        held.append(connection);
        connection->hold();
        return;
    }
    if (!wellFormed) {
        lock.unlock();
        return connection->sendSimple(400, "text/plain", "missing or bad query item\n");
    }
    if (failed < fault.failFirst) {
        ++failed;
        lock.unlock();
        return connection->sendSimple(503, "text/plain", "unavailable");
    }
    const QByteArray body = fault.body;
    lock.unlock();
    connection->sendSimple(200, "text/plain", body);
}

void StandInNotifications::answerAlert(StandInConnection* connection)
{
    QMutexLocker lock(&mutex);
    const bool fail = alertFailures > 0;
    alertFailures = qMax(0, alertFailures - 1);
    lock.unlock();
    if (fail)
        connection->sendSimple(503, "text/plain", "unavailable\n");
    else
        connection->sendSimple(200, "text/plain", "ok");
}
