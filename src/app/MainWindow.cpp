#include "app/MainWindow.h"

#include "app/AppContext.h"
#include "core/Services.h"
#include "download/DownloadManager.h"
#include "download/ScheduleEngine.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/Setting.h"

#include <QQmlContext>
#include <QQuickWindow>

MainWindow::MainWindow(AppContext& context, const QDBusConnection& systemBus)
    : m_context(context), m_fit(QSize(1200, 750)), m_inhibitor(systemBus), m_ejector(systemBus),
      m_ejectAction(&m_ejector, &context.engine(), [&context]() { return context.catalogue().getAllDCPs(); }),
      // A corrupted file found by the check goes back to the engine's queue.
      m_driveCheck([&context](Asset* asset) { context.engine().redownload(asset); },
                   [&context](Reel* reel, NotificationType::Value event) {
                       context.notifications().addToQueue(reel, event);
                   }),
      m_drives([&context] { return context.catalogue().getAllDCPs(); }),
      m_attention(&context.catalogue(), &context.engine()), m_alerts(context.settings()),
      m_translations(context.settings())
{
    DownloadManager* const engine = &context.engine();
    m_driveCheck.setDriveRoots(context.volumes().driveRoots());
    // The details page says how long the portal's confirmations keep a drive's files hidden.
    NotificationManager* const reports = &context.notifications();
    m_ejectAction.setReportPace([reports] { return reports->getQueue().size(); },
                                reports->getConsumerInterval());
    // No sleep while data moves or is verified. Without logind or UDisks2 on the bus the
    // program runs as before.
    QObject::connect(engine, &DownloadManager::activeChanged, &m_inhibitor,
                     [this](bool on) { m_inhibitor.hold(QStringLiteral("transfer"), on); });
    m_inhibitor.hold(QStringLiteral("transfer"), engine->isActive());
    // Drives pulled and plugged in again while the program runs.
    engine->followDrives(&m_drives);
    // The bandwidth schedule rules from the start, before the scene shows it.
    context.schedule();
    QObject::connect(
        &m_drives, &DriveWatch::driveBack, &context.notifications(),
        [&context] { context.notifications().reconcileReveals(true); }, Qt::QueuedConnection);
    m_attention.followDrives(&m_drives);
    // The drive watch follows the folders of DCPs imported while the program runs.
    QObject::connect(&context.catalogue(), &DCPManager::dcpsChanged, &m_drives, &DriveWatch::rewatch);
    m_attention.setReadyDrive([this](const DCP* dcp) { return m_ejectAction.readyDrive(dcp); });
    QObject::connect(&m_attention, &AttentionEvents::raised, &m_alerts, &WebAlerts::send);
    m_windowActions.setAlerts(&m_alerts);
    // "Eject drive" and the unplug line follow every DCP on a drive, not only the page's own.
    DCPManager* const catalogue = &context.catalogue();
    QObject::connect(catalogue, &DCPManager::dcpsChanged, &m_ejectAction,
                     [this, catalogue] { m_ejectAction.follow(catalogue->getAllDCPs()); });
    m_ejectAction.follow(catalogue->getAllDCPs());
}

MainWindow::~MainWindow() = default;

bool MainWindow::load()
{
    // The reel rows hand their Reel to removeDownloadReel(Reel*).
    qRegisterMetaType<Reel*>("Reel*");
    m_qml = std::make_unique<QQmlApplicationEngine>();
    m_qml->setNetworkAccessManagerFactory(&m_networkFactory);
    QQmlContext* const root = m_qml->rootContext();
    root->setContextProperty(QStringLiteral("download_mgr"), &m_context.engine());
    root->setContextProperty(QStringLiteral("dcp_mgr"), &m_context.catalogue());
    root->setContextProperty(QStringLiteral("settings_mgr"), &m_context.settings());
    root->setContextProperty(QStringLiteral("schedule_mgr"), &m_context.schedule());
    // The page that "LAUNCH OSKAN" opens.
    root->setContextProperty(QStringLiteral("portal_url"), Services::portalBaseUrl());
    root->setContextProperty(QStringLiteral("window_actions"), &m_windowActions);
    root->setContextProperty(QStringLiteral("drive_eject"), &m_ejectAction);
    root->setContextProperty(QStringLiteral("drive_check"), &m_driveCheck);
    // The "Language" menu; a new choice retranslates the scene.
    root->setContextProperty(QStringLiteral("translations"), &m_translations);
    m_translations.setEngine(m_qml.get());
    root->setContextProperty(QStringLiteral("window_fit"), &m_fit);
    m_qml->load(QUrl(QStringLiteral("qrc:///main.qml")));
    if (m_qml->rootObjects().isEmpty())
        return false;
    m_fit.follow(window());
    m_drives.start();
    return true;
}

void MainWindow::showDcp(const QString& uuid)
{
    QQuickWindow* const shown = window();
    if (!shown)
        return;
    // show() alone leaves a minimised window in the task bar.
    shown->setWindowStates(shown->windowStates() & ~Qt::WindowMinimized);
    shown->show();
    shown->raise();
    shown->requestActivate();
    QMetaObject::invokeMethod(shown, "showDcpById", Q_ARG(QVariant, uuid));
}

QQuickWindow* MainWindow::window() const
{
    return m_qml && !m_qml->rootObjects().isEmpty()
               ? qobject_cast<QQuickWindow*>(m_qml->rootObjects().constFirst())
               : nullptr;
}
