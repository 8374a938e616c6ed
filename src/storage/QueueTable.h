#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// The user's download order and the DCPs paused one by one (table dcp_queue).
// The statements only: DatabaseManager decides when their writes reach the disk.
class QueueTable
{
public:
    explicit QueueTable(QSqlDatabase& db) : db(db) {}

    QSqlQuery getDownloadOrderQuery();
    bool truncateDownloadOrder();
    bool insertDownloadOrder(const QString& dcpUuid, int position, bool paused);

private:
    QSqlDatabase& db;
};
