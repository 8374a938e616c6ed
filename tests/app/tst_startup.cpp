#include "PackageWriter.h"
#include "SampleDcp.h"
#include "StandInServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {
const char kLoginWindow[] = "^Login$";
const char kMainWindow[] = "^Reelvane Downloader 1\\.4\\.0$";
const char kFolderDialog[] = "^Select download location for your DCP$";
const char kTablesCreated[] = "[DatabaseManager] Creating Tables...ok";
} // namespace

// Starts copies of the real program in a sandbox folder (its log, database and store lock
// live beside the executable) with a private TMPDIR, so its single-instance keys and its
// hand-off socket meet only the processes of the same test. The in-process stand-in
// server is the portal. Windows are real windows on the X display, driven with xdotool.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartsCreateStoreAndAppendLog();
    void instanceAfterCrashStartsNormally();
    void loginOpensMainWindow();
    void cancelledLoginExitsWithZero();
    void packageOnCommandLineIsImportedAfterLogin();
    void oneInstancePerStore();
    void simultaneousStartsLeaveOneInstance();
    void refusedPortalAddressExitsWithOne();
    void storeErrorShowsCriticalBoxAndExitsWithOne();

private:
    QProcess* start(bool onDisplay, const QStringList& arguments = QStringList(),
                    const QString& tmp = QString());
    QString tmp() const { return m_dir->path() + QStringLiteral("/tmp"); }
    QString log() const;
    void removeOrphanedMarker();
    bool waitForLog(const QString& text, int count = 1) const;
    QString writePackage() const;
    // Why the window tests cannot run here; empty when they can.
    static QString missingDisplay();
    // A visible window of the process whose name matches the pattern (any window for an
    // empty pattern); empty after a timeout.
    QString waitForWindow(const QProcess& process, const QString& pattern, int timeoutMs = 20000) const;
    // Focuses the window, then types the texts; "Return", "Tab", "Escape" and "ctrl+a" are keys.
    static void typeInto(const QString& window, const QStringList& keys);
    // Logs in with "user" and the password (the user name only when typeUser).
    bool logIn(const QProcess& process, const QString& password, bool typeUser) const;
    // Waits for a visible window of the process and presses Return in it until the process
    // ends; true when a window appeared and the process is gone.
    bool answerBoxOf(QProcess& process);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StandInServer> m_server;
    QString m_program;
    QString m_portal;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

void TestStartup::init()
{
    m_dir.reset(new QTemporaryDir());
    QVERIFY(m_dir->isValid());
    m_program = m_dir->path() + QStringLiteral("/reelvane-downloader");
    QVERIFY(QFile::copy(QStringLiteral(ORV_PROGRAM_PATH), m_program));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tmp")));
    m_server.reset(new StandInServer());
    QVERIFY(m_server->listen());
    m_portal = m_server->portalBaseUrl();
}

void TestStartup::cleanup()
{
    for (const auto& process : m_running) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    m_running.clear();
    removeOrphanedMarker();
    QVERIFY2(!log().contains(QStringLiteral("Warning: qrc:")), qPrintable(log())); // QML warnings
    m_server.reset();
}

void TestStartup::removeOrphanedMarker()
{
    // A killed instance leaves its marker segment behind while the test deletes the key
    // file that names it; a later key file that happens to map to the same System V key
    // would then find the segment taken. Probe it away as the next start would.
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp()));
    QSharedMemory probe(QStringLiteral("82abc78e-6952-4eec-bea5-aae7856b73e0"));
    if (probe.attach())
        probe.detach();
    if (savedTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTmp);
}

QProcess* TestStartup::start(bool onDisplay, const QStringList& arguments, const QString& tmpDir)
{
    m_running.push_back(std::make_unique<QProcess>());
    QProcess* process = m_running.back().get();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString folder = tmpDir.isEmpty() ? tmp() : tmpDir;
    env.insert(QStringLiteral("TMPDIR"), folder);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    env.insert(QStringLiteral("ORV_PORTAL_URL"), m_portal);
    env.insert(QStringLiteral("ORV_NOTIFY_URL"), m_server->notificationBaseUrl());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               onDisplay ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(m_dir->path());
    process->start(m_program, arguments);
    return process->waitForStarted(10000) ? process : nullptr;
}

