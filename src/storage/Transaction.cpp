#include "storage/Transaction.h"

#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QSqlError>

#include <stdexcept>

Transaction::Transaction(DatabaseManager& store) : m_db(store.db)
{
    // What the store gathered goes first: this transaction's rollback must not take it along.
    store.commitPending();
    m_owned = m_db.transaction();
    if (!m_owned)
        qDebug() << "[Transaction] Unable to begin, going on in the open one:" << m_db.lastError().text();
}

Transaction::~Transaction()
{
    if (!m_owned || m_done)
        return;
    if (!m_db.rollback())
        qDebug() << "[Transaction] Unable to roll back:" << m_db.lastError().text();
    else
        qDebug() << "[Transaction] Rolled back";
}

void Transaction::commit()
{
    if (!m_owned || m_done)
        return;
    m_done = true;
    if (m_db.commit())
        return;
    qDebug() << "[Transaction] Unable to commit:" << m_db.lastError().text();
    m_db.rollback();
    throw std::runtime_error("Unable to commit the transaction");
}
