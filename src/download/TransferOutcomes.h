#pragma once

#include "download/AssetTransfer.h"
#include "notify/NotificationType.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <exception>

class Asset;
class DCP;
class DatabaseManager;
class DownloadDrives;
class DownloadManager;

// What the engine makes of each attempt of the current asset's transfer: progress recorded and
// reported per reel, a finished file handed on with its reels, a failure turned into a retry,
// a pause with its box, a question to the user or a file that waits while the others go on.
class TransferOutcomes
{
    Q_DECLARE_TR_FUNCTIONS(TransferOutcomes)

public:
    TransferOutcomes(DownloadManager& engine, DownloadDrives& drives, DatabaseManager& store,
                     ReelEventSink events);

    void progress(Asset* asset, bool firstData, double speed);
    void failed(Asset* asset, AssetTransfer::Failure failure, const QString& reason, int failuresInARow);
    void finished(Asset* asset);
    // Progress that can not be stored: retrying would fetch data whose progress can never be
    // recorded, so the engine stops until the user acts.
    void storeFailed(const std::exception& e);
    // The server refused the DCP's links or lacks one of its files: paused, and the DCP removed
    // if the user says so.
    void linksRefused(DCP* dcp, const QString& message);

    // Why one of the DCP's files waits (the server's file has another size), or an empty text.
    QString sizeDisagreement(const DCP* dcp) const;
    // The asset is asked for again, or leaves the queue.
    void forget(const Asset* asset) { sizeDisagreements.remove(asset); }

private:
    DownloadManager& engine;
    DownloadDrives& drives;
    DatabaseManager& store;
    const ReelEventSink events;
    QHash<const Asset*, QString> sizeDisagreements; // asset waiting -> text for its DCP's tile
};
