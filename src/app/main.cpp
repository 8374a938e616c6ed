#include "app/DesktopNotifier.h"
#include "app/LogHandler.h"
#include "app/OrvDownloaderApp.h"
#include "app/Services.h"
#include "app/UserPrompt.h"
#include "download/DownloadManager.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/Setting.h"

#include <QDebug>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QSharedMemory>
#include <QSystemSemaphore>

#include <stdexcept>
#include <sys/stat.h>

namespace {
const char kGuardSemaphoreKey[] = "e4a493a9-66ea-4f12-b942-000d578504c8";
const char kInstanceMemoryKey[] = "82abc78e-6952-4eec-bea5-aae7856b73e0";
} // namespace

int main(int argc, char* argv[])
{
    // Files and folders get exactly the permissions the program asks for.
    umask(0);
    qInstallMessageHandler(myMessageOutput);

    OrvDownloaderApp app(argc, argv);
    // The window, its images and the dialogs' logo live in the core library's resources.
    Q_INIT_RESOURCE(qml);

    // Single-instance guard. The semaphore serialises check-and-create between two
    // processes started at the same moment; it is held only for the check.
    QSystemSemaphore guard(QString::fromLatin1(kGuardSemaphoreKey), 1, QSystemSemaphore::Open);
    guard.acquire();
    // A segment left behind by a crashed instance goes away with its last detach here;
    // one that a running instance holds stays.
    QSharedMemory probe(QString::fromLatin1(kInstanceMemoryKey));
    if (probe.attach())
        probe.detach();
    // The marker stays attached for the life of the process.
    QSharedMemory marker(QString::fromLatin1(kInstanceMemoryKey));
    bool anotherInstance = false;
    if (marker.attach())
        anotherInstance = true;
    else
        marker.create(1); // a failure here still lets this process run as the only one
    guard.release();

    if (anotherInstance) {
        UserPrompt::message(
            QMessageBox::Warning,
            QStringLiteral("You already have an instance of the Reelvane Downloader running.\r\n"
                           "Only one instance is allowed."));
        qDebug() << "[main] Multiple instances not allowed.";
        return 1;
    }

    try {
        // Update check and login join here.

        // The login dialog's first read of the stored user name opens the store; until the
        // dialog exists the settings are obtained here so every start opens it.
        Setting::getInstance();

        // The catalogue's first load starts the engine at once when the store held DCPs,
        // so downloads interrupted by the last exit resume without the user.
        DCPManager::getInstance();
        NotificationManager::getInstance();
        // The decoding key comes from the login; the import of a package handed over by the
        // desktop (app.getPendingPackagePath()) joins here with it.
        DownloadManager::getInstance();

        // The reel rows hand their Reel to removeDownloadReel(Reel*).
        qRegisterMetaType<Reel*>("Reel*");
        QQmlApplicationEngine engine;
        engine.rootContext()->setContextProperty(QStringLiteral("download_mgr"),
                                                 DownloadManager::getInstance());
        engine.rootContext()->setContextProperty(QStringLiteral("dcp_mgr"), DCPManager::getInstance());
        engine.rootContext()->setContextProperty(QStringLiteral("settings_mgr"), Setting::getInstance());
        // The page that "LAUNCH OSKAN" opens.
        engine.rootContext()->setContextProperty(QStringLiteral("portal_url"), Services::portalBaseUrl());
        qDebug() << "[main] Starting QML...";
        engine.load(QUrl(QStringLiteral("qrc:///main.qml")));
        // Tray messages when a DCP is ready or a reel is corrupted.
        DesktopNotifier notifier(DCPManager::getInstance());

        return app.exec();
    } catch (const std::runtime_error& error) {
        // A store error that nothing below could handle: tell the user and stop cleanly
        // rather than crash.
        const QString message = QString::fromUtf8(error.what());
        qDebug() << "[main] Unhandled error:" << message;
        UserPrompt::message(QMessageBox::Critical, message);
        return 1;
    }
}
