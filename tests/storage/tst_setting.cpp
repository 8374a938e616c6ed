#include "TestSandbox.h"
#include "LogCapture.h"
#include <QSqlQuery>
#include <QVariant>

#include "app/UserPrompt.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>


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

// Both singletons forgotten, as after a restart of the program.
void restart(const QString& directory)
{
    Setting::resetForTesting();
    DatabaseManager::resetForTesting(directory);
}
} // namespace

class TestSetting : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir());
        QVERIFY(m_dir->isValid());
        restart(m_dir->path());
        m_log.reset(new LogCapture());
    }
    void cleanup()
    {
        m_log.reset();
        restart(QString());
    }

    void firstStartWritesDefaults();
    void existingTableGetsNoDefaults();
    void setOnlyChangesMemoryUntilSave();
    void saveRewritesTableExactly();
    void valuesSurviveRestart();
    void failedSaveRollsBackAndLaterWritesLast();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    // Made per test: QtTest installs its own message handler when the run starts.
    std::unique_ptr<LogCapture> m_log;
};

void TestSetting::firstStartWritesDefaults()
{
    Setting* settings = Setting::getInstance();
    QCOMPARE(settings->get(QStringLiteral("download_paused")), QStringLiteral("0"));
    QCOMPARE(settings->get(QStringLiteral("download_speed")), QStringLiteral("0"));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QString());
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
    QCOMPARE(Setting::getInstance(), settings);
}

void TestSetting::existingTableGetsNoDefaults()
{
    DatabaseManager::getInstance()->insertSetting(QStringLiteral("username"), QStringLiteral("ana"));
    Setting* settings = Setting::getInstance();
    QCOMPARE(settings->get(QStringLiteral("username")), QStringLiteral("ana"));
    QCOMPARE(settings->get(QStringLiteral("download_paused")), QString());
    QCOMPARE(tableRows(), QStringList{"username=ana"});
}

void TestSetting::setOnlyChangesMemoryUntilSave()
{
    Setting* settings = Setting::getInstance();
    QSignalSpy changed(settings, &Setting::changed);

    settings->set(QStringLiteral("download_limit"), QStringLiteral("150"));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QStringLiteral("150"));
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
    QCOMPARE(changed.count(), 0);

    settings->save();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(tableRows(), (QStringList{"download_limit=150", "download_paused=0", "download_speed=0"}));
}

void TestSetting::saveRewritesTableExactly()
{
    Setting* settings = Setting::getInstance();
    QSignalSpy changed(settings, &Setting::changed);
    settings->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    settings->save();
    settings->save();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(tableRows(), (QStringList{"download_paused=1", "download_speed=0"}));
    // A row the map does not hold does not survive a save.
    QVERIFY(TestSandbox::exec(QStringLiteral("INSERT INTO setting (key, value) VALUES ('stray', 'x')")));
    settings->save();
    QCOMPARE(tableRows(), (QStringList{"download_paused=1", "download_speed=0"}));
}

void TestSetting::valuesSurviveRestart()
{
    Setting::getInstance()->set(QStringLiteral("username"), QStringLiteral("ana"));
    Setting::getInstance()->set(QStringLiteral("download_limit"), QStringLiteral("42"));
    Setting::getInstance()->save();
    Setting::getInstance()->set(QStringLiteral("unsaved"), QStringLiteral("gone"));

    restart(m_dir->path());
    Setting* settings = Setting::getInstance();
    QCOMPARE(settings->get(QStringLiteral("username")), QStringLiteral("ana"));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QStringLiteral("42"));
    QCOMPARE(settings->get(QStringLiteral("unsaved")), QString());
}

void TestSetting::failedSaveRollsBackAndLaterWritesLast()
{
    ScriptedPrompts prompts;
    Setting* settings = Setting::getInstance();
    QSignalSpy changed(settings, &Setting::changed);
    // Refuse the second insert of the save ("a" goes first in key order, then "b").
    QVERIFY(TestSandbox::exec(QStringLiteral("CREATE TRIGGER refuse_b BEFORE INSERT ON setting WHEN NEW.key = 'b' "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    settings->set(QStringLiteral("a"), QStringLiteral("1"));
    settings->set(QStringLiteral("b"), QStringLiteral("2"));
    m_log->take();

    settings->save();

    QCOMPARE(changed.count(), 0);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Warning);
    QCOMPARE(prompts.last().informativeText, QStringLiteral("Unable to run insertSetting query"));
    const QStringList log = m_log->take();
    QVERIFY(log.filter(QStringLiteral("[DatabaseManager] Unable to run insertSetting query: ")).size() == 1);
    // The table keeps its previous copy instead of a half-written one.
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
    QCOMPARE(settings->get(QStringLiteral("b")), QStringLiteral("2"));

    // Later single writes must be committed, not swallowed by a transaction left open.
    Notification event(QStringLiteral("user"), 1, QStringLiteral("r1"), QStringLiteral("1-x"), 1,
                       NotificationType::DownloadStarted, false);
    DatabaseManager::getInstance()->insertNotification(&event);

    restart(m_dir->path());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("notification")), 1);
    QCOMPARE(tableRows(), (QStringList{"download_paused=0", "download_speed=0"}));
}

QTEST_GUILESS_MAIN(TestSetting)
#include "tst_setting.moc"
