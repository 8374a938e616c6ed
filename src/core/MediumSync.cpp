#include "core/MediumSync.h"

#include <QDebug>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::function<void(const QString&, const QString&)>& observer()
{
    static std::function<void(const QString&, const QString&)> o;
    return o;
}

bool flush(const QString& path, int flags, bool dataOnly, const char* kind)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    bool ok = fd >= 0;
    if (ok) {
        ok = (dataOnly ? ::fdatasync(fd) : ::fsync(fd)) == 0;
        ::close(fd);
    }
    if (!ok)
        qDebug() << "[MediumSync] Unable to flush" << kind << path << "-" << std::strerror(errno);
    if (observer())
        observer()(QLatin1String(kind), path);
    return ok;
}
} // namespace

bool MediumSync::syncFolder(const QString& path)
{
    return flush(path, O_RDONLY | O_DIRECTORY, false, "folder");
}

bool MediumSync::syncFile(const QString& path)
{
    return flush(path, O_RDONLY, true, "file");
}

void MediumSync::setObserver(std::function<void(const QString&, const QString&)> o)
{
    observer() = std::move(o);
}
