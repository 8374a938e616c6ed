#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "StandInServer.h"
#include "TestSandbox.h"
#include "app/WidgetPrompts.h"
#include "core/Services.h"
#include "dialogs/LoginDialog.h"
#include "dialogs/UpdaterDialog.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QNetworkInterface>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

namespace {
const char kRed[] = "color: rgb(255, 8, 11);";
const char kNoConnection[] = "Error. Please check your internet connection.";

// What a screen reader finds below iface without a name: every control the keyboard can
// reach, and every field, button and link, as "role objectName".
void unnamed(QAccessibleInterface* iface, QStringList* found)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* const child = iface->child(i);
        if (!child || child->state().invisible)
            continue;
        const QAccessible::Role role = child->role();
        const bool control = child->state().focusable || role == QAccessible::EditableText ||
                             role == QAccessible::PushButton || role == QAccessible::Link;
        if (control && child->text(QAccessible::Name).trimmed().isEmpty())
            found->append(QStringLiteral("%1 %2").arg(role).arg(
                child->object() ? child->object()->objectName() : QString()));
        unnamed(child, found);
    }
}

QStringList unnamedControls(QWidget* window)
{
    QStringList found;
    unnamed(QAccessible::queryAccessibleInterface(window), &found);
    return found;
}
} // namespace

// Stands in for the desktop: records the files and pages the dialogs ask it to open.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// Both start-up dialogs against the local stand-in portal, each in a sandbox: its own
// store, its own temporary folder (where installers go) and a fresh server.
class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void login_data();
    void login();
    void storedUserNameFocusesPassword_data();
    void storedUserNameFocusesPassword();
    void versionCheck_data();
    void versionCheck();
    void installer_data();
    void installer();
    void drivesOffered_data();
    void drivesOffered();

private:
    QString tempFolder() const { return m_sandbox->root() + QStringLiteral("/tmp"); }
    QStringList tempFiles() const
    {
        return QDir(tempFolder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void usePortal(const QString& url) { qputenv("ORV_PORTAL_URL", url.toUtf8()); }
    // Saves the dialog as it looks into artefacts/ beside the test, for a look by eye.
    static void keepScreenshot(QWidget& dialog, const QString& name);
    // An address on which nothing listens.
    static QString deadAddress();

    std::unique_ptr<TestSandbox> m_sandbox;
    StandInServer* m_server = nullptr;
    // Made per test: QtTest installs its own message handler when the run starts.
    std::unique_ptr<LogCapture> m_log;
    QString logText() const { return m_log->lines().join(QLatin1Char('\n')); }
    DesktopRecorder m_desktop;
    WidgetPrompts m_prompts; // the program's own: links reach the desktop's url handlers
    QByteArray m_savedTmp;
};

void TestDialogs::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    umask(0); // as the program runs
    UserPrompt::setPresenter(&m_prompts);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_desktop, "open");
    m_savedTmp = qgetenv("TMPDIR");
}

void TestDialogs::init()
{
    m_sandbox = std::make_unique<TestSandbox>(TestSandbox::WithServer);
    QVERIFY(m_sandbox->isValid() && m_sandbox->server.isListening());
    m_server = &m_sandbox->server;
    QVERIFY(QDir().mkpath(tempFolder()));
    qputenv("TMPDIR", QFile::encodeName(tempFolder()));
    m_desktop.opened.clear();
    m_log = std::make_unique<LogCapture>();
}

void TestDialogs::cleanup()
{
    UserPrompt::setPresenter(&m_prompts);
    // Version check, installer and login: nothing may come back compressed.
    for (const auto& entry : m_server->journal())
        QVERIFY2(entry.headers.contains({"Accept-Encoding", "identity"}), qPrintable(entry.toLine()));
    m_log.reset();
    qputenv("TMPDIR", m_savedTmp);
    qunsetenv("ORV_PORTAL_URL");
    m_server = nullptr;
    m_sandbox.reset();
}

