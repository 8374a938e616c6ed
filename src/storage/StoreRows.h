#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

struct sqlite3_stmt;

// Forward-only rows of one statement, read straight from SQLite on the store's connection.
// For reads of hundreds of thousands of rows at start: QSqlQuery converts every column of
// every row to a QVariant (text through UTF-16), which costs more than the read itself.
// Text comes as UTF-8: rawText() without a copy (valid until the next row), text() as a
// QString. A failure logs logText with SQLite's message and throws message.
class StoreRows
{
public:
    StoreRows(const QSqlDatabase& db, const char* sql, const char* logText, const char* message);
    ~StoreRows();
    StoreRows(const StoreRows&) = delete;
    StoreRows& operator=(const StoreRows&) = delete;

    bool next();
    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArray rawText(int column) const;

private:
    [[noreturn]] void fail(const char* detail) const;

    sqlite3_stmt* m_statement = nullptr;
    const char* m_logText;
    const char* m_message;
};
