#pragma once

#include <QSqlDatabase>

// Scoped transaction on the store's connection for writes of several rows:
//
//     Transaction transaction(store);
//     store.truncateSettings();
//     store.insertSetting(...);   // may throw
//     transaction.commit();
//
// If the scope is left without commit() (a statement threw), the destructor rolls back,
// so a failed write never leaves the connection inside an open transaction where every
// later write would wait for a commit that never comes and be lost at exit.
// If a transaction is already open on the connection, this one joins it: it neither
// commits nor rolls back, and the outer owner decides.
class DatabaseManager;

class Transaction
{
public:
    explicit Transaction(DatabaseManager& store);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Commits; throws std::runtime_error("Unable to commit the transaction") after
    // rolling back when the commit fails.
    void commit();

    // Whether this object began the transaction (false when it joined an outer one).
    bool ownsTransaction() const { return m_owned; }

private:
    QSqlDatabase m_db;
    bool m_owned = false;
    bool m_done = false;
};
