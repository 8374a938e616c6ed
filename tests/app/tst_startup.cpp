#include "PackageWriter.h"
#include "ProgramDriver.h"
#include "SampleDcp.h"
#include "StandInServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {
const char kLoginWindow[] = "^Login$";
const char kMainWindow[] = "^Reelvane Downloader 1\\.4\\.0$";
const char kFolderDialog[] = "^Select download location for your DCP";
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
    void instanceAfterCrashStartsNormally_data();
    void instanceAfterCrashStartsNormally();
    void loginOpensMainWindow();
    void cancelledLoginExitsWithZero();
    void packageOnCommandLineIsImportedAfterLogin();
    void oneInstancePerStore();
    void simultaneousStartsLeaveOneInstance();
    void refusedSetUpExitsWithOne_data();
    void refusedSetUpExitsWithOne();
    void storeErrorShowsCriticalBoxAndExitsWithOne();

private:
    QProcess* start(bool onDisplay, const QStringList& arguments = QStringList(),
                    const QString& tmp = QString());
    QString tmp() const { return m_driver->sandbox() + QStringLiteral("/tmp"); }
    QString log() const { return m_driver->log(); }
    bool waitForLog(const QString& text, int count = 1) const
    {
        return m_driver->waitForLog(text, 20000, count);
    }
    QString writePackage() const;
    // Logs in with "user" and the password (the user name only when typeUser).
    bool logIn(const QProcess& process, const QString& password, bool typeUser) const;

    std::unique_ptr<ProgramDriver> m_driver;
    std::unique_ptr<StandInServer> m_server;
    QString m_portal;
};

void TestStartup::init()
{
    m_driver = std::make_unique<ProgramDriver>(QStringLiteral(ORV_PROGRAM_PATH));
    m_server.reset(new StandInServer());
    QVERIFY(m_server->listen());
    m_portal = m_server->portalBaseUrl();
}

void TestStartup::cleanup()
{
    m_driver->killAll();
    m_driver->removeOrphanedMarker();
    QVERIFY2(!log().contains(QStringLiteral("Warning: qrc:")), qPrintable(log())); // QML warnings
    m_driver.reset();
    m_server.reset();
}

