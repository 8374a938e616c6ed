#include "storage/QueueTable.h"

#include "storage/StoreQuery.h"

#include <QVariant>

using namespace StoreQuery;

QSqlQuery QueueTable::getDownloadOrderQuery()
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT dcp_uuid,position,paused FROM dcp_queue")))
        fail(query, "[DatabaseManager] Unable to run getDownloadOrder query",
             "Unable to run getDownloadOrder query");
    return query;
}

bool QueueTable::truncateDownloadOrder()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM dcp_queue")))
        fail(query, "[DatabaseManager] Unable to run truncateDownloadOrder query:",
             "Unable to run truncateDownloadOrder query");
    return true;
}

bool QueueTable::insertDownloadOrder(const QString& dcpUuid, int position, bool paused)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO dcp_queue (dcp_uuid, position, paused) VALUES (?, ?, ?)"));
    query.addBindValue(notNullText(dcpUuid));
    query.addBindValue(position >= 0 ? QVariant(position) : QVariant(QVariant::Int));
    query.addBindValue(paused);
    execOrFail(query, "[DatabaseManager] Unable to run insertDownloadOrder query:",
               "Unable to run insertDownloadOrder query");
    return true;
}
