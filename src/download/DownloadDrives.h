#pragma once

#include "download/DriveRoom.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class Asset;
class DCP;
class DatabaseManager;
class DownloadOrder;
class DriveWatch;

// The drives the engine writes to: whether a DCP's drive is there, and whether it has room for
// what is queued on it and for the next file. The engine decides what a change means for the
// queue; this says that one happened.
class DownloadDrives : public QObject
{
    Q_OBJECT

public:
    // order: which DCPs are paused on their own (they claim no room).
    DownloadDrives(DatabaseManager& store, const DownloadOrder& order, QObject* parent = nullptr);

    DriveRoom& room() { return spaces; }
    const DriveRoom& room() const { return spaces; }

    // Follows the watch's drives: driveChanged for a DCP whose drive went or came back.
    void follow(DriveWatch* watch);
    // Whether a missing file or folder of the DCP is its pulled drive (then handled without a box).
    bool isGone(DCP* dcp) const;
    // Whether the asset's drive holds what its file still lacks; if not, the box that says why
    // (a missing folder is a pulled drive or a deleted folder, not a full disk).
    bool hasRoomFor(const Asset* asset);

    // Updates the room for the DCPs in download order; true when a DCP started or stopped
    // lacking room.
    bool update(const QList<DCP*>& ordered);

    // Tests only: replaces the free-space lookup (bytes available on the volume holding the
    // path); an empty function restores the real one.
    void setFreeSpaceProbe(std::function<qint64(const QString&)> probe);

signals:
    // Queued: a drive found gone inside a transfer's failure is handled once that has returned.
    void driveChanged(DCP* dcp);
    void roomChanged();

private:
    qint64 freeSpace(const QString& path) const;

    const DownloadOrder& order;
    DriveRoom spaces;
    QPointer<DriveWatch> watch;
    std::function<qint64(const QString&)> freeSpaceProbe;
};
