#include "storage/SettingTable.h"

#include "storage/StoreQuery.h"

#include <QVariant>

using namespace StoreQuery;

QSqlQuery SettingTable::getSettingQuery()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT key,value FROM setting")))
        fail(query, "[DatabaseManager] Unable to run Setting query", "Unable to run Setting query");
    return query;
}

bool SettingTable::insertSetting(const QString& key, const QString& value)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO setting (key,  value) VALUES           (:key, :value)"));
    query.bindValue(QStringLiteral(":key"), notNullText(key));
    query.bindValue(QStringLiteral(":value"), notNullText(value));
    execOrFail(query,
               "[DatabaseManager] Unable to run insertSetting query:", "Unable to run insertSetting query");
    return true;
}

bool SettingTable::truncateSettings()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM setting")))
        fail(query, "[DatabaseManager] Unable to run truncateSettings query:",
             "Unable to run truncateSettings query");
    return true;
}