void TestDialogs::keepScreenshot(QWidget& dialog, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artefacts");
    QDir().mkpath(folder);
    QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

QString TestDialogs::deadAddress()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

void TestDialogs::login_data()
{
    QTest::addColumn<QString>("password"); // accepted by the portal and typed
    QTest::addColumn<bool>("typedRight");  // false: a wrong password is typed
    QTest::addColumn<QByteArray>("key");   // body of an accepted login
    QTest::addColumn<QString>("portal");   // "stand-in", "error", "silent" or "dead"
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("expected"); // the response, or the red message

    const QByteArray key("KEY-0123\0trailing", 17);
    QTest::newRow("accepted, body cut at a zero byte")
        << "secret" << true << key << "stand-in" << true << "KEY-0123";
    QTest::newRow("accepted with an empty body")
        << "secret" << true << QByteArray() << "stand-in" << true << "";
    QTest::newRow("reserved characters arrive unchanged")
        << QStringLiteral("a+b&c=d%25e %zz f\u00e9+") << true << QByteArray("k") << "stand-in" << true << "k";
    QTest::newRow("refused: the portal's text")
        << "secret" << false << key << "stand-in" << false << "Invalid username or password.";
    QTest::newRow("server error") << "secret" << true << key << "error" << false
                                  << "Service is temporarily not available. Please try again later.";
    QTest::newRow("no network") << "secret" << true << key << "dead" << false << kNoConnection;
    QTest::newRow("silent portal times out") << "secret" << true << key << "silent" << false << kNoConnection;
}

void TestDialogs::login()
{
    QFETCH(QString, password);
    QFETCH(bool, typedRight);
    QFETCH(QByteArray, key);
    QFETCH(QString, portal);
    QFETCH(bool, accepted);
    QFETCH(QString, expected);

    m_server->setCredentials(QStringLiteral("user"), password, key);
    if (portal == QLatin1String("error"))
        m_server->setAuthenticateMode(StandInServer::AuthenticateMode::ServerError);
    if (portal == QLatin1String("silent"))
        m_server->setAuthenticateMode(StandInServer::AuthenticateMode::NeverAnswer);
    if (portal == QLatin1String("dead"))
        usePortal(deadAddress());

    LoginDialog dialog(*Setting::getInstance());
    dialog.setRequestTimeout(500);
    auto* const button = dialog.findChild<QPushButton*>(QStringLiteral("btn_login"));
    auto* const message = dialog.findChild<QLabel*>(QStringLiteral("label_error"));
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_username"))->setText(QStringLiteral("user"));
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_password"))
        ->setText(typedRight ? password : QStringLiteral("wrong"));

    button->click();
    button->click(); // ignored while the first request is pending
    QCOMPARE(button->text(), QStringLiteral("LOGGING IN..."));
    QTRY_COMPARE_WITH_TIMEOUT(button->text(), QStringLiteral("LOG IN"), 10000);

    const int requests = m_server->journalFor(QStringLiteral("/authenticate")).size();
    QCOMPARE(requests, portal == QLatin1String("dead") ? 0 : 1);
    QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (accepted) {
        QCOMPARE(dialog.getResponse(), expected);
        QCOMPARE(Setting::getInstance()->get(QStringLiteral("username")), QStringLiteral("user"));
    } else {
        QCOMPARE(message->text(), expected);
        QCOMPARE(message->styleSheet(), QString::fromLatin1(kRed));
        // Whatever the portal sends is shown as text, in the font of every other message.
        QCOMPARE(message->textFormat(), Qt::PlainText);
        // A refused password is typed again from an empty field; after any other failure
        // the same one can be tried again.
        const bool refused = QTest::currentDataTag() == QByteArray("refused: the portal's text");
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_password"))->text(),
                 refused ? QString() : password);
        if (QTest::currentDataTag() == QByteArray("refused: the portal's text"))
            keepScreenshot(dialog, QStringLiteral("login-refused"));
        QVERIFY(Setting::getInstance()->get(QStringLiteral("username")).isEmpty());
        QVERIFY2(logText().contains(QStringLiteral("[LoginDialog] Network reply error: ")),
                 qPrintable(logText()));
    }
}

void TestDialogs::storedUserNameFocusesPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("focused");
    QTest::newRow("no user name stored") << ""
                                         << "line_edit_username";
    QTest::newRow("user name stored") << "someone"
                                      << "line_edit_password";
}

