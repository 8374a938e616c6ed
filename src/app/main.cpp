#include "app/AppContext.h"
#include "app/CommandLine.h"
#include "app/DesktopNotifier.h"
#include "app/MainWindow.h"
#include "app/OrvDownloaderApp.h"
#include "app/PackageHandOff.h"
#include "app/Translations.h"
#include "app/WidgetPrompts.h"
#include "core/DataFolder.h"
#include "core/LogHandler.h"
#include "core/NetworkSetup.h"
#include "core/Services.h"
#include "core/UserPrompt.h"
#include "dialogs/LoginDialog.h"
#include "dialogs/UpdaterDialog.h"
#include "download/DownloadManager.h"
#include "model/DCPManager.h"
#include "model/ScriptOwnership.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQmlEngine>
#include <QScopeGuard>
#include <QSharedMemory>
#include <QSysInfo>
#include <QSystemSemaphore>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

namespace {
const char kGuardSemaphoreKey[] = "e4a493a9-66ea-4f12-b942-000d578504c8";
const char kInstanceMemoryKey[] = "82abc78e-6952-4eec-bea5-aae7856b73e0";

// Desktops here pass a double-clicked package as the first argument naming a file.
QString packageFromArguments(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QFileInfo candidate(arguments.at(i));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

// A start writes its process id into the lock as it creates it. A lock that still names no
// holder after this long was cut short: a power cut before its content reached the disk.
constexpr qint64 kUnnamedLockAgeMs = 10000;

// Whether the lock's holder still runs. A lock left by a process that is gone (a power cut)
// is not another instance, even where it cannot be taken over because the folder is read-only.
bool heldByLiveProcess(const QLockFile& lock, const QString& path)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0) {
        const QDateTime written = QFileInfo(path).lastModified();
        return !written.isValid() || qAbs(written.msecsTo(QDateTime::currentDateTime())) < kUnnamedLockAgeMs;
    }
    // A holder on another computer (a shared folder) cannot be asked.
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

void raiseWindow(QQmlApplicationEngine* engine)
{
    if (!engine || engine->rootObjects().isEmpty())
        return;
    if (QWindow* window = qobject_cast<QWindow*>(engine->rootObjects().constFirst())) {
        // show() alone leaves a minimised window in the task bar.
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->requestActivate();
    }
}
} // namespace