QString TestStartup::log() const
{
    QFile file(m_dir->path() + QStringLiteral("/debug.log"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool TestStartup::waitForLog(const QString& text, int count) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (log().count(text) >= count)
            return true;
        QTest::qWait(50);
    }
    return false;
}

QString TestStartup::writePackage() const
{
    SampleDcp::Options options;
    options.title = QStringLiteral("Startup_Sample");
    options.pictureSize = 4096;
    options.soundSize = 1024;
    DcpDescription dcp;
    SampleDcp::generate(options, QString(), &dcp);
    PackageWriter::EntryOptions entry;
    entry.assetBaseUrl = m_server->baseUrl().toString() + QStringLiteral("/assets/");
    const QJsonObject document =
        PackageWriter::document(QStringLiteral("11111111-2222-3333-4444-555555555555"),
                                QJsonArray{PackageWriter::entry(dcp, entry)}, 10000);
    const QString path = m_dir->path() + QStringLiteral("/Startup Sample.orvdcp");
    // The stand-in's default decoding key, answered to the login.
    return PackageWriter::write(path, QByteArrayLiteral("0123456789abcdef0123456789abcdef"), document)
               ? path
               : QString();
}

QString TestStartup::missingDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("needs an X display (run under xvfb-run)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("needs xdotool");
    return QString();
}

// QSKIP only leaves the function it is written in, so it must stand in the test itself.
#define REQUIRE_DISPLAY()                                                                                    \
    do {                                                                                                     \
        const QString reason = missingDisplay();                                                             \
        if (!reason.isEmpty())                                                                               \
            QSKIP(qPrintable(reason));                                                                       \
    } while (false)

QString TestStartup::waitForWindow(const QProcess& process, const QString& pattern, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && process.state() != QProcess::NotRunning) {
        QProcess search;
        QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"),
                              QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                              QString::number(process.processId())};
        if (!pattern.isEmpty()) // message boxes have no title
            arguments << QStringLiteral("--name") << pattern;
        search.start(QStringLiteral("xdotool"), arguments);
        search.waitForFinished(5000);
        const QString window =
            QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).first().trimmed();
        if (!window.isEmpty())
            return window;
        QTest::qWait(100);
    }
    return QString();
}

void TestStartup::typeInto(const QString& window, const QStringList& keys)
{
    // No window manager under Xvfb: focus the window directly.
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    static const QStringList keyNames{QStringLiteral("Return"), QStringLiteral("Tab"),
                                      QStringLiteral("Escape"), QStringLiteral("ctrl+a")};
    for (const QString& key : keys) {
        if (keyNames.contains(key))
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key});
        else
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), key});
    }
}

bool TestStartup::logIn(const QProcess& process, const QString& password, bool typeUser) const
{
    const QString window = waitForWindow(process, QLatin1String(kLoginWindow));
    if (window.isEmpty())
        return false;
    QTest::qWait(200); // let the dialog settle its focus
    if (typeUser)
        typeInto(window, {QStringLiteral("user"), QStringLiteral("Tab"), password, QStringLiteral("Return")});
    else
        typeInto(window, {QStringLiteral("ctrl+a"), password, QStringLiteral("Return")});
    return true;
}

bool TestStartup::answerBoxOf(QProcess& process)
{
    bool sawWindow = false;
    QElapsedTimer timer;
    timer.start();
    // Pressing again until the process ends: a key sent while the box is still being
    // mapped can be lost on a loaded machine.
    while (timer.elapsed() < 30000 && process.state() != QProcess::NotRunning) {
        const QString window = waitForWindow(process, QString(), 1000);
        if (!window.isEmpty()) {
            sawWindow = true;
            typeInto(window, {QStringLiteral("Return")});
            process.waitForFinished(1000);
        }
    }
    return sawWindow && process.state() == QProcess::NotRunning;
}

