#include "storage/StoreRows.h"

#include <QDebug>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>
#include <stdexcept>

StoreRows::StoreRows(const QSqlDatabase& db, const char* sql, const char* logText, const char* message)
    : m_logText(logText), m_message(message)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    sqlite3* connection = nullptr;
    if (handle.isValid() && std::strcmp(handle.typeName(), "sqlite3*") == 0)
        connection = *static_cast<sqlite3* const*>(handle.constData());
    if (!connection)
        fail("the connection is not an open SQLite database");
    if (sqlite3_prepare_v2(connection, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
        const char* detail = sqlite3_errmsg(connection);
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        fail(detail);
    }
}

StoreRows::~StoreRows()
{
    sqlite3_finalize(m_statement);
}

void StoreRows::fail(const char* detail) const
{
    qDebug() << m_logText << detail;
    throw std::runtime_error(m_message);
}

bool StoreRows::next()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    fail(sqlite3_errmsg(sqlite3_db_handle(m_statement)));
}

bool StoreRows::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 StoreRows::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString StoreRows::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column)) : QString();
}

QByteArray StoreRows::rawText(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QByteArray::fromRawData(data, sqlite3_column_bytes(m_statement, column)) : QByteArray();
}
