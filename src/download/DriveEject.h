#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

class QDBusPendingCallWatcher;

// Hands a drive back to the user the way the desktop's own "Eject" does: flushes the file
// system that holds a path, unmounts every file system of its drive and powers the drive
// off, all through the disk service (UDisks2) on the bus it is given. One eject at a time;
// the answer comes as finished().
class DriveEject : public QObject
{
    Q_OBJECT

public:
    enum Outcome
    {
        Ejected,      // every file system of the drive is unmounted; pulling it is safe
        Busy,         // a file system is in use
        NotPermitted, // the disk service refused this user
        NoService,    // no bus, or no disk service on it
        NotFound,     // the disk service does not know the file system holding the path
        Failed,       // any other refusal; the message carries the service's reason
    };
    Q_ENUM(Outcome)

    explicit DriveEject(const QDBusConnection& bus, QObject* parent = nullptr);

    // Starts ejecting the drive that holds path; false when one is already under way.
    bool eject(const QString& path);
    bool isRunning() const { return running; }

    // What the user is told for an outcome; detail is the service's reason where it gave one.
    static QString messageFor(Outcome outcome, const QString& detail = QString());

signals:
    void finished(DriveEject::Outcome outcome, const QString& message);

private:
    void lookUp();
    void objectsArrived(QDBusPendingCallWatcher* call);
    void unmountNext();
    void powerOff();
    void finish(Outcome outcome, const QString& detail = QString());
    // The outcome an error name from the service stands for.
    static Outcome outcomeOf(const QString& errorName);

    QDBusConnection bus;
    bool running = false;
    QString mountPoint;
    QStringList toUnmount; // object paths of the drive's mounted file systems, ours first
    QString drivePath;     // "/" when the block device has no drive (a loop device)
};
