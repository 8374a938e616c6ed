#include "core/Services.h"

#include <QtTest>

// Service addresses: the overrides, how paths are joined to them, and which are refused.
class TestServices : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qunsetenv("ORV_PORTAL_URL");
        qunsetenv("ORV_NOTIFY_URL");
    }

    void joining_data();
    void joining();
    void addressCheck_data();
    void addressCheck();
};

void TestServices::joining_data()
{
    QTest::addColumn<QString>("portal");
    QTest::addColumn<QString>("notify");
    QTest::addColumn<QString>("expectedBase");

    QTest::newRow("without slash") << "http://127.0.0.1:8080"
                                   << "http://127.0.0.1:9"
                                   << "http://127.0.0.1:8080/";
    QTest::newRow("with slash") << "http://127.0.0.1:8080/"
                                << "http://127.0.0.1:9/"
                                << "http://127.0.0.1:8080/";
    QTest::newRow("several slashes") << " https://portal.example.com// "
                                     << "http://127.0.0.1:9//"
                                     << "https://portal.example.com/";
}

void TestServices::joining()
{
    QFETCH(QString, portal);
    QFETCH(QString, notify);
    QFETCH(QString, expectedBase);

    qputenv("ORV_PORTAL_URL", portal.toUtf8());
    qputenv("ORV_NOTIFY_URL", notify.toUtf8());
    QCOMPARE(Services::portalBaseUrl(), expectedBase);
    QCOMPARE(Services::portalUrl(QStringLiteral("authenticate")).toString(), expectedBase + "authenticate");
    QCOMPARE(Services::portalUrl(QStringLiteral("/updates")).toString(), expectedBase + "updates");
    QCOMPARE(Services::portalUrl(QStringLiteral("user/password/reset/")).toString(),
             expectedBase + "user/password/reset/");
    QCOMPARE(Services::notificationBaseUrl(), QStringLiteral("http://127.0.0.1:9"));
    QCOMPARE(Services::notificationUrl(QStringLiteral("/notification/dcp")).toString(),
             QStringLiteral("http://127.0.0.1:9/notification/dcp"));
}

void TestServices::addressCheck_data()
{
    QTest::addColumn<QString>("portal"); // empty: the default
    QTest::addColumn<QString>("notify");
    QTest::addColumn<bool>("refused");

    QTest::newRow("defaults") << ""
                              << "" << false;
    QTest::newRow("https portal") << "https://portal.example.com:8443/"
                                  << "" << false;
    QTest::newRow("http on 127.0.0.1") << "http://127.0.0.1:8080"
                                       << "http://127.0.0.1:8081" << false;
    QTest::newRow("http on 127.3.2.1") << "http://127.3.2.1"
                                       << "" << false;
    QTest::newRow("http on ::1") << "http://[::1]:8080/"
                                 << "" << false;
    QTest::newRow("http on localhost") << "http://LocalHost:8080"
                                       << "" << false;
    QTest::newRow("http elsewhere") << "http://portal.example.com"
                                    << "" << true;
    QTest::newRow("http on a look-alike") << "http://localhost.example.com"
                                          << "" << true;
    QTest::newRow("http on 128.0.0.1") << "http://128.0.0.1"
                                       << "" << true;
    QTest::newRow("not http") << "ftp://127.0.0.1/"
                              << "" << true;
    QTest::newRow("no host") << "https://"
                             << "" << true;
    QTest::newRow("plain http notifications elsewhere") << ""
                                                        << "http://notify.example.com/" << false;
    QTest::newRow("notifications not http") << ""
                                            << "file:///tmp/x" << true;
}

void TestServices::addressCheck()
{
    QFETCH(QString, portal);
    QFETCH(QString, notify);
    QFETCH(bool, refused);

    if (!portal.isEmpty())
        qputenv("ORV_PORTAL_URL", portal.toUtf8());
    if (!notify.isEmpty())
        qputenv("ORV_NOTIFY_URL", notify.toUtf8());
    const QString problem = Services::addressProblem();
    QCOMPARE(!problem.isEmpty(), refused);
    if (refused)
        QVERIFY2(problem.contains(portal.isEmpty() ? notify : portal), qPrintable(problem));
}

QTEST_APPLESS_MAIN(TestServices)
#include "tst_services.moc"
