#include "download/DownloadOrder.h"

#include "model/DCP.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDebug>
#include <QVariant>

#include <algorithm>

DownloadOrder::DownloadOrder(DatabaseManager& store) : store(store)
{
    try {
        QSqlQuery query = store.getDownloadOrderQuery();
        while (query.next()) {
            const QString uuid = query.value(0).toString();
            if (!query.value(1).isNull())
                places.insert(uuid, query.value(1).toInt());
            if (query.value(2).toBool())
                paused.insert(uuid);
        }
    } catch (const std::exception& e) {
        // Downloads go on in the catalogue's order, none paused on its own.
        qDebug() << "[DownloadOrder] Unable to read the download order:" << e.what();
    }
}

QList<DCP*> DownloadOrder::arrange(const QList<DCP*>& dcps) const
{
    if (places.isEmpty())
        return dcps;
    QList<DCP*> ordered = dcps;
    std::stable_sort(ordered.begin(), ordered.end(), [this](const DCP* a, const DCP* b) {
        const int pa = places.value(a->getUuid(), -1);
        const int pb = places.value(b->getUuid(), -1);
        if (pa < 0 || pb < 0)
            return pa >= 0 && pb < 0; // the placed first
        return pa < pb;
    });
    return ordered;
}

bool DownloadOrder::isPaused(const DCP* dcp) const
{
    return dcp && paused.contains(dcp->getUuid());
}

bool DownloadOrder::setPaused(const DCP* dcp, bool value, const QList<DCP*>& known)
{
    if (!dcp || isPaused(dcp) == value)
        return false;
    QSet<QString> newPaused = paused;
    if (value)
        newPaused.insert(dcp->getUuid());
    else
        newPaused.remove(dcp->getUuid());
    save(places, newPaused, known);
    return true;
}

bool DownloadOrder::moveToFront(const DCP* dcp, const QList<DCP*>& waiting, const QList<DCP*>& known)
{
    QList<DCP*> order = waiting;
    const int at = order.indexOf(const_cast<DCP*>(dcp));
    if (at < 0)
        return false;
    order.move(at, 0);
    return place(order, known);
}

bool DownloadOrder::move(const DCP* dcp, int delta, const QList<DCP*>& waiting, const QList<DCP*>& known)
{
    QList<DCP*> order = waiting;
    const int at = order.indexOf(const_cast<DCP*>(dcp));
    const int to = at + delta;
    if (at < 0 || to < 0 || to >= order.size())
        return false;
    order.move(at, to);
    return place(order, known);
}

bool DownloadOrder::place(QList<DCP*> order, const QList<DCP*>& known)
{
    // Every waiting DCP gets its place; those without work left keep none.
    QHash<QString, int> newPlaces;
    for (int i = 0; i < order.size(); ++i)
        newPlaces.insert(order.at(i)->getUuid(), i);
    if (newPlaces == places)
        return false;
    save(newPlaces, paused, known);
    return true;
}

void DownloadOrder::save(QHash<QString, int> newPlaces, QSet<QString> newPaused, const QList<DCP*>& known)
{
    QSet<QString> uuids;
    for (const DCP* dcp : known) {
        const QString uuid = dcp->getUuid();
        if (newPlaces.contains(uuid) || newPaused.contains(uuid))
            uuids.insert(uuid);
    }
    Transaction transaction(store);
    store.truncateDownloadOrder();
    for (const QString& uuid : qAsConst(uuids))
        store.insertDownloadOrder(uuid, newPlaces.value(uuid, -1), newPaused.contains(uuid));
    transaction.commit();
    // Memory follows the store only once it holds the new state.
    places.clear();
    paused.clear();
    for (const QString& uuid : qAsConst(uuids)) {
        if (newPlaces.contains(uuid))
            places.insert(uuid, newPlaces.value(uuid));
        if (newPaused.contains(uuid))
            paused.insert(uuid);
    }
}