int main(int argc, char* argv[])
{
    // From a terminal: no window, no store, no lock.
    if (CommandLine::handles(argc, argv))
        return CommandLine::run(argc, argv);

    // Files and folders get exactly the permissions the program asks for.
    umask(0);
    qInstallMessageHandler(myMessageOutput);

    // Desktops at 125 to 200 % get text and controls at their size, and sharp icons.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    NetworkSetup::chooseEventLoop();
    OrvDownloaderApp app(argc, argv);
    Q_INIT_RESOURCE(qml);
    // The system's language until the store, which keeps the user's choice, is open.
    Translations::install(Translations::systemLanguage());
    // Questions to the user are real dialogs from here on.
    WidgetPrompts prompts;
    UserPrompt::setPresenter(&prompts);
    // The window's engine receives catalogue objects from invokables; they stay the catalogue's.
    ScriptOwnership::setMarker(
        [](QObject* object) { QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership); });

    const QString addressProblem = Services::addressProblem();
    if (!addressProblem.isEmpty()) {
        qDebug() << "[main] Service address refused:" << addressProblem;
        UserPrompt::message(Prompt::Critical, addressProblem);
        return 1;
    }
    // Trusted authorities and proxies, for every request from the first one on.
    const QString networkProblem = NetworkSetup::applyEnvironment();
    if (!networkProblem.isEmpty()) {
        qDebug() << "[main] Network set-up refused:" << networkProblem;
        UserPrompt::message(Prompt::Critical, networkProblem);
        return 1;
    }

    const QString packageArgument = packageFromArguments(app.arguments());
    if (!packageArgument.isEmpty()) {
        qDebug() << "[main] Package file given on the command line:" << packageArgument;
        app.setPendingPackagePath(packageArgument);
    }

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
    // The marker misses an instance whose segment key file the system removed; the lock
    // beside the store does not, so two instances never write one store. A lock of a
    // process that is gone is taken over; where it cannot be (a read-only folder), as any
    // other failure to lock, it is left to the store to report.
    const QString storeLockPath = DatabaseManager::databasePath() + QStringLiteral(".lock");
    QLockFile storeLock(storeLockPath);
    storeLock.setStaleLockTime(0); // only a dead holder makes a lock stale, never its age
    if (!anotherInstance) {
        // The lock file is the user's own like the store beside it, whatever the start-up mask.
        const mode_t startMask = umask(S_IRWXG | S_IRWXO);
        bool locked = storeLock.tryLock(0);
        // Qt takes over the lock of a holder it can name that is gone, not one that names none.
        if (!locked && storeLock.error() == QLockFile::LockFailedError &&
            !heldByLiveProcess(storeLock, storeLockPath) && storeLock.removeStaleLockFile())
            locked = storeLock.tryLock(0);
        umask(startMask);
        if (!locked && storeLock.error() == QLockFile::LockFailedError &&
            heldByLiveProcess(storeLock, storeLockPath))
            anotherInstance = true;
    }
    // Listening inside the guard: a start that finds this instance can always reach it.
    PackageHandOff handOff;
    if (!anotherInstance)
        handOff.listen();
    guard.release();

    if (anotherInstance) {
        const QString path = app.getPendingPackagePath();
        if (!path.isEmpty() && PackageHandOff::handOver(path)) {
            qDebug() << "[main] Package handed over to the running instance:" << path;
            return 0;
        }
        // A start from the menu: the running window comes to the front, beside the box
        // that says why no second one opens.
        if (path.isEmpty())
            PackageHandOff::handOver(QString(), 2000);
        UserPrompt::message(Prompt::Warning,
                            QCoreApplication::translate(
                                "main", "You already have an instance of the Reelvane Downloader running.\r\n"
                                        "Only one instance is allowed."));
        qDebug() << "[main] Multiple instances not allowed.";
        return 1;
    }

    // Nothing may open the store before it is known to be writable.
    if (!DatabaseManager::checkWritable())
        return 1;

    // Packages handed over by later starts. Until the import step they replace the pending
    // path, as the desktop's request does; afterwards each one is imported in the running
    // window, one at a time, in the order they came.
    bool takesPendingPath = true;
    bool windowShown = false;
    bool importing = false;
    QStringList handedOver;
    // The program's managers. Never destroyed: nothing is torn down at exit, so an
    // interrupted download resumes at the next start, and a checksum in the middle of a
    // large file does not hold the exit up.
    AppContext* context = nullptr;
    // However the start ends (a quit, a window that cannot load, an error), the look through
    // the folders of complete DCPs stops before the process does.
    const auto stopFolderScan = qScopeGuard([&context] {
        if (context && context->hasNotifications())
            context->notifications().stopFolderScan();
    });
    QPointer<QQmlApplicationEngine> mainWindow;
    const std::function<void()> importHandedOver = [&]() {
        if (!windowShown || importing)
            return;
        importing = true;
        while (!handedOver.isEmpty()) {
            const QString path = handedOver.takeFirst();
            // The grid, where the package's DCP arrives, rather than the page of another one.
            raiseWindow(mainWindow);
            if (mainWindow && !mainWindow->rootObjects().isEmpty())
                QMetaObject::invokeMethod(mainWindow->rootObjects().constFirst(), "closeDetails");
            try {
                context->catalogue().loadDCPFromFile(path);
            } catch (const std::runtime_error& error) {
                qDebug() << "[main] Unable to import" << path << error.what();
                UserPrompt::message(Prompt::Critical, QString::fromUtf8(error.what()));
            }
        }
        importing = false;
    };
    QObject::connect(&handOff, &PackageHandOff::packageReceived, &app, [&](const QString& path) {
        if (path.isEmpty()) {
            qDebug() << "[main] Brought to the front by another start";
            raiseWindow(mainWindow);
            return;
        }
        if (takesPendingPath) {
            app.setPendingPackagePath(path);
            return;
        }
        handedOver.append(path);
        QTimer::singleShot(0, &app, importHandedOver); // not inside the socket's own signal
    });

    try {
        {
            UpdaterDialog updater(nullptr);
            if (updater.exec() == QDialog::Accepted) {
                qDebug() << "[main] Update in progress. Closing the app";
                return 0;
            }
        }

        context = new AppContext(DataFolder::path());
        Translations::install(Translations::languageFor(
            context->settings().get(QString::fromLatin1(Translations::kSettingKey))));
        QString decodingKey;
        {
            LoginDialog login(context->settings(), nullptr);
            if (login.exec() == QDialog::Rejected)
                return 0;
            decodingKey = login.getResponse();
        }

        // The catalogue's first load starts the engine at once when the store held DCPs,
        // so downloads interrupted by the last exit resume without the user.
        DCPManager* const catalogue = &context->catalogue();
        catalogue->setDecodingKey(decodingKey);
        context->notifications();

        takesPendingPath = false;
        const QString pendingPackage = app.getPendingPackagePath();
        if (!pendingPackage.isEmpty())
            catalogue->loadDCPFromFile(pendingPackage);

        context->engine();

        qDebug() << "[main] Starting QML...";
        MainWindow window(*context, QDBusConnection::systemBus());
        if (!window.load()) {
            qDebug() << "[main] Unable to load the main window";
            return 1;
        }
        // Ready DCPs and stopped downloads on the desktop; a click brings the window up on the DCP.
        DesktopNotifier notifier(QDBusConnection::sessionBus(), QSystemTrayIcon::isSystemTrayAvailable());
        QObject::connect(&window.attention(), &AttentionEvents::raised, &notifier, &DesktopNotifier::show);
        QObject::connect(&notifier, &DesktopNotifier::activated, &app,
                         [&window](const QString& dcp) { window.showDcp(dcp); });

        mainWindow = &window.qml();
        windowShown = true;
        QTimer::singleShot(0, &app, importHandedOver);
        return app.exec();
    } catch (const std::runtime_error& error) {
        // A store error that nothing below could handle: tell the user and stop cleanly
        // rather than crash.
        const QString message = QString::fromUtf8(error.what());
        qDebug() << "[main] Unhandled error:" << message;
        UserPrompt::message(Prompt::Critical, message);
        return 1;
    }
}
