#pragma once

#include <QList>
#include <QSet>
#include <QString>

class DatabaseManager;
class DCP;

// Builds the catalogue's objects from the store at start. Reads the DCP, reel, asset and link
// tables once each and joins them in memory, giving exactly what stepping through the store's
// joined DCP query gives: one visit per link whose DCP, reel and asset rows all exist, newest
// DCP first and, within a DCP, in the order the assets were stored (links of one asset in
// the order they were stored). Text that repeats across rows (types, folders, the user) is
// held once and shared by every object that carries it.
class CatalogueLoader
{
public:
    explicit CatalogueLoader(DatabaseManager* store) : m_store(store) {}

    // The linked DCPs, newest first; the caller owns them. Those named in withReels (every one
    // when it is null) come with their reels and assets, the others without (loadReels later).
    // Store failures are the store's exceptions; nothing is left allocated then.
    QList<DCP*> load(const QSet<QString>* withReels = nullptr);
    // Creates the reels and assets of DCPs listed without them, just as load would have. No
    // other listed DCP may share a reel with them. On a store failure nothing is added.
    void loadReels(const QList<DCP*>& dcps);

private:
    DatabaseManager* m_store;
};
