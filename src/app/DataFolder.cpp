#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {
QString locate()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (::access(QFile::encodeName(executableFolder).constData(), W_OK) == 0)
        return executableFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QLatin1String("/reelvane-downloader");
    // Created quietly: this runs inside the log handler, which must not log.
    QDir().mkpath(userFolder);
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
