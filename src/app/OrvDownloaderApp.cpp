#include "app/OrvDownloaderApp.h"

#include <QDebug>
#include <QFileOpenEvent>

OrvDownloaderApp::OrvDownloaderApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrvDownloaderApp::event(QEvent* event)
{
    if (event->type() != QEvent::FileOpen)
        return QApplication::event(event);

    // Only remembered: start-up imports it after the login, and a request arriving
    // while the main window is up replaces the path without starting an import.
    pending_package_path = static_cast<QFileOpenEvent*>(event)->file();
    qDebug() << "[OrvDownloaderApp] Loading file from event (dbclick). File name:" << pending_package_path;
    return true;
}
