#pragma once

#include "app/QmlNetworkFactory.h"
#include "app/Translations.h"
#include "app/WindowActions.h"
#include "app/WindowFit.h"
#include "download/DriveEject.h"
#include "download/DriveVerifier.h"
#include "download/DriveWatch.h"
#include "download/EjectAction.h"
#include "download/SleepInhibitor.h"
#include "notify/AttentionEvents.h"
#include "notify/WebAlerts.h"

#include <QDBusConnection>
#include <QQmlApplicationEngine>

#include <memory>

class AppContext;
class QQuickWindow;

// The main window's scene and what lives beside it while it shows: the window's actions
// (confirmations, desktop links), "Check drive", "Eject drive", the sleep lock while data
// moves, the watch on the drives and the alerts to a web address. Built on the context's managers, after the
// start-up import; the program and the window tests build it the same way.
class MainWindow
{
public:
    // The bus of UDisks2 and logind: the system bus in the program.
    MainWindow(AppContext& context, const QDBusConnection& systemBus);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Loads the scene and starts following the drives; false when the scene failed to load.
    bool load();
    QQmlApplicationEngine& qml() { return *m_qml; }
    QQuickWindow* window() const;
    DriveWatch& drives() { return m_drives; }
    DriveVerifier& driveCheck() { return m_driveCheck; }
    // Ready DCPs and stopped downloads, as they happen; each goes to the alert address too.
    AttentionEvents& attention() { return m_attention; }
    WebAlerts& alerts() { return m_alerts; }
    EjectAction& ejectAction() { return m_ejectAction; }
    // Brings the window up, from the task bar too, on the page of the DCP (a click on its
    // desktop notification); an unknown DCP leaves the page as it is.
    void showDcp(const QString& uuid);

private:
    AppContext& m_context;
    WindowActions m_windowActions;
    WindowFit m_fit;
    SleepInhibitor m_inhibitor;
    DriveEject m_ejector;
    EjectAction m_ejectAction;
    DriveVerifier m_driveCheck;
    DriveWatch m_drives;
    AttentionEvents m_attention;
    WebAlerts m_alerts;
    Translations m_translations;
    QmlNetworkFactory m_networkFactory; // outlives the scene, whose managers it made
    // Last, so the scene goes before everything its bindings use.
    std::unique_ptr<QQmlApplicationEngine> m_qml;
};