void TestStartup::firstStartsCreateStoreAndAppendLog()
{
    for (int run = 1; run <= 2; ++run) {
        QProcess* program = start(false);
        QVERIFY(program);
        // The login dialog reads the stored user name: the store is open while it waits.
        QVERIFY2(waitForLog(QStringLiteral("[DatabaseManager] Creating Tables...ok\r\n"), run),
                 qPrintable(log()));
        QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/orvdownloader.4.sqlite")));
        QCOMPARE(program->state(), QProcess::Running);
        program->terminate();
        QVERIFY(program->waitForFinished(10000));
    }
    QCOMPARE(m_server->journalFor(QStringLiteral("/versioncheck")).size(), 2);
    QVERIFY(!log().contains(QStringLiteral("Multiple instances")));
}

void TestStartup::instanceAfterCrashStartsNormally()
{
    QProcess* crashed = start(false);
    QVERIFY(crashed);
    QVERIFY(waitForLog(QLatin1String(kTablesCreated)));
    crashed->kill(); // no chance to detach its marker or to remove its store lock
    QVERIFY(crashed->waitForFinished(10000));
    QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/orvdownloader.4.sqlite.lock")));

    QProcess* next = start(false);
    QVERIFY(next);
    QVERIFY2(waitForLog(QLatin1String(kTablesCreated), 2), qPrintable(log()));
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(!log().contains(QStringLiteral("Multiple instances")));
}

void TestStartup::loginOpensMainWindow()
{
    REQUIRE_DISPLAY();
    QProcess* program = start(true);
    QVERIFY(program);

    QVERIFY(logIn(*program, QStringLiteral("wrong"), true));
    // The update check found nothing new and closed by itself before the login.
    QCOMPARE(m_server->journalFor(QStringLiteral("/versioncheck")).size(), 1);
    QVERIFY(waitForWindow(*program, QStringLiteral("^Checking for updates"), 500).isEmpty());
    QVERIFY2(
        waitForLog(QStringLiteral("] [LoginDialog] Network reply error: ContentAccessDenied , HTTP status "
                                  "code: 403\r\n")),
        qPrintable(log()));
    QVERIFY(!waitForWindow(*program, QLatin1String(kLoginWindow)).isEmpty());

    QVERIFY(logIn(*program, QStringLiteral("secret"), false));
    QVERIFY2(!waitForWindow(*program, QLatin1String(kMainWindow)).isEmpty(), qPrintable(log()));
    QVERIFY(log().contains(QStringLiteral("] [main] Starting QML...\r\n")));
    QCOMPARE(m_server->journalFor(QStringLiteral("/authenticate")).size(), 2);
}

void TestStartup::cancelledLoginExitsWithZero()
{
    REQUIRE_DISPLAY();
    QProcess* program = start(true);
    QVERIFY(program);
    const QString window = waitForWindow(*program, QLatin1String(kLoginWindow));
    QVERIFY(!window.isEmpty());
    typeInto(window, {QStringLiteral("Escape")});
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
    // None of the singletons after the login was created.
    QVERIFY2(!log().contains(QStringLiteral("[NotificationManager]")), qPrintable(log()));
    QVERIFY(!log().contains(QStringLiteral("Starting QML")));
}

void TestStartup::packageOnCommandLineIsImportedAfterLogin()
{
    REQUIRE_DISPLAY();
    const QString package = writePackage();
    QVERIFY(!package.isEmpty());
    QProcess* program = start(true, {QStringLiteral("--unknown"), package});
    QVERIFY(program);
    QVERIFY(logIn(*program, QStringLiteral("secret"), true));

    const QString folderDialog = waitForWindow(*program, QLatin1String(kFolderDialog));
    QVERIFY2(!folderDialog.isEmpty(), qPrintable(log()));
    QVERIFY(!log().contains(QStringLiteral("Starting QML"))); // before the main window
    typeInto(folderDialog, {QStringLiteral("Escape")});
    QVERIFY(!waitForWindow(*program, QLatin1String(kMainWindow)).isEmpty());
    QVERIFY(log().contains(QStringLiteral("] [DCPXMLReader] Canceled importing dcp")));
}