void TestDialogs::storedUserNameFocusesPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, focused);

    Setting::getInstance()->set(QStringLiteral("username"), stored);
    Setting::getInstance()->save();
    LoginDialog dialog(*Setting::getInstance());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_username"))->text(), stored);
    QCOMPARE(unnamedControls(&dialog), QStringList());
    // Tab reaches the links after the button, named for screen readers; Return follows one.
    QStringList order;
    for (int i = 0; i < 4 && order.size() < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->accessibleName() + '/' +
                     QApplication::focusWidget()->objectName();
    }
    QVERIFY2(order.contains(QStringLiteral("Forgot Password/label_forgot_password")) &&
                 order.indexOf(QStringLiteral("Forgot Password/label_forgot_password")) >
                     order.indexOf(QStringLiteral("/btn_login")),
             qPrintable(order.join(", ")));
    while (QApplication::focusWidget()->objectName() != QLatin1String("label_forgot_password"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(m_desktop.opened.size(), 1);
    QVERIFY2(m_desktop.opened.first().path().endsWith(QStringLiteral("/user/password/reset/")),
             qPrintable(m_desktop.opened.first().toString()));
    keepScreenshot(dialog, QStringLiteral("login-") + QTest::currentDataTag());
}

void TestDialogs::versionCheck_data()
{
    QTest::addColumn<QByteArray>("answer"); // "silent": the portal never answers
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("logged");

    const auto json = [](const QJsonObject& object) {
        return QJsonDocument(object).toJson();
    };
    const QJsonObject base{{QStringLiteral("description"), QStringLiteral("<p>New reels view</p>")},
                           {QStringLiteral("mac_url"), QStringLiteral("https://portal.example.com/x.pkg")}};
    QJsonObject v = base;
    v.insert(QStringLiteral("version"), 20170613);
    QTest::newRow("20170613 offers nothing") << json(v) << false << "";
    v.insert(QStringLiteral("version"), 20170614);
    QTest::newRow("20170614 offers the update") << json(v) << true << "";
    QTest::newRow("no version offers nothing") << json(base) << false << "";
    v.insert(QStringLiteral("version"), QStringLiteral("20170614"));
    QTest::newRow("textual version offers nothing") << json(v) << false << "";
    QTest::newRow("not JSON") << QByteArray("<html>") << false
                              << "[UpdaterDialog] Cannot parse the JSON package:";
    QTest::newRow("silent portal gives up") << QByteArray("silent") << false << "";
}

void TestDialogs::versionCheck()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, offered);
    QFETCH(QString, logged);

    QTcpServer silent; // accepts connections and never answers
    if (answer == "silent") {
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        usePortal(QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()));
    } else {
        m_server->setVersionCheckBody(answer);
    }

    QElapsedTimer clock;
    clock.start();
    UpdaterDialog dialog;
    dialog.setVersionCheckTimeout(300);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTRY_VERIFY_WITH_TIMEOUT(
        !finished.isEmpty() || dialog.windowTitle() == QLatin1String("New version available"), 5000);
    if (answer == "silent") {
        // The check was sent, and the start went on only once its time was up.
        QVERIFY(silent.hasPendingConnections());
        // (A coarse timer may fire a little early.)
        QVERIFY2(clock.elapsed() >= 280, qPrintable(QString::number(clock.elapsed())));
    }

    if (offered) {
        QVERIFY(finished.isEmpty());
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label_status"))->text(),
                 QStringLiteral("New version available. Would you like to download updates now?"));
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("btn_update"))->isVisibleTo(&dialog));
        QVERIFY(dialog.findChild<QTextBrowser*>(QStringLiteral("text_browser_description"))
                    ->toPlainText()
                    .contains(QStringLiteral("New reels view")));
        QCOMPARE(unnamedControls(&dialog), QStringList());
        keepScreenshot(dialog, QStringLiteral("update-offered"));
        dialog.findChild<QPushButton*>(QStringLiteral("btn_not_now"))->click();
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
    QVERIFY2(logText().contains(logged), qPrintable(logText()));
}

void TestDialogs::installer_data()
{
    QTest::addColumn<QString>("source");  // "stand-in", "http", "cut", "closed" or "refused"
    QTest::addColumn<QString>("savedAs"); // empty: no file may be left

    QTest::newRow("percent-escaped name is decoded")
        << "stand-in" << QStringLiteral("Reelvane Update 1.5 (\u00e9).pkg");
    QTest::newRow("plain http address refused") << "http"
                                                << "";
    QTest::newRow("connection cut mid-way") << "cut"
                                            << "";
    QTest::newRow("closed while downloading") << "closed"
                                              << "";
    QTest::newRow("desktop refuses to open it") << "refused" << QStringLiteral("big.pkg");
    // xdg-open starts, then finds no program for the file: the desktop's answer is its exit code.
    QTest::newRow("desktop has no program for it") << "no program" << QStringLiteral("big.pkg");
}

