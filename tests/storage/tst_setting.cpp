#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

namespace {
// The table as key=value pairs in key order.
QStringList tableRows()
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    query.exec(QStringLiteral("SELECT key, value FROM setting ORDER BY key"));
    QStringList rows;
    while (query.next())
        rows << query.value(0).toString() + QLatin1Char('=') + query.value(1).toString();
    return rows;
}
} // namespace

class TestSetting : public QObject
{
    Q_OBJECT

private slots:
    void defaultsSetSaveRestart();
    void failedSaveRollsBackAndLaterWritesLast();
};

void TestSetting::defaultsSetSaveRestart()
{
    TestSandbox sandbox;
    LogCapture quiet;

    // First start: the defaults, written once.
    Setting* settings = Setting::getInstance();
    QCOMPARE(Setting::getInstance(), settings);
    QCOMPARE(settings->get(QStringLiteral("download_paused")), QStringLiteral("0"));
    QCOMPARE(settings->get(QStringLiteral("download_speed")), QStringLiteral("0"));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QString());
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));

    // set() changes memory only; save() writes the whole map and signals once.
    QSignalSpy changed(settings, &Setting::changed);
    settings->set(QStringLiteral("download_limit"), QStringLiteral("150"));
    settings->set(QStringLiteral("username"), QStringLiteral("ana"));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QStringLiteral("150"));
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
    QCOMPARE(changed.count(), 0);
    settings->save();
    QCOMPARE(changed.count(), 1);
    const QStringList saved{"download_limit=150", "download_paused=0", "download_speed=0", "username=ana"};
    QCOMPARE(tableRows(), saved);

    // Saving again leaves one row per key, and a row the map does not hold goes.
    QVERIFY(TestSandbox::exec(QStringLiteral("INSERT INTO setting (key, value) VALUES ('stray', 'x')")));
    settings->save();
    settings->save();
    QCOMPARE(changed.count(), 3);
    QCOMPARE(tableRows(), saved);

    // A restart brings back what was saved, not what was only set.
    settings->set(QStringLiteral("unsaved"), QStringLiteral("gone"));
    sandbox.restart();
    settings = Setting::getInstance();
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QStringLiteral("150"));
    QCOMPARE(settings->get(QStringLiteral("username")), QStringLiteral("ana"));
    QCOMPARE(settings->get(QStringLiteral("unsaved")), QString());

    // A table with any row at all gets no defaults, even for missing keys.
    QVERIFY(TestSandbox::exec(QStringLiteral("DELETE FROM setting WHERE key <> 'username'")));
    sandbox.restart();
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QString());
    QCOMPARE(tableRows(), QStringList{"username=ana"});
}

void TestSetting::failedSaveRollsBackAndLaterWritesLast()
{
    TestSandbox sandbox;
    LogCapture quiet;
    ScriptedPrompts prompts;
    Setting* settings = Setting::getInstance();
    QSignalSpy changed(settings, &Setting::changed);
    // Refuse the second insert of the save ("a" goes first in key order, then "b").
    QVERIFY(
        TestSandbox::exec(QStringLiteral("CREATE TRIGGER refuse_b BEFORE INSERT ON setting WHEN NEW.key = "
                                         "'b' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    settings->set(QStringLiteral("a"), QStringLiteral("1"));
    settings->set(QStringLiteral("b"), QStringLiteral("2"));

    settings->save();

    QCOMPARE(changed.count(), 0);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Warning);
    QCOMPARE(prompts.last().informativeText, QStringLiteral("Unable to run insertSetting query"));
    // The table keeps its previous copy instead of a half-written one.
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
    QCOMPARE(settings->get(QStringLiteral("b")), QStringLiteral("2"));

    // Later single writes must be committed, not swallowed by a transaction left open.
    Notification event(QStringLiteral("user"), 1, QStringLiteral("r1"), QStringLiteral("1-x"), 1,
                       NotificationType::DownloadStarted, false);
    DatabaseManager::getInstance()->insertNotification(&event);

    sandbox.restart();
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("notification")), 1);
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
}

QTEST_GUILESS_MAIN(TestSetting)
#include "tst_setting.moc"
