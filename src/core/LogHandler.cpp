#include "core/LogHandler.h"

#include "core/DataFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QMutex>

#include <cstdlib>

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
        QFile file(directory + QLatin1String("/debug.log"));
        // An unwritable folder just means no log: the program must carry on regardless.
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            // Written as UTF-8 whatever the locale, so titles and paths with accents
            // survive in a non-UTF-8 session instead of turning into question marks.
            file.write(line.toUtf8());
            file.close();
        }
    }

    if (type == QtFatalMsg)
        abort();
}