void TestDialogs::installer()
{
    QFETCH(QString, source);
    QFETCH(QString, savedAs);

    const QByteArray bytes(300 * 1024, 'i');
    m_server->setVersion(UpdaterDialog::UpdateThreshold);
    m_server->setInstaller(QStringLiteral("Reelvane Update 1.5 (\u00e9).pkg"), bytes);
    m_server->setAssetData(QStringLiteral("big.pkg"), bytes);
    StandInServer::AssetFault fault;
    if (source == QLatin1String("cut")) {
        fault.dropAfterBytes = 100000;
    } else if (source == QLatin1String("closed")) {
        fault.throttleBytesPerSecond = 100000;
    }
    m_server->setAssetFault(QStringLiteral("big.pkg"), fault);

    // A query (say a signed link) does not change the file name.
    QString url = m_server->installerUrl().toString(QUrl::FullyEncoded) + QStringLiteral("?expires=1");
    QTcpServer plainHost; // a plain-http installer host on this computer's outward address
    if (source == QLatin1String("http")) {
        QHostAddress outward;
        for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
            if (outward.isNull() && address.protocol() == QAbstractSocket::IPv4Protocol &&
                !address.isLoopback())
                outward = address;
        }
        if (outward.isNull() || !plainHost.listen(outward))
            QSKIP("this computer has no address besides the loopback one");
        url = QStringLiteral("http://%1:%2/update.pkg").arg(outward.toString()).arg(plainHost.serverPort());
    } else if (source != QLatin1String("stand-in")) {
        url = m_server->assetUrl(QStringLiteral("big.pkg")).toString();
    }
    m_server->setVersionCheckBody(
        QJsonDocument(QJsonObject{{QStringLiteral("version"), 20170700}, {QStringLiteral("mac_url"), url}})
            .toJson());

    const bool refused = source == QLatin1String("refused");
    const bool noProgram = source == QLatin1String("no program");
    if (refused)
        UserPrompt::setPresenter(nullptr); // a desktop with no handler at all
    // The desktop's opener, which notes what it was given.
    const QString opener = m_sandbox->root() + QStringLiteral("/xdg-open");
    const QString openerLog = m_sandbox->root() + QStringLiteral("/opened.txt");
    QVERIFY(writeFile(opener, QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexit %2\n")
                                  .arg(openerLog)
                                  .arg(noProgram ? 3 : 0)
                                  .toUtf8()));
    QVERIFY(QFile::setPermissions(opener, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    m_prompts.setInstallerOpener(opener, 2000);
    ScriptedPrompts prompts;
    UpdaterDialog dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    auto* const update = dialog.findChild<QPushButton*>(QStringLiteral("btn_update"));
    QTRY_VERIFY(update->isVisibleTo(&dialog));
    update->click();

    if (!savedAs.isEmpty()) {
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toInt(),
                 int(refused || noProgram ? QDialog::Rejected : QDialog::Accepted));
        const QString path = tempFolder() + QLatin1Char('/') + savedAs;
        QCOMPARE(tempFiles(), QStringList{savedAs});
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);
        QCOMPARE(saved.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        QCOMPARE(QString::fromUtf8(readFile(openerLog)).trimmed(), refused ? QString() : path);
        // Not opened: the start goes on, and the user is told where the installer is.
        QCOMPARE(prompts.count() == 1 && prompts.last().informativeText.contains(path), refused || noProgram);
        return;
    }

    if (source == QLatin1String("http")) {
        // Refused before any request leaves.
        QVERIFY(!QSignalSpy(&plainHost, &QTcpServer::newConnection).wait(500));
    } else if (source == QLatin1String("cut")) {
        // Once the bytes before the cut have arrived, the short body is no installer: nothing
        // is opened and the dialog stays in its downloading state until the user closes it.
        QTRY_COMPARE_WITH_TIMEOUT(dialog.findChild<QProgressBar*>()->value(), 100000, 10000);
        QVERIFY(!finished.wait(500));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label_status"))->text(),
                 QStringLiteral("Downloading updates ..."));
        QVERIFY(dialog.findChild<QProgressBar*>()->isVisibleTo(&dialog));
    } else if (source == QLatin1String("closed")) {
        // Part of the installer has arrived when the user closes the dialog.
        QTRY_VERIFY_WITH_TIMEOUT(dialog.findChild<QProgressBar*>()->value() > 0, 10000);
        dialog.reject();
    }
    QVERIFY(m_desktop.opened.isEmpty());
    QCOMPARE(tempFiles(), QStringList());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(finished.size(), source == QLatin1String("closed") ? 1 : 0); // otherwise it waits for the user
}

void TestDialogs::drivesOffered_data()
{
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("offered");
    QTest::newRow("USB drive") << true << true << "/media/ana/FEATURES" << true;
    QTest::newRow("USB drive, udisks") << true << true << "/run/media/ana/FEATURES" << true;
    QTest::newRow("not ready") << true << false << "/media/ana/FEATURES" << false;
    QTest::newRow("gone") << false << true << "/media/ana/FEATURES" << false;
    QTest::newRow("system disk") << true << true << "/" << false;
    QTest::newRow("a name that only begins alike") << true << true << "/mediastore" << false;
}

// The folder dialog's sidebar lists the drives plugged in, never the system's own mounts.
void TestDialogs::drivesOffered()
{
    QFETCH(bool, valid);
    QFETCH(bool, ready);
    QFETCH(QString, root);
    QFETCH(bool, offered);
    QCOMPARE(WidgetPrompts::offersVolume(valid, ready, root), offered);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
