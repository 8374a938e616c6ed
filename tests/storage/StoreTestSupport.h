#pragma once

#include "storage/DatabaseManager.h"

#include <QMutex>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

// Shared by the store tests: keeps every log line in memory and counts rows with
// plain SQL on the store's own connection.
namespace StoreTest {

inline QMutex& logMutex()
{
    static QMutex mutex;
    return mutex;
}

inline QStringList& logLines()
{
    static QStringList lines;
    return lines;
}

inline void captureLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    QMutexLocker lock(&logMutex());
    logLines().append(message);
}

inline QStringList takeLog()
{
    QMutexLocker lock(&logMutex());
    QStringList lines = logLines();
    logLines().clear();
    return lines;
}

inline int rowCount(const QString& table, const QString& where = QString())
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    QString text = QStringLiteral("SELECT COUNT(*) FROM ") + table;
    if (!where.isEmpty())
        text += QStringLiteral(" WHERE ") + where;
    if (!query.exec(text) || !query.next())
        return -1;
    return query.value(0).toInt();
}

inline bool exec(const QString& text)
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    return query.exec(text);
}

} // namespace StoreTest
