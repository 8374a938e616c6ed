#include "download/DriveEject.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QDir>
#include <QMap>
#include <QStorageInfo>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString Service = QStringLiteral("org.freedesktop.UDisks2");
const QString Root = QStringLiteral("/org/freedesktop/UDisks2");
const QString BlockIface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString FilesystemIface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString DriveIface = QStringLiteral("org.freedesktop.UDisks2.Drive");
// Unmounting writes back what is still cached, which on a slow stick outlasts the bus's
// default 25 s.
const int WriteBackTimeoutMs = 300000;

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

// Mount points travel as NUL-terminated byte arrays.
QStringList mountPointsOf(const QVariant& value)
{
    QList<QByteArray> raw;
    if (value.canConvert<QDBusArgument>())
        raw = qdbus_cast<QList<QByteArray>>(value.value<QDBusArgument>());
    else
        raw = value.value<QList<QByteArray>>();
    QStringList points;
    for (QByteArray point : raw) {
        while (point.endsWith('\0'))
            point.chop(1);
        points << QDir::cleanPath(QString::fromLocal8Bit(point));
    }
    return points;
}

QString drivePathOf(const Interfaces& interfaces)
{
    return interfaces.value(BlockIface).value(QStringLiteral("Drive")).value<QDBusObjectPath>().path();
}

} // namespace

DriveEject::DriveEject(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus(bus)
{
    qRegisterMetaType<DriveEject::Outcome>("DriveEject::Outcome");
    qDBusRegisterMetaType<QList<QByteArray>>();
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<ManagedObjects>();
}

bool DriveEject::eject(const QString& path)
{
    if (running)
        return false;
    running = true;
    toUnmount.clear();
    drivePath.clear();
    const QStorageInfo volume(path);
    mountPoint = volume.isValid() ? QDir::cleanPath(volume.rootPath()) : QString();
    qDebug() << "[DriveEject] Ejecting the drive of" << path << "mounted at" << mountPoint;
    if (mountPoint.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this]() { finish(NotFound); }, Qt::QueuedConnection);
        return true;
    }
    // Unmounting flushes as well, but only after the service's own time-out has started;
    // a large write-back is better done here first, off the main thread.
    QThread* flush = QThread::create([root = mountPoint]() {
        const int fd = ::open(root.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || ::syncfs(fd) != 0)
            qDebug() << "[DriveEject] Unable to flush" << root << ::strerror(errno);
        if (fd >= 0)
            ::close(fd);
    });
    connect(flush, &QThread::finished, this, &DriveEject::lookUp);
    connect(flush, &QThread::finished, flush, &QObject::deleteLater);
    flush->start();
    return true;
}

void DriveEject::lookUp()
{
    if (!bus.isConnected()) {
        finish(NoService, bus.lastError().message());
        return;
    }
    const QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Root, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                       QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DriveEject::objectsArrived);
}

void DriveEject::objectsArrived(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<ManagedObjects> reply = *call;
    if (reply.isError()) {
        const QDBusError error = reply.error();
        const bool absent =
            error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoReply ||
            error.type() == QDBusError::UnknownObject || error.type() == QDBusError::Disconnected;
        finish(absent ? NoService : outcomeOf(error.name()), error.message());
        return;
    }
    const ManagedObjects objects = reply.value();
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        if (mountPointsOf(it.value().value(FilesystemIface).value(QStringLiteral("MountPoints")))
                .contains(mountPoint)) {
            toUnmount << it.key().path();
            drivePath = drivePathOf(it.value());
            break;
        }
    }
    if (toUnmount.isEmpty()) {
        finish(NotFound);
        return;
    }
    // Powering the drive off while another of its partitions is mounted would lose that
    // one's unwritten data: every mounted file system of the drive goes first.
    if (!drivePath.isEmpty() && drivePath != QLatin1String("/")) {
        for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
            const QVariantMap fs = it.value().value(FilesystemIface);
            if (!toUnmount.contains(it.key().path()) && drivePathOf(it.value()) == drivePath &&
                !mountPointsOf(fs.value(QStringLiteral("MountPoints"))).isEmpty())
                toUnmount << it.key().path();
        }
    }
    unmountNext();
}

void DriveEject::unmountNext()
{
    if (toUnmount.isEmpty()) {
        powerOff();
        return;
    }
    const QString path = toUnmount.takeFirst();
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, path, FilesystemIface, QStringLiteral("Unmount"));
    call << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, WriteBackTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<> reply = *w;
        if (reply.isError() &&
            reply.error().name() != QLatin1String("org.freedesktop.UDisks2.Error.NotMounted")) {
            qDebug() << "[DriveEject] Unmount of" << path << "refused:" << reply.error().name()
                     << reply.error().message();
            finish(outcomeOf(reply.error().name()), reply.error().message());
            return;
        }
        unmountNext();
    });
}

void DriveEject::powerOff()
{
    if (drivePath.isEmpty() || drivePath == QLatin1String("/")) {
        finish(Ejected);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, drivePath, DriveIface, QStringLiteral("PowerOff"));
    call << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, WriteBackTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<> reply = *w;
        // Everything is unmounted and written by now: a drive that cannot be powered off
        // (a card reader, a policy) is still safe to pull.
        if (reply.isError())
            qDebug() << "[DriveEject] Power-off of" << drivePath << "refused:" << reply.error().name()
                     << reply.error().message();
        finish(Ejected);
    });
}

void DriveEject::finish(Outcome outcome, const QString& detail)
{
    running = false;
    if (outcome == NoService) {
        static bool logged = false;
        if (!logged)
            qDebug() << "[DriveEject] No disk service (UDisks2) on the bus:" << detail;
        logged = true;
    }
    qDebug() << "[DriveEject] Outcome for" << mountPoint << outcome << detail;
    emit finished(outcome, messageFor(outcome, detail));
}

DriveEject::Outcome DriveEject::outcomeOf(const QString& errorName)
{
    if (errorName == QLatin1String("org.freedesktop.UDisks2.Error.DeviceBusy"))
        return Busy;
    if (errorName.startsWith(QLatin1String("org.freedesktop.UDisks2.Error.NotAuthorized")) ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
        return NotPermitted;
    if (errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return NoService;
    return Failed;
}

QString DriveEject::messageFor(Outcome outcome, const QString& detail)
{
    switch (outcome) {
    case Ejected:
        return tr("It is now safe to remove the drive");
    case Busy:
        return tr("The drive cannot be ejected because it is busy. Close every window and "
                  "program that uses files on it, then try again.");
    case NotPermitted:
        return tr("The drive cannot be ejected because this user is not permitted to eject it.");
    case NoService:
        return tr("The drive cannot be ejected from here because this desktop has no disk "
                  "service (UDisks2). Eject it from the file manager before removing it.");
    case NotFound:
        return tr("The drive cannot be ejected from here because the desktop's disk service "
                  "does not know it. Eject it from the file manager before removing it.");
    case Failed:
        break;
    }
    return tr("The drive cannot be ejected: %1").arg(detail);
}
