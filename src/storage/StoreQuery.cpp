#include "storage/StoreQuery.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "storage/StoreRows.h"

#include <QDebug>
#include <QSqlError>

#include <stdexcept>

namespace StoreQuery {

void fail(const QSqlQuery& query, const char* logText, const char* message)
{
    qDebug() << logText << query.lastError().text();
    throw std::runtime_error(message);
}

void execOrFail(QSqlQuery& query, const char* logText, const char* message)
{
    if (!query.exec())
        fail(query, logText, message);
}

QVariant notNullText(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QString assetDcpUuid(const Asset* asset)
{
    return asset->getDCP() ? asset->getDCP()->getUuid() : QString();
}

QString placeholders(int count)
{
    QString list = QStringLiteral("?,").repeated(count);
    list.chop(1);
    return list;
}

int count(QSqlDatabase& db, const char* sql)
{
    StoreRows rows(db, sql, "[DatabaseManager] Unable to count rows:", "Unable to count rows");
    return rows.next() ? int(rows.integer(0)) : 0;
}

QStringList uuids(QSqlDatabase& db, const char* sql)
{
    QStringList uuids;
    StoreRows rows(db, sql, "[DatabaseManager] Unable to run DCP query:", "Unable to run DCP query");
    while (rows.next())
        uuids.append(rows.text(0));
    return uuids;
}

} // namespace StoreQuery
