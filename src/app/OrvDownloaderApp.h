#pragma once

#include <QApplication>
#include <QString>

// The application object. Its only addition to QApplication: it catches the desktop's
// request to open a package file and keeps the path until start-up can import it.
class OrvDownloaderApp : public QApplication
{
public:
    OrvDownloaderApp(int& argc, char** argv);

    // Path of the package file the desktop handed over most recently; empty when none.
    QString getPendingPackagePath() const { return pending_package_path; }
    // For desktops that pass the path on the command line, and for paths handed over by
    // a later start before the import step.
    void setPendingPackagePath(const QString& path) { pending_package_path = path; }

protected:
    bool event(QEvent* event) override;

private:
    QString pending_package_path;
};