void TestStartup::oneInstancePerStore()
{
    REQUIRE_DISPLAY();
    const QString package = writePackage();
    QVERIFY(!package.isEmpty());
    QProcess* first = start(true);
    QVERIFY(first);
    QVERIFY(logIn(*first, QStringLiteral("secret"), true));
    QVERIFY(!waitForWindow(*first, QLatin1String(kMainWindow)).isEmpty());

    // Without a package: refused with the box.
    QProcess* second = start(true);
    QVERIFY(second);
    QVERIFY2(answerBoxOf(*second),
             qPrintable(QStringLiteral("the second instance showed no box, or it did not close:\n") + log()));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(log().contains(QStringLiteral("] [main] Multiple instances not allowed.\r\n")));

    // With a package: handed to the running instance, which imports it; no box (there is
    // no display to show one on).
    QProcess* handing = start(false, {package});
    QVERIFY(handing);
    QVERIFY(handing->waitForFinished(15000));
    QCOMPARE(handing->exitCode(), 0);
    QVERIFY(
        log().contains(QStringLiteral("] [main] Package handed over to the running instance: \"") + package));
    const QString folderDialog = waitForWindow(*first, QLatin1String(kFolderDialog));
    QVERIFY2(!folderDialog.isEmpty(), qPrintable(log()));
    typeInto(folderDialog, {QStringLiteral("Escape")});
    QVERIFY(waitForLog(QStringLiteral("] [DCPXMLReader] Canceled importing dcp")));

    // A start that misses the running instance's marker (another TMPDIR holds other keys)
    // still finds the store locked.
    const QString otherTmp = m_dir->path() + QStringLiteral("/other-tmp");
    QVERIFY(QDir().mkpath(otherTmp));
    QProcess* bypassing = start(true, QStringList(), otherTmp);
    QVERIFY(bypassing);
    QVERIFY(answerBoxOf(*bypassing));
    QCOMPARE(bypassing->exitCode(), 1);

    QCOMPARE(log().count(QLatin1String(kTablesCreated)), 1); // only the first opened the store
    QCOMPARE(first->state(), QProcess::Running);
}

void TestStartup::simultaneousStartsLeaveOneInstance()
{
    REQUIRE_DISPLAY();
    QProcess* a = start(true);
    QProcess* b = start(true);
    QVERIFY(a && b);
    QProcess* winner = nullptr;
    QElapsedTimer timer;
    timer.start();
    while (!winner && timer.elapsed() < 20000) {
        if (!waitForWindow(*a, QLatin1String(kLoginWindow), 100).isEmpty())
            winner = a;
        else if (!waitForWindow(*b, QLatin1String(kLoginWindow), 100).isEmpty())
            winner = b;
    }
    QVERIFY2(winner, qPrintable(log()));
    QProcess* refused = winner == a ? b : a;
    QVERIFY(answerBoxOf(*refused));
    QCOMPARE(refused->exitCode(), 1);
    QCOMPARE(winner->state(), QProcess::Running);
    QCOMPARE(log().count(QLatin1String(kTablesCreated)), 1);
}

void TestStartup::refusedPortalAddressExitsWithOne()
{
    REQUIRE_DISPLAY();
    m_portal = QStringLiteral("http://portal.example.com/");
    QProcess* program = start(true);
    QVERIFY(program);
    QVERIFY2(answerBoxOf(*program), "no box appeared, or it did not close");
    QCOMPARE(program->exitCode(), 1);
    QVERIFY(log().contains(QStringLiteral("] [main] Service address refused: \"The portal address")));
    QVERIFY(m_server->journal().isEmpty());
}

void TestStartup::storeErrorShowsCriticalBoxAndExitsWithOne()
{
    REQUIRE_DISPLAY();
    // A folder where the database file should be: the store cannot open it.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("orvdownloader.4.sqlite")));

    QProcess* program = start(true);
    QVERIFY(program);
    QVERIFY2(answerBoxOf(*program), "no error box appeared, or it did not close");
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 1);
    // Caught by the start-up check of the store, which names the file and the reason.
    QVERIFY2(log().contains(QStringLiteral("] [DatabaseManager] The database cannot be written: ")),
             qPrintable(log()));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
