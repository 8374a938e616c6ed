#include "app/OrvDownloaderApp.h"
#include "app/PackageHandOff.h"
#include "core/LogHandler.h"

#include <QDataStream>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QByteArray readLog(const QString& directory)
{
    QFile file(directory + QStringLiteral("/debug.log"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Run as a child process to see that a fatal message is written before the abort.
const char kFatalChildEnv[] = "ORV_TEST_FATAL_LOG_DIR";
} // namespace

class TestAppShell : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir());
        QVERIFY(m_dir->isValid());
        setLogDirectoryForTesting(m_dir->path());
        qInstallMessageHandler(myMessageOutput);
    }
    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        setLogDirectoryForTesting(QString());
    }

    void lineFormat_data();
    void lineFormat();
    void appendsAndKeepsEarlierLines();
    void unwritableFolderIsSilent();
    void nonAsciiTextIsWrittenAsUtf8();
    void fatalIsWrittenThenAborts();
    void defaultsToExecutableFolder();
    void fileOpenEventIsOnlyRemembered();
    void handOffClosesOverlongAndSilentConnections();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAppShell::lineFormat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");

    QTest::newRow("debug") << int(QtDebugMsg) << "[main] Starting QML...";
    QTest::newRow("info") << int(QtInfoMsg) << "Info: x";
    QTest::newRow("warning") << int(QtWarningMsg) << "Warning: x";
    QTest::newRow("critical") << int(QtCriticalMsg) << "Critical: x";
}

void TestAppShell::lineFormat()
{
    QFETCH(int, type);
    QFETCH(QString, expected);

    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    switch (type) {
    case QtDebugMsg:
        qDebug() << "[main] Starting QML...";
        break;
    case QtInfoMsg:
        qInfo("x");
        break;
    case QtWarningMsg:
        qWarning("x");
        break;
    default:
        qCritical("x");
        break;
    }
    const QDateTime after = QDateTime::currentDateTimeUtc().addSecs(1);

    const QString log = QString::fromUtf8(readLog(m_dir->path()));
    const QRegularExpression line(
        QStringLiteral("^\\[(\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d)\\] (.*)\r\n$"));
    const QRegularExpressionMatch match = line.match(log);
    QVERIFY2(match.hasMatch(), qPrintable(log));
    QCOMPARE(match.captured(2), expected);
    // The local zone is set far from UTC in main(), so a local timestamp would be hours off.
    QDateTime stamp = QDateTime::fromString(match.captured(1), QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    stamp.setTimeSpec(Qt::UTC);
    QVERIFY2(stamp >= before && stamp <= after, qPrintable(match.captured(1)));
}

void TestAppShell::appendsAndKeepsEarlierLines()
{
    QFile file(m_dir->path() + QStringLiteral("/debug.log"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("earlier run\r\n");
    file.close();

    qDebug() << "[main] one";
    qDebug() << "[main] two";

    const QList<QByteArray> lines = readLog(m_dir->path()).split('\n');
    QCOMPARE(lines.size(), 4); // three lines and the empty rest after the last LF
    QCOMPARE(lines.at(0), QByteArray("earlier run\r"));
    QVERIFY(lines.at(1).endsWith("] [main] one\r"));
    QVERIFY(lines.at(2).endsWith("] [main] two\r"));
}

void TestAppShell::unwritableFolderIsSilent()
{
    // A regular file where the folder should be: cannot be written even by root.
    const QString blocker = m_dir->path() + QStringLiteral("/blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    setLogDirectoryForTesting(blocker);

    qDebug() << "[main] dropped";
    qWarning("dropped too");

    QCOMPARE(QFileInfo(blocker).size(), qint64(0));
    QVERIFY(!QFile::exists(blocker + QStringLiteral("/debug.log")));
}

void TestAppShell::nonAsciiTextIsWrittenAsUtf8()
{
    const QString title = QStringLiteral("Am\u00e9lie \u2013 \u65e5\u672c");
    qDebug().noquote() << "[DCPXMLReader]" << title;
    QVERIFY(readLog(m_dir->path()).endsWith("] [DCPXMLReader] " + title.toUtf8() + "\r\n"));
}

void TestAppShell::fatalIsWrittenThenAborts()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kFatalChildEnv), m_dir->path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(readLog(m_dir->path()).endsWith("] Fatal: out of options\r\n"));
}

void TestAppShell::defaultsToExecutableFolder()
{
    setLogDirectoryForTesting(QString());
    QCOMPARE(logDirectory(), QCoreApplication::applicationDirPath());
}

void TestAppShell::fileOpenEventIsOnlyRemembered()
{
    auto* app = static_cast<OrvDownloaderApp*>(QCoreApplication::instance());
    QCOMPARE(app->getPendingPackagePath(), QString());

    QFileOpenEvent first(QStringLiteral("/media/usb/first.orvdcp"));
    QVERIFY(QCoreApplication::sendEvent(app, &first));
    QFileOpenEvent second(QStringLiteral("/home/u/second film.orvdcp"));
    QVERIFY(QCoreApplication::sendEvent(app, &second));
    QCOMPARE(app->getPendingPackagePath(), QStringLiteral("/home/u/second film.orvdcp"));
    QVERIFY(readLog(m_dir->path())
                .endsWith("] [OrvDownloaderApp] Loading file from event (dbclick). File name: "
                          "\"/home/u/second film.orvdcp\"\r\n"));

    // Anything else is QApplication's business: a type it does not know comes back unhandled.
    QEvent other(static_cast<QEvent::Type>(QEvent::User - 1));
    QVERIFY(!QCoreApplication::sendEvent(app, &other));
    QCOMPARE(app->getPendingPackagePath(), QStringLiteral("/home/u/second film.orvdcp"));
}

void TestAppShell::handOffClosesOverlongAndSilentConnections()
{
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir->path())); // the socket lives in this test's folder
    PackageHandOff handOff;
    QVERIFY(handOff.listen());
    qputenv("TMPDIR", savedTmp); // empty means /tmp, as unset does
    // Garbage longer than a path: closed at once, long before its 5 s are up. Then a silent one,
    // and one that sends the start of a path and falls silent: both closed by the deadline.
    QByteArray part;
    {
        QDataStream stream(&part, QIODevice::WriteOnly);
        stream << QStringLiteral("/home/u/film.orvdcp");
    }
    part.chop(8);
    const QList<QPair<int, QByteArray>> peers = {
        {5000, QByteArray(PackageHandOff::MaxMessageBytes + 4096, 'x')}, {200, QByteArray()}, {200, part}};
    for (const auto& sent : peers) {
        handOff.setConnectionTimeout(sent.first);
        QLocalSocket peer;
        peer.connectToServer(m_dir->path() + QLatin1Char('/') + PackageHandOff::serverName());
        QVERIFY(peer.waitForConnected(2000));
        peer.write(sent.second);
        QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QLocalSocket::UnconnectedState, 2500);
    }
}

int main(int argc, char** argv)
{
    // Far from UTC, so a timestamp in local time cannot pass for UTC.
    qputenv("TZ", "Asia/Kathmandu");
    const QByteArray fatalDir = qgetenv(kFatalChildEnv);
    OrvDownloaderApp app(argc, argv);
    if (!fatalDir.isEmpty()) {
        setLogDirectoryForTesting(QString::fromLocal8Bit(fatalDir));
        qInstallMessageHandler(myMessageOutput);
        qFatal("out of options");
    }
    TestAppShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appshell.moc"
