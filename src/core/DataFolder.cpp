#include "core/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {
QString locate()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    // A store already there is the user's: it stays the store even where the folder has
    // become read-only (a read-only mount), and the start-up check then says why it cannot
    // be written instead of starting on a new, empty store elsewhere.
    if (QFileInfo::exists(executableFolder + QLatin1Char('/') + QLatin1String(DataFolder::storeFileName)) ||
        ::access(QFile::encodeName(executableFolder).constData(), W_OK) == 0)
        return executableFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QLatin1String("/reelvane-downloader");
    // Created quietly: this runs inside the log handler, which must not log. The process
    // runs with a file-creation mask of 0, so every folder made here is closed to other
    // users by hand: the store decides which files get downloaded and revealed.
    QStringList created;
    for (QString folder = userFolder; !QFileInfo::exists(folder) && folder.size() > 1;
         folder = QFileInfo(folder).path())
        created << folder;
    QDir().mkpath(userFolder);
    for (const QString& folder : created)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return userFolder;
}
} // namespace

QString DataFolder::path()
{
    if (!QCoreApplication::instance())
        return QString();
    // Decided once per process, so the log and the store never end up in two places.
    static const QString folder = locate();
    return folder;
}
