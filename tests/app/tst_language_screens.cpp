// The program in French and German at 1366 x 768: the Login, the main window with DCPs in
// several states, a details page and the drive check's report, grabbed for a look
// (build/artefacts/languages/<language>-*.png). Longer texts than the English must not run
// out of the widget or item that holds them; any QML warning fails.
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "app/MainWindow.h"
#include "app/Translations.h"
#include "app/WindowFit.h"
#include "dialogs/LoginDialog.h"
#include "download/DownloadManager.h"
#include "download/DriveVerifier.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QtTest>

namespace {
const QString kArtefacts = QStringLiteral(ORV_ARTEFACTS_DIR "/languages");

// Texts on one line without an ellipsis that are wider than their item or the item holding
// them: cut, or running over a button's edge.
QStringList overflowing(QQuickItem* item)
{
    QStringList found;
    if (!item->isVisible() || item->opacity() == 0)
        return found;
    const QString text = item->property("text").toString();
    if (item->inherits("QQuickText") && !text.isEmpty() && item->property("elide").toInt() == Qt::ElideNone &&
        item->property("wrapMode").toInt() == 0) {
        // What is drawn: a label that shrinks to fit counts at its shrunk size.
        const qreal drawn = item->property("contentWidth").toReal();
        const qreal room = qMin(item->width(), item->parentItem()->width() - qMax<qreal>(0, item->x()));
        if (drawn > room + 1)
            found << QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(drawn).arg(room);
    }
    for (QQuickItem* child : item->childItems())
        found << overflowing(child);
    return found;
}

QStringList overflowing(const QWidget* dialog)
{
    QStringList found;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->width() < button->sizeHint().width())
            found << button->text();
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->wordWrap() && label->width() < label->sizeHint().width())
            found << label->text();
    }
    for (const QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
        if (field->fontMetrics().horizontalAdvance(field->placeholderText()) > field->width() - 12)
            found << field->placeholderText();
    }
    return found;
}

// A frame drawn after the last change, grabbed from the window's backing store.
bool grab(QQuickWindow* window, const QString& path)
{
    QSignalSpy drawn(window, &QQuickWindow::afterRendering);
    window->update();
    return drawn.wait(5000) && window->screen()->grabWindow(window->winId()).save(path);
}

// A DCP of one reel whose single asset is in the given state.
DCP* film(TestSandbox& box, const QString& uuid, const QString& title, int reels)
{
    DCP* dcp = box.makeDCP(uuid, title);
    for (int r = 1; r <= reels; ++r)
        TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, uuid + QString::number(r), unsigned(r)),
                                    uuid + QStringLiteral("-a") + QString::number(r), 700000000);
    return dcp;
}
} // namespace

class TestLanguageScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void screens_data();
    void screens();
};

void TestLanguageScreens::initTestCase()
{
    QDir(kArtefacts).removeRecursively();
    QVERIFY(QDir().mkpath(kArtefacts));
}

void TestLanguageScreens::cleanupTestCase()
{
    Translations::install(QStringLiteral("en"));
}

void TestLanguageScreens::screens_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("searchHint"); // a text of the window, to know it speaks the language
    QTest::newRow("French") << "fr"
                            << "Rechercher des DCP...";
    QTest::newRow("German") << "de"
                            << "DCPs suchen...";
}

void TestLanguageScreens::screens()
{
    QFETCH(QString, language);
    QFETCH(QString, searchHint);
    Translations::install(language);
    const auto shot = [&](const QString& name) -> QString {
        return kArtefacts + QLatin1Char('/') + language + name;
    };

    TestSandbox box; // the Login reads the saved user name
    {
        LoginDialog login(*Setting::getInstance());
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QVERIFY(login.grab().save(shot(QStringLiteral("-login.png"))));
        const QStringList cut = overflowing(&login);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }

    SampleDcp::Options o;
    o.title = QStringLiteral("Checked_FTR");
    o.reels = 2;
    o.pictureSize = 300000;
    o.soundSize = 50000;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, box.downloads() + QLatin1Char('/') + o.title, &d));
    DCP* checked = box.makeDCP(d.cplUuid, d.title);
    for (int r = 1; r <= 2; ++r) {
        Reel* reel = box.addReel(checked, QStringLiteral("reel-%1").arg(r), unsigned(r));
        for (const DcpAssetInfo& a : d.assetsOfReels({r})) {
            Asset* asset = TestSandbox::addAssetOfSize(reel, a.uuid, a.size, a.hash);
            asset->setOriginalFileName(a.path);
            asset->setDownloadFinished(true);
            asset->setDownloadChecksummed(true);
        }
    }
    box.store(checked);
    DCP* pending = film(box, QStringLiteral("d-pending"), QStringLiteral("Pending_FTR"), 3);
    box.store(pending);
    DCP* failed = film(box, QStringLiteral("d-failed"), QStringLiteral("Failed_FTR"), 2);
    failed->getReels().first()->getAssets().first()->setDownloadCorrupted(true);
    box.store(failed);
    box.engine()->pauseDownloading(true);

    WindowUnderTest window;
    QVERIFY(window.load(box));
    QTRY_VERIFY(window.window()->property("created").toBool());
    // A laptop's screen, whatever the screen the test runs on: the window no longer follows it.
    auto* fit = qobject_cast<WindowFit*>(
        window.scene()->qml().rootContext()->contextProperty(QStringLiteral("window_fit")).value<QObject*>());
    QVERIFY(fit);
    fit->follow(nullptr);
    window.window()->setMinimumSize(QSize(1200, 750));
    window.window()->resize(1366, 768);
    QCOMPARE(window.item(QStringLiteral("searchField"))->property("placeholderText").toString(), searchHint);
    QTRY_COMPARE(window.window()->contentItem()->width(), 1366.0); // laid out again
    QVERIFY(grab(window.window(), shot(QStringLiteral("-main.png"))));
    QVERIFY2(overflowing(window.window()->contentItem()).isEmpty(),
             qPrintable(overflowing(window.window()->contentItem()).join('\n')));

    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails",
                                      Q_ARG(QVariant, box.catalogue()->getDCPs().indexOf(failed))));
    QVERIFY(grab(window.window(), shot(QStringLiteral("-details.png"))));
    QVERIFY2(overflowing(window.window()->contentItem()).isEmpty(),
             qPrintable(overflowing(window.window()->contentItem()).join('\n')));

    const int index = box.catalogue()->getDCPs().indexOf(checked);
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, index)));
    QFile picture(box.downloads() + QStringLiteral("/Checked_FTR/") + d.find(DcpAssetInfo::Picture, 2).path);
    QVERIFY(picture.open(QIODevice::ReadWrite) && picture.seek(4096) && picture.putChar('!'));
    picture.close();
    QVERIFY(writeFile(box.downloads() + QStringLiteral("/Checked_FTR/.sound_r1.wav.part"), "x"));
    DriveVerifier& verifier = window.scene()->driveCheck();
    QSignalSpy finished(&verifier, &DriveVerifier::finished);
    verifier.start(checked);
    QVERIFY(finished.wait(30000));
    QCOMPARE(verifier.getProblems().size(), 2);
    QVERIFY(grab(window.window(), shot(QStringLiteral("-details-drive-report.png"))));
    QVERIFY2(overflowing(window.window()->contentItem()).isEmpty(),
             qPrintable(overflowing(window.window()->contentItem()).join('\n')));
    QCOMPARE(window.warnings(), QStringList());
}

int main(int argc, char** argv)
{
    // Scene graph without a GPU, so the whole window, menu and status bar included, can be grabbed.
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestLanguageScreens test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_language_screens.moc"
