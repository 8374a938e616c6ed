#pragma once

#include <QDialog>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QNetworkReply;
class QSaveFile;

namespace Ui {
class UpdaterDialog;
}

// Asks the portal for the latest version at start and, when it is new enough, offers to
// download the installer and hand it to the desktop. exec() returns 1 when an installer
// was downloaded and opened (the program then ends), 0 in every other case.
class UpdaterDialog : public QDialog
{
    Q_OBJECT

public:
    // Versions published from this one on are offered.
    static constexpr int UpdateThreshold = 20170614;

    // Issues the version check at once.
    explicit UpdaterDialog(QWidget* parent = nullptr);
    ~UpdaterDialog() override;

    // How long the version check may take before the start goes on without it (10 s);
    // setting it while the check runs restarts its clock. Tests shorten it.
    int versionCheckTimeout() const { return checkTimeoutMs; }
    void setVersionCheckTimeout(int milliseconds);

    // Closing the dialog while the installer downloads drops the request and the partial file.
    void done(int result) override;

private slots:
    void requestFinishedUpdater();
    void requestFinishedDownloader();
    void downloaderProgress(qint64 received, qint64 total);
    void startDownloading();

private:
    void setVisibleAvailableUpdatesSection(bool visible);
    void setVisibleDownloadingSection(bool visible);
    void downloadNewVersion(const QString& url);
    void installUpdates(const QString& path);
    void writeReceived();
    void cancelRequests();

    std::unique_ptr<Ui::UpdaterDialog> ui;
    QNetworkAccessManager networkManager;
    QString description;
    QString installerUrl;

    QPointer<QNetworkReply> versionReply;
    QTimer checkTimer;
    int checkTimeoutMs = 10000;

    QPointer<QNetworkReply> downloadReply;
    // Written as the data arrives; only a complete download is committed under the
    // installer's name, anything less is removed with the object.
    std::unique_ptr<QSaveFile> installerFile;
    QString installerPath;
    bool writeFailed = false;
};