QProcess* TestStartup::start(bool onDisplay, const QStringList& arguments, const QString& tmpDir)
{
    const QString folder = tmpDir.isEmpty() ? tmp() : tmpDir;
    m_driver->setEnvironment(QStringLiteral("TMPDIR"), folder);
    m_driver->setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    m_driver->setEnvironment(QStringLiteral("ORV_PORTAL_URL"), m_portal);
    m_driver->setEnvironment(QStringLiteral("ORV_NOTIFY_URL"), m_server->notificationBaseUrl());
    m_driver->setEnvironment(QStringLiteral("QT_QPA_PLATFORM"),
                             onDisplay ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    return m_driver->start(arguments);
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
    const QString path = m_driver->sandbox() + QStringLiteral("/Startup Sample.orvdcp");
    // The stand-in's default decoding key, answered to the login.
    return PackageWriter::write(path, QByteArrayLiteral("0123456789abcdef0123456789abcdef"), document)
               ? path
               : QString();
}

bool TestStartup::logIn(const QProcess& process, const QString& password, bool typeUser) const
{
    const QString window = m_driver->waitForWindowOf(process, QLatin1String(kLoginWindow));
    if (window.isEmpty())
        return false;
    QTest::qWait(200); // let the dialog settle its focus
    if (typeUser) {
        m_driver->type(window, QStringLiteral("user"));
        m_driver->key(window, QStringLiteral("Tab"));
    } else {
        m_driver->key(window, QStringLiteral("ctrl+a"));
    }
    m_driver->type(window, password);
    m_driver->key(window, QStringLiteral("Return"));
    return true;
}

void TestStartup::firstStartsCreateStoreAndAppendLog()
{
    // The language of the system: LANGUAGE's first known one, else LANG's.
    m_driver->setEnvironment(QStringLiteral("LC_ALL"), QString());
    m_driver->setEnvironment(QStringLiteral("LC_MESSAGES"), QString());
    const QString languages[][3] = {{"pt:de:fr", "fr_FR.UTF-8", "de"}, {"", "it_IT.UTF-8", "it"}};
    for (int run = 1; run <= 2; ++run) {
        m_driver->setEnvironment(QStringLiteral("LANGUAGE"), languages[run - 1][0]);
        m_driver->setEnvironment(QStringLiteral("LANG"), languages[run - 1][1]);
        QProcess* program = start(false);
        QVERIFY(program);
        // The login dialog reads the stored user name: the store is open while it waits.
        QVERIFY2(waitForLog(QStringLiteral("[DatabaseManager] Creating Tables...ok\r\n"), run),
                 qPrintable(log()));
        QVERIFY(QFile::exists(m_driver->appFolder() + QStringLiteral("/orvdownloader.4.sqlite")));
        QCOMPARE(program->state(), QProcess::Running);
        // Whatever the start-up mask, the user's own state is closed to group and others.
        for (const QString& name : {QStringLiteral("debug.log"), QStringLiteral("orvdownloader.4.sqlite"),
                                    QStringLiteral("orvdownloader.4.sqlite.lock"),
                                    QStringLiteral("../tmp/reelvane-downloader-%1").arg(getuid())}) {
            const QFileInfo file(m_driver->appFolder() + '/' + name);
            QVERIFY2(file.exists() && !(file.permissions() & 0x77), qPrintable(name));
        }
        QVERIFY2(log().contains(QStringLiteral("[Translations] Language: \"%1\"").arg(languages[run - 1][2])),
                 qPrintable(log()));
        program->terminate();
        QVERIFY(program->waitForFinished(10000));
    }
    QCOMPARE(m_server->journalFor(QStringLiteral("/versioncheck")).size(), 2);
    QVERIFY(!log().contains(QStringLiteral("Multiple instances")));
}

void TestStartup::instanceAfterCrashStartsNormally_data()
{
    QTest::addColumn<bool>("emptied");
    QTest::newRow("killed") << false;
    // A power cut before the lock's content reached the disk leaves it empty, naming no holder.
    QTest::newRow("lock emptied by a power cut") << true;
}

void TestStartup::instanceAfterCrashStartsNormally()
{
    QFETCH(bool, emptied);
    QProcess* crashed = start(false);
    QVERIFY(crashed);
    QVERIFY(waitForLog(QLatin1String(kTablesCreated)));
    crashed->kill(); // no chance to detach its marker or to remove its store lock
    QVERIFY(crashed->waitForFinished(10000));
    const QString lock = m_driver->appFolder() + QStringLiteral("/orvdownloader.4.sqlite.lock");
    QVERIFY(QFile::exists(lock));
    if (emptied) {
        QFile file(lock);
        QVERIFY(
            file.open(QIODevice::ReadWrite) && file.resize(0) &&
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }

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
    QVERIFY(m_driver->waitForWindowOf(*program, QStringLiteral("^Checking for updates"), 500).isEmpty());
    QVERIFY2(
        waitForLog(QStringLiteral("] [LoginDialog] Network reply error: ContentAccessDenied , HTTP status "
                                  "code: 403\r\n")),
        qPrintable(log()));
    QVERIFY(!m_driver->waitForWindowOf(*program, QLatin1String(kLoginWindow)).isEmpty());

    QVERIFY(logIn(*program, QStringLiteral("secret"), false));
    QVERIFY2(!m_driver->waitForWindowOf(*program, QLatin1String(kMainWindow)).isEmpty(), qPrintable(log()));
    QVERIFY(log().contains(QStringLiteral("] [main] Starting QML...\r\n")));
    QCOMPARE(m_server->journalFor(QStringLiteral("/authenticate")).size(), 2);
}

void TestStartup::cancelledLoginExitsWithZero()
{
    REQUIRE_DISPLAY();
    QProcess* program = start(true);
    QVERIFY(program);
    const QString window = m_driver->waitForWindowOf(*program, QLatin1String(kLoginWindow));
    QVERIFY(!window.isEmpty());
    m_driver->key(window, QStringLiteral("Escape"));
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

    const QString folderDialog = m_driver->waitForWindowOf(*program, QLatin1String(kFolderDialog));
    QVERIFY2(!folderDialog.isEmpty(), qPrintable(log()));
    QVERIFY(!log().contains(QStringLiteral("Starting QML"))); // before the main window
    m_driver->key(folderDialog, QStringLiteral("Escape"));
    QVERIFY(!m_driver->waitForWindowOf(*program, QLatin1String(kMainWindow)).isEmpty());
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
    QVERIFY(!m_driver->waitForWindowOf(*first, QLatin1String(kMainWindow)).isEmpty());

    // Without a package: refused with the box.
    QProcess* second = start(true);
    QVERIFY(second);
    QVERIFY2(m_driver->answerBoxesUntilExit(*second),
             qPrintable(QStringLiteral("the second instance showed no box, or it did not close:\n") + log()));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(log().contains(QStringLiteral("] [main] Multiple instances not allowed.\r\n")));
    // ... and the running window comes to the front.
    QVERIFY(log().contains(QStringLiteral("] [main] Brought to the front by another start\r\n")));

    // With a package: handed to the running instance, which imports it; no box (there is
    // no display to show one on).
    QProcess* handing = start(false, {package});
    QVERIFY(handing);
    QVERIFY(handing->waitForFinished(15000));
    QCOMPARE(handing->exitCode(), 0);
    QVERIFY(
        log().contains(QStringLiteral("] [main] Package handed over to the running instance: \"") + package));
    const QString folderDialog = m_driver->waitForWindowOf(*first, QLatin1String(kFolderDialog));
    QVERIFY2(!folderDialog.isEmpty(), qPrintable(log()));
    m_driver->key(folderDialog, QStringLiteral("Escape"));
    QVERIFY(waitForLog(QStringLiteral("] [DCPXMLReader] Canceled importing dcp")));

    // A start that misses the running instance's marker (another TMPDIR holds other keys)
    // still finds the store locked.
    const QString otherTmp = m_driver->sandbox() + QStringLiteral("/other-tmp");
    QVERIFY(QDir().mkpath(otherTmp));
    QProcess* bypassing = start(true, QStringList(), otherTmp);
    QVERIFY(bypassing);
    QVERIFY(m_driver->answerBoxesUntilExit(*bypassing));
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
        if (!m_driver->waitForWindowOf(*a, QLatin1String(kLoginWindow), 100).isEmpty())
            winner = a;
        else if (!m_driver->waitForWindowOf(*b, QLatin1String(kLoginWindow), 100).isEmpty())
            winner = b;
    }
    QVERIFY2(winner, qPrintable(log()));
    QProcess* refused = winner == a ? b : a;
    QVERIFY(m_driver->answerBoxesUntilExit(*refused));
    QCOMPARE(refused->exitCode(), 1);
    QCOMPARE(winner->state(), QProcess::Running);
    QCOMPARE(log().count(QLatin1String(kTablesCreated)), 1);
}

// Addresses, authorities and proxies the program cannot use stop it before any request,
// with a box naming what is wrong.
void TestStartup::refusedSetUpExitsWithOne_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("logged");
    QTest::newRow("portal over http elsewhere") << "ORV_PORTAL_URL"
                                                << "http://portal.example.com/"
                                                << "Service address refused: \"The portal address";
    QTest::newRow("authority file missing") << "ORV_EXTRA_CA_FILE"
                                            << "/nonexistent/ca.pem"
                                            << "/nonexistent/ca.pem\\\" (ORV_EXTRA_CA_FILE) cannot be read";
    QTest::newRow("authority file far too large")
        << "ORV_EXTRA_CA_FILE" << ORV_PROGRAM_PATH << "bytes; a certificate bundle is well under 1 MB";
    QTest::newRow("proxy of an unknown kind") << "https_proxy"
                                              << "ftp://proxy:21"
                                              << "ftp://proxy:21\\\" (https_proxy) cannot be used";
}

