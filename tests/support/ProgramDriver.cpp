#include "ProgramDriver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QtTest>

namespace {
QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}
} // namespace

ProgramDriver::ProgramDriver(const QString& programPath)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("app"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    // Qt insists on a private runtime folder.
    QFile::setPermissions(m_dir.path() + QStringLiteral("/tmp"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(programPath, appFolder() + QStringLiteral("/reelvane-downloader"));
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert(QStringLiteral("TMPDIR"), m_dir.path() + QStringLiteral("/tmp"));
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path() + QStringLiteral("/tmp"));
    // Whatever the program keeps in the user's folders (a fallback store, Qt's settings and
    // caches) stays in the sandbox, never in the real home.
    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    m_env.insert(QStringLiteral("HOME"), home());
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    m_env.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/.local/share"));
    m_env.insert(QStringLiteral("XDG_CACHE_HOME"), home() + QStringLiteral("/.cache"));
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
}

ProgramDriver::~ProgramDriver()
{
    stop();
    for (auto& process : m_finished) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

QString ProgramDriver::missingDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("needs an X display (run under xvfb-run)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("needs xdotool");
    return QString();
}

QProcess* ProgramDriver::start(const QStringList& arguments)
{
    if (m_process)
        m_finished.push_back(std::move(m_process));
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(m_env);
    m_process->setWorkingDirectory(appFolder());
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(appFolder() + QStringLiteral("/reelvane-downloader"), arguments);
    return m_process->waitForStarted(10000) ? m_process.get() : nullptr;
}

void ProgramDriver::killHard()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(10000);
    }
}

void ProgramDriver::killAll()
{
    killHard();
    for (auto& process : m_finished) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

void ProgramDriver::removeOrphanedMarker() const
{
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir.path() + QStringLiteral("/tmp")));
    QSharedMemory probe(QStringLiteral("82abc78e-6952-4eec-bea5-aae7856b73e0"));
    if (probe.attach())
        probe.detach();
    if (savedTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTmp);
}

void ProgramDriver::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(10000))
        killHard();
}

QString ProgramDriver::waitForWindow(const QString& titleRegex, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        const QString found =
            runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                QStringLiteral("--name"), titleRegex})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .value(0);
        if (!found.isEmpty())
            return found;
        QTest::qWait(100);
    } while (timer.elapsed() < timeoutMs);
    return QString();
}

QString ProgramDriver::waitForBox(int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (m_process && m_process->state() == QProcess::Running) {
            const QStringList windows =
                runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                         QString::number(m_process->processId())})
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& window : windows) {
                const QString name =
                    runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window}).trimmed();
                if (!name.startsWith(QLatin1String("Reelvane Downloader 1.4.0")))
                    return window;
            }
        }
        QTest::qWait(100);
    } while (timer.elapsed() < timeoutMs);
    return QString();
}

QString ProgramDriver::waitForWindowOf(const QProcess& process, const QString& titleRegex,
                                       int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && process.state() != QProcess::NotRunning) {
        QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"),
                              QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                              QString::number(process.processId())};
        if (!titleRegex.isEmpty())
            arguments << QStringLiteral("--name") << titleRegex;
        const QString window = runTool(QStringLiteral("xdotool"), arguments)
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                   .value(0);
        if (!window.isEmpty())
            return window.trimmed();
        QTest::qWait(100);
    }
    return QString();
}

bool ProgramDriver::answerBoxesUntilExit(QProcess& process, const QString& screenshotPath, int timeoutMs)
{
    bool sawBox = false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && process.state() != QProcess::NotRunning) {
        const QString box = waitForWindowOf(process, QString(), 1000);
        if (box.isEmpty())
            continue;
        if (!sawBox && !screenshotPath.isEmpty()) {
            QTest::qWait(300); // let it paint
            screenshot(screenshotPath);
        }
        sawBox = true;
        key(box, QStringLiteral("Return"));
        process.waitForFinished(1000);
    }
    return sawBox && process.state() == QProcess::NotRunning;
}

bool ProgramDriver::waitForWindowGone(const QString& titleRegex, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (waitForWindow(titleRegex, 0).isEmpty())
            return true;
        QTest::qWait(100);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

void ProgramDriver::type(const QString& window, const QString& text) const
{
    // No window manager under Xvfb: the window is focused directly.
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), text});
}

void ProgramDriver::key(const QString& window, const QString& keys) const
{
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

bool ProgramDriver::screenshot(const QString& path) const
{
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QProcess::execute(QStringLiteral("import"),
                             {QStringLiteral("-window"), QStringLiteral("root"), path}) == 0;
}

QString ProgramDriver::log() const
{
    QFile file(appFolder() + QStringLiteral("/debug.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool ProgramDriver::waitForLog(const QString& text, int timeoutMs, int count) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (log().count(text) >= count)
            return true;
        QTest::qWait(100);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

QStringList ProgramDriver::qmlWarnings() const
{
    static const QRegularExpression qml(QStringLiteral("(qrc:/|\\.qml:|QML |Qt Quick)"));
    QStringList warnings;
    for (const QString& line : log().split(QStringLiteral("\r\n"))) {
        // Scene errors surface as warnings, script errors (console.error) as critical lines.
        const bool serious = line.contains(QLatin1String("] Warning: ")) ||
                             line.contains(QLatin1String("] Critical: ")) ||
                             line.contains(QLatin1String("] Fatal: "));
        if (serious && qml.match(line).hasMatch())
            warnings << line;
    }
    return warnings;
}
