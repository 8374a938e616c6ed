#include "LogCapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex g_mutex;
QStringList g_lines;
QtMessageHandler g_previous = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    {
        QMutexLocker lock(&g_mutex);
        g_lines.append(message);
    }
    // Warnings and failures stay visible; debug lines are the program's log.
    if ((type != QtDebugMsg || qEnvironmentVariableIsSet("ORV_TEST_VERBOSE")) && g_previous)
        g_previous(type, context, message);
}
} // namespace

LogCapture::LogCapture()
{
    QMutexLocker lock(&g_mutex);
    g_lines.clear();
    m_previous = qInstallMessageHandler(&capture);
    g_previous = m_previous;
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&g_mutex);
    return g_lines;
}

bool LogCapture::contains(const QString& text) const
{
    for (const QString& line : lines()) {
        if (line.contains(text))
            return true;
    }
    return false;
}

bool LogCapture::hasLineStartingWith(const QString& text) const
{
    for (const QString& line : lines()) {
        if (line.startsWith(text))
            return true;
    }
    return false;
}

QStringList LogCapture::take()
{
    QMutexLocker lock(&g_mutex);
    QStringList lines = g_lines;
    g_lines.clear();
    return lines;
}
