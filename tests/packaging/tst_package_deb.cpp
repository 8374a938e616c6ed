#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The .deb is what the update check hands to the desktop and what a cinema installs, so
// the package is built as a user would build it and its contents and dependencies checked.
class TestPackageDeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsProgramAndDesktopIntegration_data();
    void holdsProgramAndDesktopIntegration();
    void dependsOnWhatTheProgramLoads_data();
    void dependsOnWhatTheProgramLoads();

private:
    static QString run(const QString& program, const QStringList& arguments,
                       const QString& workDir = QString());

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_contents;
    QString m_depends;
};

QString TestPackageDeb::run(const QString& program, const QStringList& arguments, const QString& workDir)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    if (!process.waitForFinished(240000) || process.exitCode() != 0) {
        qWarning().noquote() << program << arguments.join(QLatin1Char(' ')) << "failed:\n"
                             << QString::fromLocal8Bit(process.readAll());
        return QString();
    }
    return QString::fromLocal8Bit(process.readAll());
}

void TestPackageDeb::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
        QSKIP("needs dpkg-deb and dpkg-shlibdeps (scripts/install-deps.sh installs dpkg-dev)");
    QVERIFY(m_dir.isValid());
    const QString output =
        run(QStringLiteral(ORV_CPACK_COMMAND),
            {QStringLiteral("--config"), QStringLiteral(ORV_CPACK_CONFIG), QStringLiteral("-G"),
             QStringLiteral("DEB"), QStringLiteral("-B"), m_dir.path()},
            m_dir.path());
    const QStringList debs = QDir(m_dir.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = m_dir.filePath(debs.first());
    QVERIFY2(debs.first().startsWith(QStringLiteral("reelvane-downloader_" ORV_VERSION "_")),
             qPrintable(debs.first()));
    m_contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
    m_depends =
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, QStringLiteral("Depends")});
    QVERIFY(!m_contents.isEmpty());
    QVERIFY(!m_depends.isEmpty());
}

void TestPackageDeb::holdsProgramAndDesktopIntegration_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << "./usr/bin/reelvane-downloader";
    QTest::newRow("menu entry") << "./usr/share/applications/";
    QTest::newRow("package file type") << "./usr/share/mime/packages/";
    QTest::newRow("icon") << "./usr/share/icons/hicolor/";
}

void TestPackageDeb::holdsProgramAndDesktopIntegration()
{
    QFETCH(QString, path);
    QVERIFY2(m_contents.contains(path), qPrintable(m_contents));
    // Nothing but the program and its desktop files: no test, tool or library leaks in.
    QVERIFY2(!m_contents.contains(QStringLiteral("tst_")), qPrintable(m_contents));
    QVERIFY2(!m_contents.contains(QStringLiteral("orv-standin")), qPrintable(m_contents));
}

void TestPackageDeb::dependsOnWhatTheProgramLoads_data()
{
    QTest::addColumn<QString>("package");
    // Found in the binary by dpkg-shlibdeps.
    QTest::newRow("Qt core") << "libqt5core5a";
    QTest::newRow("Qt QML") << "libqt5qml5";
    QTest::newRow("Crypto++") << "libcrypto++";
    // Loaded at run time, so named by hand.
    QTest::newRow("SQLite driver") << "libqt5sql5-sqlite";
    QTest::newRow("Controls 1") << "qml-module-qtquick-controls";
    QTest::newRow("Dialogs 1") << "qml-module-qtquick-dialogs";
}

void TestPackageDeb::dependsOnWhatTheProgramLoads()
{
    QFETCH(QString, package);
    const QRegularExpression entry(QStringLiteral("(^|,\\s*)") + QRegularExpression::escape(package));
    QVERIFY2(entry.match(m_depends).hasMatch(), qPrintable(m_depends));
}

QTEST_GUILESS_MAIN(TestPackageDeb)
#include "tst_package_deb.moc"
