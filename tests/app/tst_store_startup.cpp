#include "ProgramDriver.h"
#include "TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <memory>

// Starts a copy of the real program on a store it cannot write and answers its box:
// the program must name the file and the reason, touch nothing, and end with 1.
class TestStoreStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unusableStoreStopsTheStart_data();
    void unusableStoreStopsTheStart();

private:
    QString storePath() const { return m_folder + QStringLiteral("/orvdownloader.4.sqlite"); }
    // Root ignores permission bits; an immutable file or folder refuses root's writes as well.
    bool makeImmutable(const QString& path)
    {
        m_immutable << path;
        return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
    }

    std::unique_ptr<ProgramDriver> m_driver;
    QString m_folder; // of the store and the log
    QStringList m_immutable;
};

void TestStoreStartup::init()
{
    m_driver = std::make_unique<ProgramDriver>(QStringLiteral(ORV_PROGRAM_PATH));
    m_driver->setEnvironment(QStringLiteral("ORV_PORTAL_URL"), QStringLiteral("http://127.0.0.1:9/"));
    m_folder = m_driver->appFolder();
}

void TestStoreStartup::cleanup()
{
    m_driver->killHard();
    for (const QString& path : qAsConst(m_immutable))
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    m_immutable.clear();
    for (const QString& name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
    m_driver.reset();
}

void TestStoreStartup::unusableStoreStopsTheStart_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QString>("reason");

    QTest::newRow("read-only") << QStringLiteral("read-only") << QStringLiteral("it is read-only");
    QTest::newRow("locked") << QStringLiteral("locked") << QStringLiteral("it is locked by another program");
    QTest::newRow("not a database") << QStringLiteral("garbage") << QStringLiteral("it is not a database");
    QTest::newRow("damaged") << QStringLiteral("damaged") << QStringLiteral("it is damaged");
    // A store beside the executable stays the store; only without one is the user's folder used.
    QTest::newRow("read-only folder")
        << QStringLiteral("read-only folder") << QStringLiteral("folder is read-only");
    // The lock a power cut left behind names no running instance.
    QTest::newRow("read-only folder, stale lock")
        << QStringLiteral("read-only folder, stale lock") << QStringLiteral("folder is read-only");
    QTest::newRow("fallback folder") << QStringLiteral("fallback") << QStringLiteral("it is not a database");
}

void TestStoreStartup::unusableStoreStopsTheStart()
{
    QFETCH(QString, store);
    QFETCH(QString, reason);
    const QString missing = ProgramDriver::missingDisplay();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));

    if (store == QLatin1String("fallback")) {
        m_folder = m_driver->home() + QStringLiteral("/.local/share/reelvane-downloader");
        if (!QDir().mkpath(m_folder) || !makeImmutable(m_driver->appFolder()))
            QSKIP("the file system cannot make the folder immutable");
    }
    QSqlDatabase locker;
    if (store == QLatin1String("garbage") || store == QLatin1String("fallback")) {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("Reelvane notes, not a database\n").repeated(200));
    } else {
        {
            // Enough rows that the table has pages of its own beyond the schema page.
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prepare"));
            db.setDatabaseName(storePath());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral(
                "CREATE TABLE filler AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                "WHERE i < 2000) SELECT i, hex(randomblob(40)) AS b FROM n")));
            db.close();
        }
        if (store == QLatin1String("damaged")) {
            QFile file(storePath());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));
            file.write(QByteArray(4 * 4096, '\xA5'));
        } else if (store == QLatin1String("read-only")) {
            if (!makeImmutable(storePath()))
                QSKIP("the file system cannot make the file immutable");
        } else if (store.startsWith(QLatin1String("read-only folder"))) {
            // The log of earlier runs is there too: its entries are fixed, not its files.
            QVERIFY(QFile(m_folder + QStringLiteral("/debug.log")).open(QIODevice::WriteOnly));
            if (store.endsWith(QLatin1String("stale lock"))) {
                qint64 gone = 0;
                QVERIFY(QProcess::startDetached(QStringLiteral("true"), {}, QString(), &gone));
                QVERIFY(QTest::qWaitFor([gone] { return ::kill(pid_t(gone), 0) != 0; }));
                // The lock as its holder wrote it, with the pid of a process that has ended.
                QLockFile lock(storePath() + QStringLiteral(".held"));
                QVERIFY(lock.tryLock(0));
                QList<QByteArray> lines = readFile(storePath() + QStringLiteral(".held")).split('\n');
                lines[0] = QByteArray::number(gone);
                QVERIFY(writeFile(storePath() + QStringLiteral(".lock"), lines.join('\n')));
            }
            if (!makeImmutable(m_folder))
                QSKIP("the file system cannot make the folder immutable");
        }
    }
    QFile file(storePath());
    const QByteArray before = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();
    if (store == QLatin1String("locked")) {
        // Taken after the read above: closing any descriptor of the file drops this process's locks.
        locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(storePath());
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }

    QVERIFY(m_driver->start());
    const QString screenshot = QCoreApplication::applicationDirPath() + QStringLiteral("/artefacts/store-") +
                               store + QStringLiteral(".png");
    QVERIFY2(m_driver->answerBoxesUntilExit(m_driver->process(), screenshot),
             qPrintable(QStringLiteral("no box, or it did not close:\n") + m_driver->log()));
    QCOMPARE(m_driver->process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_driver->process().exitCode(), 1);

    QFile log(m_folder + QStringLiteral("/debug.log"));
    const QString text = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    QVERIFY2(
        text.contains(QStringLiteral("[DatabaseManager] The database cannot be written: \"") + storePath()),
        qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    // Stopped before anything opened the store: no schema written, nothing changed.
    QVERIFY2(!text.contains(QStringLiteral("Creating Tables")), qPrintable(text));
    if (locker.isValid()) {
        QSqlQuery(locker).exec(QStringLiteral("ROLLBACK"));
        locker.close();
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
}

QTEST_GUILESS_MAIN(TestStoreStartup)

#include "tst_store_startup.moc"
