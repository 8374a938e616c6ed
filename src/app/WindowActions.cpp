#include "app/WindowActions.h"

#include "core/UserPrompt.h"
#include "dialogs/AlertsDialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {
bool confirmRemoval(const QString& text)
{
    return UserPrompt::message(Prompt::Warning, text,
                               QCoreApplication::translate("WindowActions", "Would you like to continue ?"),
                               Prompt::Yes | Prompt::Cancel, Prompt::Cancel,
                               QCoreApplication::translate("WindowActions", "Warning...")) == Prompt::Yes;
}
} // namespace

bool WindowActions::confirmDcpRemoval() const
{
    return confirmRemoval(tr(
        "You are about to delete a DCP.\r\n\r\nThis will NOT DELETE the files on your hard drive but simply "
        "remove the DCP from the Reelvane Downloader."));
}

bool WindowActions::confirmReelRemoval() const
{
    return confirmRemoval(
        tr("You are about to delete a Reel.\r\n\r\nThis will DELETE the files on your hard drive. "
           "The Reel and all of it's assets will be removed."));
}

bool WindowActions::openFolder(const QString& path) const
{
    if (UserPrompt::openUrl(QUrl::fromLocalFile(path)))
        return true;
    const QString shown = QDir::toNativeSeparators(path);
    qDebug() << "[MainWindow] No program opened the folder" << shown;
    UserPrompt::message(Prompt::Information,
                        tr("No program on this computer could show the folder. "
                           "The DCP's files are in:"),
                        shown);
    return false;
}

bool WindowActions::openPage(const QString& address) const
{
    if (UserPrompt::openUrl(QUrl(address)))
        return true;
    qDebug() << "[MainWindow] No program opened the page" << address;
    UserPrompt::message(Prompt::Information,
                        tr("No web browser on this computer could open OSKAN. "
                           "Copy this address into your browser:"),
                        address);
    return false;
}

QString WindowActions::choosePackage() const
{
    PromptRequest request;
    request.kind = PromptRequest::OpenFile;
    request.title = QStringLiteral("Please choose a file");
    request.filter = QStringLiteral("DCP Package (*.orvdcp)");
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    request.directory =
        !downloads.isEmpty() && QFileInfo(downloads).isDir() ? downloads : UserPrompt::startFolder();
    return UserPrompt::selectOpenFile(request);
}

void WindowActions::showAbout() const
{
    UserPrompt::message(Prompt::Information, tr("Reelvane Downloader\nVersion 1.4.0"), QString(), Prompt::Ok,
                        Prompt::NoButton, QStringLiteral("Reelvane Downloader"));
}

bool WindowActions::askResume() const
{
    return UserPrompt::message(Prompt::Question, tr("Your downloads are paused."),
                               tr("Would you like to resume?"), Prompt::Yes | Prompt::No, Prompt::NoButton,
                               tr("Downloads are paused")) == Prompt::Yes;
}

void WindowActions::editAlerts() const
{
    if (!m_alerts)
        return;
    AlertsDialog dialog(*m_alerts);
    dialog.exec();
}
