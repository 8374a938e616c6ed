#include "core/LogHandler.h"

#include "core/DataFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QMutex>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QMutex& overrideMutex()
{
    static QMutex mutex;
    return mutex;
}

QString& overrideDirectory()
{
    static QString directory;
    return directory;
}

QString lineText(QtMsgType type, const QString& message)
{
    switch (type) {
    case QtDebugMsg:
        return message + QLatin1String("\r\n");
    case QtInfoMsg:
        return QLatin1String("Info: ") + message + QLatin1String("\r\n");
    case QtWarningMsg:
        return QLatin1String("Warning: ") + message + QLatin1String("\r\n");
    case QtCriticalMsg:
        return QLatin1String("Critical: ") + message + QLatin1String("\r\n");
    case QtFatalMsg:
        return QLatin1String("Fatal: ") + message + QLatin1String("\r\n");
    }
    return message + QLatin1String("\r\n");
}
} // namespace

QString logDirectory()
{
    {
        QMutexLocker lock(&overrideMutex());
        if (!overrideDirectory().isEmpty())
            return overrideDirectory();
    }
    // Empty without an application object: asking for the executable's folder then would
    // itself log a warning from inside this handler.
    return DataFolder::path();
}

void setLogDirectoryForTesting(const QString& directory)
{
    QMutexLocker lock(&overrideMutex());
    overrideDirectory() = directory;
}

void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Q_UNUSED(context)

    const QString line = QDateTime::currentDateTimeUtc().toString(QStringLiteral("[dd/MM/yyyy hh:mm:ss]")) +
                         QLatin1Char(' ') + lineText(type, message);

    const QString directory = logDirectory();
    if (!directory.isEmpty()) {
        // Created for the user alone whatever the start-up mask: the log names the user and
        // every path. An unwritable folder just means no log: the program must carry on regardless.
        const int fd = ::open(QFile::encodeName(directory + QLatin1String("/debug.log")).constData(),
                              O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            // Written as UTF-8 whatever the locale, so titles and paths with accents
            // survive in a non-UTF-8 session instead of turning into question marks.
            const QByteArray bytes = line.toUtf8();
            for (qint64 done = 0; done < bytes.size();) {
                const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
                if (written < 0 && errno == EINTR)
                    continue;
                if (written <= 0)
                    break;
                done += written;
            }
            ::close(fd);
        }
    }

    if (type == QtFatalMsg)
        abort();
}
