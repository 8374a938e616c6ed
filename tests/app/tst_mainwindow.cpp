#include "ProgramDriver.h"
#include "StandInServer.h"
#include "TestPackages.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// One short run of the real program under Xvfb: started with a package, logged in, the
// folder chosen, the main window up with the package imported, Ctrl+Q ends it with exit
// code 0, and no QML warning in its debug.log. The window's behaviour is tested in
// process (tst_app_window).
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void smokeRun();
};

namespace {
int dcpRows(const QString& store)
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("smoke"));
        db.setDatabaseName(store);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM dcp")) && query.next())
            count = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("smoke"));
    return count;
}
} // namespace

void TestMainWindow::smokeRun()
{
    REQUIRE_DISPLAY();
    StandInServer server;
    QVERIFY(server.listen());
    server.setCredentials(QStringLiteral("user"), QStringLiteral("secret"), testKey());
    ProgramDriver program(QStringLiteral(ORV_PROGRAM_PATH));
    program.setEnvironment(QStringLiteral("ORV_PORTAL_URL"), server.portalBaseUrl());
    program.setEnvironment(QStringLiteral("ORV_NOTIFY_URL"), server.notificationBaseUrl());
    const QString downloads = program.sandbox() + QStringLiteral("/downloads");
    QVERIFY(QDir().mkpath(downloads));
    const DcpDescription dcp = sampleDcp(sampleOptions(5, 1, QStringLiteral("Smoke_FTR")));
    const QString package = program.sandbox() + QStringLiteral("/smoke.orvdcp");
    QFile file(package);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encryptPackage(QJsonDocument(packageDocument({packageEntry(dcp, {1})})).toJson()));
    file.close();

    QProcess* started = program.start({package});
    QVERIFY(started);
    const QString login = program.waitForWindowOf(*started, QStringLiteral("^Login$"), 30000);
    QVERIFY2(!login.isEmpty(), qPrintable(program.log()));
    program.type(login, QStringLiteral("user"));
    program.key(login, QStringLiteral("Tab"));
    program.type(login, QStringLiteral("secret"));
    program.key(login, QStringLiteral("Return"));

    // The package of the command line asks for its folder.
    const QString folderDialog = QStringLiteral("^Select download location for your DCP");
    const QString dialog = program.waitForWindowOf(*started, folderDialog, 30000);
    QVERIFY2(!dialog.isEmpty(), qPrintable(program.log()));
    program.type(dialog, downloads);
    // The path completer may take the first Return; the next one accepts the folder.
    for (int attempt = 0; attempt < 3; ++attempt) {
        program.key(dialog, QStringLiteral("Return"));
        if (program.waitForWindowGone(folderDialog, 2000))
            break;
    }
    const QString window =
        program.waitForWindowOf(*started, QStringLiteral("^Reelvane Downloader 1\\.4\\.0"), 30000);
    QVERIFY2(!window.isEmpty(), qPrintable(program.log()));
    QVERIFY2(program.waitForLog(QStringLiteral("[main] Starting QML...")), qPrintable(program.log()));
    QVERIFY(QFileInfo(downloads + QStringLiteral("/Smoke_FTR")).isDir());
    QSignalSpy finished(started, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    program.key(window, QStringLiteral("ctrl+q"));
    QVERIFY(started->state() == QProcess::NotRunning || finished.wait(15000));
    QCOMPARE(started->exitStatus(), QProcess::NormalExit);
    QCOMPARE(started->exitCode(), 0);
    QCOMPARE(dcpRows(program.appFolder() + QStringLiteral("/orvdownloader.4.sqlite")), 1);
    const QStringList warnings = program.qmlWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
