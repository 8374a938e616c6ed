#include "dialogs/UpdaterDialog.h"
#include "ui_UpdaterDialog.h"

#include "core/NetworkSetup.h"
#include "core/Services.h"
#include "core/UserPrompt.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QUrl>

namespace {

// Qt would otherwise ask for gzip and inflate whatever comes back, however large.
QNetworkRequest plainRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setRawHeader("Accept-Encoding", "identity");
    return request;
}

} // namespace

UpdaterDialog::UpdaterDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::UpdaterDialog>())
{
    ui->setupUi(this);
    setVisibleAvailableUpdatesSection(false);
    setVisibleDownloadingSection(false);
    ui->progressbar_download->setValue(0);

    NetworkSetup::prepare(&networkManager);
    versionReply = networkManager.get(plainRequest(Services::portalUrl(QStringLiteral("versioncheck"))));
    connect(versionReply, &QNetworkReply::finished, this, &UpdaterDialog::requestFinishedUpdater);
    // A portal that accepts the connection and never answers must not hold up the start.
    checkTimer.setSingleShot(true);
    connect(&checkTimer, &QTimer::timeout, this, [this]() {
        qDebug() << "[UpdaterDialog] No answer to the version check within" << checkTimeoutMs << "ms";
        if (versionReply)
            versionReply->abort();
    });
    checkTimer.start(checkTimeoutMs);

    connect(ui->btn_update, &QPushButton::clicked, this, &UpdaterDialog::startDownloading);
    connect(ui->btn_not_now, &QPushButton::clicked, this, &UpdaterDialog::reject);
    adjustSize();
}

UpdaterDialog::~UpdaterDialog()
{
    cancelRequests();
}

void UpdaterDialog::setVersionCheckTimeout(int milliseconds)
{
    checkTimeoutMs = milliseconds;
    if (checkTimer.isActive())
        checkTimer.start(milliseconds);
}

void UpdaterDialog::done(int result)
{
    cancelRequests();
    QDialog::done(result);
}

