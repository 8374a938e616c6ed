#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class DCP;
class DatabaseManager;

// Where the user put each DCP in the download queue and which DCPs are paused on their own,
// kept in the store (dcp_queue) so that both outlast a restart. DCPs the user never placed
// follow those placed, in the catalogue's order; so a DCP imported after the user arranged
// the queue joins at its end.
class DownloadOrder
{
public:
    // Reads the stored order; a store that cannot be read leaves it empty (and logs).
    explicit DownloadOrder(DatabaseManager& store);

    // The DCPs in download order.
    QList<DCP*> arrange(const QList<DCP*>& dcps) const;
    bool isPaused(const DCP* dcp) const;

    // Each stores the new state whole (throwing, with nothing changed, when the store fails)
    // and returns whether anything changed. waiting: the DCPs with work left, in download
    // order; known: every catalogued DCP (rows of DCPs that have gone are dropped).
    bool setPaused(const DCP* dcp, bool paused, const QList<DCP*>& known);
    bool moveToFront(const DCP* dcp, const QList<DCP*>& waiting, const QList<DCP*>& known);
    // One place up (delta -1) or down (+1) among the waiting DCPs.
    bool move(const DCP* dcp, int delta, const QList<DCP*>& waiting, const QList<DCP*>& known);

private:
    bool place(QList<DCP*> order, const QList<DCP*>& known);
    // By value: the caller may pass the members themselves.
    void save(QHash<QString, int> newPlaces, QSet<QString> newPaused, const QList<DCP*>& known);

    DatabaseManager& store;
    QHash<QString, int> places; // DCP uuid -> place, 0 first
    QSet<QString> paused;       // DCP uuids
};
