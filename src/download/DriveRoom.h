#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class DCP;
class DatabaseManager;

// The volume a folder lives on: its mount point (which tells drives apart), the name the
// user knows it by (its label, else the mount point) and its free bytes (-1: unknown).
struct DriveSpace
{
    QString id;
    QString name;
    qint64 free = -1;
};

// Whether each drive holds what is queued for it. Each drive's free space goes to its DCPs in
// download order; a DCP that does not fit in what is left is recorded with the bytes it
// lacks, and the DCPs after it on that drive get what is left without it. While a DCP lacks
// room the free space is looked at again now and then (lookAgain), since the user may free
// some by hand.
class DriveRoom : public QObject
{
    Q_OBJECT

public:
    using Probe = std::function<DriveSpace(const QString& path)>;

    explicit DriveRoom(DatabaseManager& store, QObject* parent = nullptr);

    // The drive holding the path, as the system sees it.
    static DriveSpace probe(const QString& path);
    // "120 GB", "1.5 GB", "300 MB": sizes in units of 1024, as the tiles show them. A shortfall
    // is rounded up and free space down, so that neither reads better than it is.
    static QString sizeText(quint64 bytes, bool roundUp = true);

    // queued: the DCPs still to download, in download order. Returns whether the DCPs short of
    // room changed.
    bool update(const QList<DCP*>& queued);
    quint64 shortfall(const DCP* dcp) const { return shortfalls.value(dcp).bytes; }
    bool isEmpty() const { return shortfalls.isEmpty(); }
    // "Harbour Lights needs 120 GB more than the drive CINEMA1 holds", or an empty text.
    QString warning(const DCP* dcp) const;
    // The warning of the first DCP in the list that lacks room, or an empty text.
    QString firstWarning(const QList<DCP*>& order) const;
    // "Needs 120 GB more" for the DCP's tile, or an empty text.
    QString needed(const DCP* dcp) const;
    // "On CINEMA1 (/media/CINEMA1): 812 GB free", or an empty text when the drive is not there.
    QString describe(const DCP* dcp) const;
    // Bytes the DCP still has to write.
    quint64 remainingBytes(const DCP* dcp) const;

    // Tests: the drive lookup, or only its free bytes; empty functions restore the real ones.
    void setProbe(Probe value) { probeOverride = std::move(value); }
    void setFreeSpaceOverride(std::function<qint64(const QString&)> value)
    {
        freeOverride = std::move(value);
    }
    // 30 s; tests shorten it.
    void setInterval(int ms) { timer.setInterval(ms); }

signals:
    void lookAgain();

private:
    DriveSpace driveOf(const QString& path) const;

    struct Shortfall
    {
        quint64 bytes = 0;
        QString drive;
        bool operator==(const Shortfall& other) const { return bytes == other.bytes && drive == other.drive; }
    };
    DatabaseManager& store;
    QHash<const DCP*, Shortfall> shortfalls;
    mutable QHash<QString, quint64> listedSizes; // DCP uuid -> bytes, for DCPs listed without reels
    QTimer timer;
    Probe probeOverride;
    std::function<qint64(const QString&)> freeOverride;
};