void UpdaterDialog::cancelRequests()
{
    checkTimer.stop();
    for (QNetworkReply* reply : {versionReply.data(), downloadReply.data()}) {
        if (reply) {
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
    }
    versionReply = nullptr;
    downloadReply = nullptr;
    installerFile.reset(); // never committed: the partial installer is removed
}

void UpdaterDialog::setVisibleAvailableUpdatesSection(bool visible)
{
    ui->text_browser_description->setVisible(visible);
    ui->btn_update->setVisible(visible);
    ui->btn_not_now->setVisible(visible);
    resize(maximumSize());
}

void UpdaterDialog::setVisibleDownloadingSection(bool visible)
{
    ui->progressbar_download->setVisible(visible);
    adjustSize();
}

void UpdaterDialog::requestFinishedUpdater()
{
    QNetworkReply* const reply = versionReply;
    versionReply = nullptr;
    checkTimer.stop();
    if (!reply)
        return;
    reply->deleteLater();

    if (reply->error() != QNetworkReply::NoError) {
        reject();
        return;
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(reply->readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        qDebug() << "[UpdaterDialog] Cannot parse the JSON package:" << parseError.errorString();
        reject();
        return;
    }

    const QJsonObject answer = document.object();
    description = answer.value(QStringLiteral("description")).toString();
    installerUrl = answer.value(QStringLiteral("mac_url")).toString();
    const int version = answer.value(QStringLiteral("version")).toInt(0);
    if (version < UpdateThreshold) {
        reject();
        return;
    }

    setWindowTitle(tr("New version available"));
    ui->label_status->setText(tr("New version available. Would you like to download updates now?"));
    ui->text_browser_description->setHtml(description);
    setVisibleAvailableUpdatesSection(true);
}

void UpdaterDialog::startDownloading()
{
    ui->label_status->setText(tr("Downloading updates ..."));
    setVisibleAvailableUpdatesSection(false);
    setVisibleDownloadingSection(true);
    downloadNewVersion(installerUrl);
}

void UpdaterDialog::downloadNewVersion(const QString& url)
{
    // The installer is run as it comes: only over HTTPS, or from this computer.
    const QUrl address(url);
    if (!Services::isTrustedTransport(address)) {
        qDebug() << "[UpdaterDialog] Refusing an installer address that is not HTTPS:" << url;
        return; // as a failed download: the dialog stays until the user closes it
    }

    // Redirects are not followed, so the reply's address is this one.
    const QString fileName = QFileInfo(address.path(QUrl::FullyDecoded)).fileName();
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String("..")) {
        qDebug() << "[UpdaterDialog] Can not open file:" << fileName;
        return;
    }
    installerPath = QDir::tempPath() + QLatin1Char('/') + fileName;
    qDebug() << "[UpdaterDialog] Temporary path for new installer:" << installerPath;

    installerFile = std::make_unique<QSaveFile>(installerPath);
    writeFailed = false;
    if (!installerFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qDebug() << "[UpdaterDialog] Can not open file:" << fileName;
        installerFile.reset();
        return;
    }
    // Executable code in a shared folder: nobody else may change it before it runs.
    installerFile->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    downloadReply = networkManager.get(plainRequest(address));
    connect(downloadReply, &QNetworkReply::readyRead, this, &UpdaterDialog::writeReceived);
    connect(downloadReply, &QNetworkReply::downloadProgress, this, &UpdaterDialog::downloaderProgress);
    connect(downloadReply, &QNetworkReply::finished, this, &UpdaterDialog::requestFinishedDownloader);
}

void UpdaterDialog::writeReceived()
{
    if (!downloadReply || !installerFile || writeFailed)
        return;
    const QByteArray data = downloadReply->readAll();
    if (installerFile->write(data) != data.size()) {
        qDebug() << "[UpdaterDialog] Can not write file:" << installerPath << installerFile->errorString();
        writeFailed = true;
        downloadReply->abort();
    }
}

void UpdaterDialog::downloaderProgress(qint64 received, qint64 total)
{
    if (total <= 0) {
        ui->progressbar_download->setRange(0, 0); // size unknown: a busy bar
        return;
    }
    ui->progressbar_download->setMaximum(static_cast<int>(total));
    ui->progressbar_download->setValue(static_cast<int>(received));
}

void UpdaterDialog::requestFinishedDownloader()
{
    QNetworkReply* const reply = downloadReply;
    if (!reply)
        return;
    writeReceived();
    downloadReply = nullptr;
    reply->deleteLater();

    // Qt takes a connection closed early for the end of the body, so the length is
    // checked too; a redirect or an error page is no installer either.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const qint64 written = installerFile ? installerFile->size() : -1;
    const bool complete = installerFile && reply->error() == QNetworkReply::NoError && !writeFailed &&
                          status >= 200 && status <= 299 &&
                          (!announced.isValid() || announced.toLongLong() == written);
    if (!complete || !installerFile->commit()) {
        qDebug() << "[UpdaterDialog] Installer download failed:" << reply->errorString() << "HTTP status"
                 << status << "bytes" << written;
        installerFile.reset(); // removes what was written; the dialog stays in the downloading state
        return;
    }
    installerFile.reset();

    ui->label_status->hide();
    ui->progressbar_download->hide();
    adjustSize();
    installUpdates(installerPath);
}

void UpdaterDialog::installUpdates(const QString& path)
{
    if (UserPrompt::openInstaller(QUrl::fromLocalFile(path))) {
        accept();
        return;
    }
    // The installer is on the disk: the user can still run it by hand, so say where it is
    // rather than going on to the login as if nothing had been downloaded.
    const QString nativePath = QDir::toNativeSeparators(path);
    qDebug() << "[UpdaterDialog] The desktop could not open the installer:" << nativePath;
    UserPrompt::message(Prompt::Warning, tr("The update was downloaded but could not be opened."),
                        tr("Open the installer yourself:\n%1\n\nThe Reelvane Downloader "
                           "goes on with this version for now.")
                            .arg(nativePath));
    reject();
}
