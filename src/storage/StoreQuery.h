#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

class Asset;

// An asset with work left: not finished, not verified, corrupted or still under its hidden name.
// The same text in the partial index and in the query, so that SQLite uses the one for the other.
#define UNSETTLED_ASSET                                                                                      \
    "(NOT download_finished OR NOT download_checksummed OR download_corrupted OR "                           \
    "substr(original_filename, 1, 1) = '.')"
// An asset with work left that has been worked on: one not yet started is not.
#define ASSET_IN_PROGRESS                                                                                    \
    "((download_started OR download_finished OR download_checksummed OR download_corrupted) "                \
    "AND " UNSETTLED_ASSET ")"

// What the store's table classes share: running a statement or raising its fixed message.
namespace StoreQuery {
// Logs "<logText> <last error>" and raises the operation's fixed message.
[[noreturn]] void fail(const QSqlQuery& query, const char* logText, const char* message);
void execOrFail(QSqlQuery& query, const char* logText, const char* message);
// Qt binds a null QString as SQL NULL, which the NOT NULL text columns refuse: an asset
// at the top of its DCP folder has no directory path at all. Those are stored as ''.
QVariant notNullText(const QString& value);
QString assetDcpUuid(const Asset* asset);
// "?,?,?" with one placeholder per item; empty for no items (SQLite accepts "IN()").
QString placeholders(int count);
// The first column of the first row as a number, or 0 without a row.
int count(QSqlDatabase& db, const char* sql);
// The first column of every row.
QStringList uuids(QSqlDatabase& db, const char* sql);
} // namespace StoreQuery
