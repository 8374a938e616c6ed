#pragma once

#include <QObject>
#include <QString>

class WebAlerts;

// What the main window asks of the user and the desktop, through the prompt layer: the
// confirmations before anything is removed (Cancel is their default, so a stray Return
// keeps the files) and the links to the files and the portal, with a box telling the
// user where to go when the desktop has no program for them.
class WindowActions : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE bool confirmDcpRemoval() const;
    Q_INVOKABLE bool confirmReelRemoval() const;
    // Asked at start when the last run left the downloads paused; true to resume.
    Q_INVOKABLE bool askResume() const;
    // Shows a DCP's folder in the desktop's file browser.
    Q_INVOKABLE bool openFolder(const QString& path) const;
    // Opens a web page in the desktop's browser.
    Q_INVOKABLE bool openPage(const QString& address) const;
    Q_INVOKABLE void showAbout() const;
    // The package dialog, opened in the Downloads folder where the portal's file usually
    // is; the chosen path, or an empty text.
    Q_INVOKABLE QString choosePackage() const;
    // "Alerts…": the web address that hears of ready DCPs and stopped downloads.
    Q_INVOKABLE void editAlerts() const;

    void setAlerts(WebAlerts* alerts) { m_alerts = alerts; }

private:
    WebAlerts* m_alerts = nullptr;
};
