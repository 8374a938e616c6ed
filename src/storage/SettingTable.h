#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// The user's settings (table setting).
// The statements only: DatabaseManager decides when their writes reach the disk.
class SettingTable
{
public:
    explicit SettingTable(QSqlDatabase& db) : db(db) {}

    QSqlQuery getSettingQuery();
    bool insertSetting(const QString& key, const QString& value);
    bool truncateSettings();

private:
    QSqlDatabase& db;
};
