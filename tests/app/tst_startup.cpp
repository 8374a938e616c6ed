#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

// Starts copies of the real program in a sandbox folder (its log and database live beside
// the executable) with a private TMPDIR, so its single-instance keys meet only the
// processes of the same test. Message boxes are real windows on the X display and are
// answered with xdotool.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartsCreateStoreAndAppendLog();
    void secondInstanceIsRefused();
    void instanceAfterCrashStartsNormally();
    void storeErrorShowsCriticalBoxAndExitsWithOne();

private:
    QProcess* start(bool onDisplay);
    QString log() const;
    void removeOrphanedMarker();
    bool waitForLog(const QString& text, int count = 1) const;
    // Why the window tests cannot run here; empty when they can.
    static QString missingDisplay();
    // Waits for a visible window of the process and presses Return in it until the process
    // ends; true when a window appeared and the process is gone.
    bool answerBoxOf(QProcess& process);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

void TestStartup::init()
{
    m_dir.reset(new QTemporaryDir());
    QVERIFY(m_dir->isValid());
    m_program = m_dir->path() + QStringLiteral("/reelvane-downloader");
    QVERIFY(QFile::copy(QStringLiteral(ORV_PROGRAM_PATH), m_program));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tmp")));
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
}

void TestStartup::removeOrphanedMarker()
{
    // A killed instance leaves its marker segment behind while the test deletes the key
    // file that names it; a later key file that happens to map to the same System V key
    // would then find the segment taken. Probe it away as the next start would.
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir->path() + QStringLiteral("/tmp")));
    QSharedMemory probe(QStringLiteral("82abc78e-6952-4eec-bea5-aae7856b73e0"));
    if (probe.attach())
        probe.detach();
    if (savedTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTmp);
}

QProcess* TestStartup::start(bool onDisplay)
{
    m_running.push_back(std::make_unique<QProcess>());
    QProcess* process = m_running.back().get();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), m_dir->path() + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path() + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               onDisplay ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(m_dir->path());
    process->start(m_program, QStringList());
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

bool TestStartup::answerBoxOf(QProcess& process)
{
    const QString pid = QString::number(process.processId());
    bool sawWindow = false;
    QElapsedTimer timer;
    timer.start();
    // Pressing again until the process ends: a key sent while the box is still being
    // mapped can be lost on a loaded machine.
    while (timer.elapsed() < 30000 && process.state() != QProcess::NotRunning) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--pid"), pid});
        search.waitForFinished(5000);
        const QString window =
            QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).first();
        if (!window.isEmpty()) {
            sawWindow = true;
            // No window manager under Xvfb: focus the box directly, then press its default button.
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
            process.waitForFinished(1000);
        } else {
            QTest::qWait(100);
        }
    }
    return sawWindow && process.state() == QProcess::NotRunning;
}

void TestStartup::firstStartsCreateStoreAndAppendLog()
{
    for (int run = 1; run <= 2; ++run) {
        QProcess* program = start(false);
        QVERIFY(program);
        QVERIFY2(waitForLog(QStringLiteral("[DatabaseManager] Creating Tables...ok\r\n"), run),
                 qPrintable(log()));
        QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/orvdownloader.4.sqlite")));
        QCOMPARE(program->state(), QProcess::Running); // in its event loop
        program->terminate();
        QVERIFY(program->waitForFinished(10000));
    }
    QVERIFY(!log().contains(QStringLiteral("Multiple instances")));
}

void TestStartup::secondInstanceIsRefused()
{
    REQUIRE_DISPLAY();
    QProcess* first = start(false);
    QVERIFY(first);
    QVERIFY(waitForLog(QStringLiteral("Creating Tables...ok")));

    QProcess* second = start(true);
    QVERIFY(second);
    QVERIFY2(answerBoxOf(*second),
             qPrintable(QStringLiteral("the second instance showed no box, or it did not close:\n") + log()));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(log().contains(QStringLiteral("] [main] Multiple instances not allowed.\r\n")));
    // The second never reached the store, and the first runs on.
    QCOMPARE(log().count(QStringLiteral("Creating Tables...ok")), 1);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestStartup::instanceAfterCrashStartsNormally()
{
    QProcess* crashed = start(false);
    QVERIFY(crashed);
    QVERIFY(waitForLog(QStringLiteral("Creating Tables...ok")));
    crashed->kill(); // no chance to detach its marker
    QVERIFY(crashed->waitForFinished(10000));

    QProcess* next = start(false);
    QVERIFY(next);
    QVERIFY2(waitForLog(QStringLiteral("Creating Tables...ok"), 2), qPrintable(log()));
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(!log().contains(QStringLiteral("Multiple instances")));
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
