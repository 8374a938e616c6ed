#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Keeps every line logged while it lives, from any thread, out of the test output
// (set ORV_TEST_VERBOSE to see them as well). Tests assert on it only where the log
// line itself is what the program must write.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    bool contains(const QString& text) const;
    bool hasLineStartingWith(const QString& text) const;
    // The lines so far, forgetting them.
    QStringList take();

private:
    QtMessageHandler m_previous = nullptr;
};