void TestStartup::refusedSetUpExitsWithOne()
{
    REQUIRE_DISPLAY();
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(QString, logged);
    if (variable == QLatin1String("ORV_PORTAL_URL"))
        m_portal = value;
    else
        m_driver->setEnvironment(variable, value);
    QProcess* program = start(true);
    QVERIFY(program);
    QVERIFY2(m_driver->answerBoxesUntilExit(*program), "no box appeared, or it did not close");
    QCOMPARE(program->exitCode(), 1);
    QVERIFY2(log().contains(logged), qPrintable(log()));
    QVERIFY(m_server->journal().isEmpty());
}

void TestStartup::storeErrorShowsCriticalBoxAndExitsWithOne()
{
    REQUIRE_DISPLAY();
    // A folder where the database file should be: the store cannot open it.
    QVERIFY(QDir(m_driver->appFolder()).mkdir(QStringLiteral("orvdownloader.4.sqlite")));

    QProcess* program = start(true);
    QVERIFY(program);
    QVERIFY2(m_driver->answerBoxesUntilExit(*program), "no error box appeared, or it did not close");
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 1);
    // Caught by the start-up check of the store, which names the file and the reason.
    QVERIFY2(log().contains(QStringLiteral("] [DatabaseManager] The database cannot be written: ")),
             qPrintable(log()));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
