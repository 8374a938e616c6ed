#include "ProgramDriver.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

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
    QString storePath() const { return m_driver->appFolder() + QStringLiteral("/orvdownloader.4.sqlite"); }

    std::unique_ptr<ProgramDriver> m_driver;
    bool m_immutable = false;
};

void TestStoreStartup::init()
{
    m_driver = std::make_unique<ProgramDriver>(QStringLiteral(ORV_PROGRAM_PATH));
}

void TestStoreStartup::cleanup()
{
    m_driver->killHard();
    if (m_immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), storePath()});
    m_immutable = false;
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
}

void TestStoreStartup::unusableStoreStopsTheStart()
{
    QFETCH(QString, store);
    QFETCH(QString, reason);
    const QString missing = ProgramDriver::missingDisplay();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));

    QSqlDatabase locker;
    if (store == QLatin1String("garbage")) {
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
            // Root ignores permission bits; an immutable file refuses root's writes as well.
            if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), storePath()}) != 0)
                QSKIP("the file system cannot make the file immutable");
            m_immutable = true;
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

    const QString text = m_driver->log();
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
