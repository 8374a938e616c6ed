#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Starts a copy of the real program on a store it cannot write and answers its box with
// xdotool: the program must name the file and the reason, touch nothing, and end with 1.
class TestStoreStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unusableStoreStopsTheStart_data();
    void unusableStoreStopsTheStart();

private:
    QString storePath() const { return m_dir->path() + QStringLiteral("/orvdownloader.4.sqlite"); }
    QString log() const;
    // Waits for the program's box, keeps a screenshot of it, and presses Return until the
    // program ends; true when a box appeared and the program is gone.
    bool answerBox(QProcess& process, const QString& screenshotName);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    bool m_immutable = false;
};

void TestStoreStartup::init()
{
    m_dir.reset(new QTemporaryDir());
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::copy(QStringLiteral(ORV_PROGRAM_PATH),
                        m_dir->path() + QStringLiteral("/reelvane-downloader")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tmp")));
}

void TestStoreStartup::cleanup()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
    if (m_immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), storePath()});
    m_immutable = false;
    for (const QString& name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
    m_dir.reset();
}

QString TestStoreStartup::log() const
{
    QFile file(m_dir->path() + QStringLiteral("/debug.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool TestStoreStartup::answerBox(QProcess& process, const QString& screenshotName)
{
    const QString pid = QString::number(process.processId());
    bool sawWindow = false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000 && process.state() != QProcess::NotRunning) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--pid"), pid});
        search.waitForFinished(5000);
        const QString window =
            QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).first();
        if (window.isEmpty()) {
            QTest::qWait(100);
            continue;
        }
        if (!sawWindow) {
            sawWindow = true;
            QTest::qWait(300); // let it paint
            const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artefacts");
            QDir().mkpath(folder);
            QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + screenshotName);
        }
        // No window manager under Xvfb: focus the box directly, then press its default button.
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        process.waitForFinished(1000);
    }
    return sawWindow && process.state() == QProcess::NotRunning;
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
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("needs an X display (xvfb-run) and xdotool");

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

    m_process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), m_dir->path() + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path() + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_process->setProcessEnvironment(env);
    m_process->setWorkingDirectory(m_dir->path());
    m_process->start(m_dir->path() + QStringLiteral("/reelvane-downloader"), QStringList());
    QVERIFY(m_process->waitForStarted(10000));
    const QString screenshot = QStringLiteral("store-") + store + QStringLiteral(".png");
    QVERIFY2(answerBox(*m_process, screenshot),
             qPrintable(QStringLiteral("no box, or it did not close:\n") + log()));
    QCOMPARE(m_process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_process->exitCode(), 1);

    const QString text = log();
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

int main(int argc, char* argv[])
{
    // The box is a real window on the X display; the screenshots are taken from there.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    TestStoreStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store_startup.moc"
