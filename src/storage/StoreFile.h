#pragma once

#include <QSqlDatabase>
#include <QString>

// The store's file itself: made private to the user, checked for use before the program
// relies on it, and given its tables and indexes.
class StoreFile
{
public:
    // Creates an empty file readable by the user alone, if there is none.
    static void createPrivately(const QString& path);
    // Why the file cannot be used, or an empty text (see DatabaseManager::writeProblem).
    static QString writeProblem(const QString& path);
    // The tables and indexes, where missing; false when a statement fails.
    static bool createTables(QSqlDatabase& db);
};
