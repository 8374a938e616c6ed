#include "ScriptedPrompts.h"
#include "core/UserPrompt.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A presenter that answers every question with one button and one path.
class FixedPresenter : public PromptPresenter
{
public:
    PromptAnswer ask(const PromptRequest& request) override
    {
        asked << request.text;
        PromptAnswer answer;
        answer.button = Prompt::No;
        answer.path = QStringLiteral("/chosen");
        return answer;
    }
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return true;
    }

    QStringList asked;
    QList<QUrl> opened;
};
} // namespace

// The prompt layer without a window: who answers, in which order, and what nobody's answer is.
class TestUserPrompt : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { UserPrompt::setPresenter(nullptr); }

    void withoutPresenterDefaultsAreLogged();
    void presenterThenResponder();
    void folderDialogStartsWhereItCanBeConfirmed();
};

void TestUserPrompt::withoutPresenterDefaultsAreLogged()
{
    QVERIFY(!UserPrompt::presenter());
    QTest::ignoreMessage(
        QtDebugMsg, QRegularExpression("^\\[UserPrompt\\] No presenter; default answer to:.*Delete it\\?"));
    QCOMPARE(
        UserPrompt::message(Prompt::Question, "Delete it?", QString(), Prompt::Yes | Prompt::No, Prompt::No),
        Prompt::No);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^\\[UserPrompt\\] No presenter; default answer to:.*Done"));
    QCOMPARE(UserPrompt::message(Prompt::Information, "Done"), Prompt::Ok);

    PromptRequest folder;
    folder.title = "Choose a folder";
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Choose a folder"));
    QCOMPARE(UserPrompt::selectDirectory(folder), QString());
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("link not opened:.*example.com"));
    QVERIFY(!UserPrompt::openUrl(QUrl("https://example.com/")));
    QVERIFY(UserPrompt::history().isEmpty()); // only a responder's questions are recorded
}

void TestUserPrompt::presenterThenResponder()
{
    FixedPresenter presenter;
    UserPrompt::setPresenter(&presenter);
    QCOMPARE(UserPrompt::message(Prompt::Warning, "First"), Prompt::No);
    QCOMPARE(UserPrompt::selectOpenFile(PromptRequest()), QString("/chosen"));
    QVERIFY(UserPrompt::openUrl(QUrl("https://example.com/a")));

    {
        // A script answers instead of the presenter; links still go to the presenter.
        ScriptedPrompts script;
        script.answer(Prompt::Yes);
        QCOMPARE(UserPrompt::message(Prompt::Question, "Second", QString(), Prompt::Yes | Prompt::No),
                 Prompt::Yes);
        QVERIFY(UserPrompt::openUrl(QUrl("https://example.com/b")));
        QCOMPARE(script.texts(), QStringList{"Second"});
    }
    QCOMPARE(UserPrompt::message(Prompt::Warning, "Third"), Prompt::No);

    QCOMPARE(presenter.asked, QStringList({"First", QString(), "Third"}));
    QCOMPARE(presenter.opened, QList<QUrl>({QUrl("https://example.com/a"), QUrl("https://example.com/b")}));
}

void TestUserPrompt::folderDialogStartsWhereItCanBeConfirmed()
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (!oldConfig.isEmpty())
            qputenv("XDG_CONFIG_HOME", oldConfig);
    });

    // Started in a missing folder, a dialog offers its name and cannot be confirmed.
    QCOMPARE(UserPrompt::startFolder(), home.path());
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    QCOMPARE(UserPrompt::startFolder(), home.path() + QStringLiteral("/Documents"));
}

QTEST_GUILESS_MAIN(TestUserPrompt)
#include "tst_userprompt.moc"
