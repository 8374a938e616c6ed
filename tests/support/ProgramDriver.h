#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Runs a copy of the real program in a sandbox and drives its windows as a user would:
// the copy keeps its store and debug.log beside it, a private TMPDIR keeps its
// single-instance keys apart from every other process, and windows are found by title
// and typed into with xdotool on the X display the test runs under (xvfb-run).
class ProgramDriver
{
public:
    // programPath: the built binary, copied into <sandbox>/app/.
    explicit ProgramDriver(const QString& programPath);
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Why windows cannot be driven here (no display, no xdotool); empty when they can.
    static QString missingDisplay();

    QString sandbox() const { return m_dir.path(); }
    QString appFolder() const { return m_dir.path() + QStringLiteral("/app"); }
    // The program's HOME; XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME lie under it.
    QString home() const { return m_dir.path() + QStringLiteral("/home"); }
    void setEnvironment(const QString& key, const QString& value) { m_env.insert(key, value); }
    void unsetEnvironment(const QString& key) { m_env.remove(key); }

    // Starts the program (a new process each call; earlier ones keep running); null when
    // it did not start.
    QProcess* start(const QStringList& arguments = {});
    QProcess& process() { return *m_process; }
    // Kills the current process without giving it a chance to clean up.
    void killHard();
    // Asks it to quit and waits; kills it when it does not.
    void stop();
    // Kills every process started so far.
    void killAll();
    // A killed instance leaves its marker segment behind while its key file in the private
    // TMPDIR goes with the sandbox; a later key file that maps to the same System V key
    // would find the segment taken. Probes it away as the next start would.
    void removeOrphanedMarker() const;

    // The first visible window whose title matches the regular expression, or "" after
    // timeoutMs. Any process's windows count: boxes of a second instance have other pids.
    QString waitForWindow(const QString& titleRegex, int timeoutMs = 30000) const;
    // A window of the current process other than the main window (a message box or a
    // dialog: boxes have no title of their own), or "" after timeoutMs.
    QString waitForBox(int timeoutMs = 30000) const;
    // A visible window of that process whose title matches (any window for an empty
    // regex: boxes have no title), or "" after timeoutMs or when the process ends.
    QString waitForWindowOf(const QProcess& process, const QString& titleRegex, int timeoutMs = 20000) const;
    // Presses Return in each window of the process until it ends, saving a screenshot of
    // the first when screenshotPath is given; true when a window appeared and the process
    // is gone. Keys sent while a box is still being mapped can be lost, hence the loop.
    bool answerBoxesUntilExit(QProcess& process, const QString& screenshotPath = QString(),
                              int timeoutMs = 30000);
    bool waitForWindowGone(const QString& titleRegex, int timeoutMs = 10000) const;
    // Focuses the window, then types text / presses keys (xdotool names: "Return", "Tab", "y").
    void type(const QString& window, const QString& text) const;
    void key(const QString& window, const QString& keys) const;
    // Saves a PNG of the whole screen; false when no screenshot tool is installed.
    bool screenshot(const QString& path) const;

    QString log() const;
    bool waitForLog(const QString& text, int timeoutMs = 30000, int count = 1) const;
    // Warning, critical and fatal lines of debug.log that come from the QML engine or the scene.
    QStringList qmlWarnings() const;

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::unique_ptr<QProcess> m_process;
    std::vector<std::unique_ptr<QProcess>> m_finished;
};

// Skips the calling test where windows cannot be driven. QSKIP only leaves the function it
// is written in, so this stands in the test itself.
#define REQUIRE_DISPLAY()                                                                                    \
    do {                                                                                                     \
        const QString reason = ProgramDriver::missingDisplay();                                              \
        if (!reason.isEmpty())                                                                               \
            QSKIP(qPrintable(reason));                                                                       \
    } while (false)
