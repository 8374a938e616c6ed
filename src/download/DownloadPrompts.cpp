#include "download/DownloadPrompts.h"

#include "core/UserPrompt.h"
#include "model/DCP.h"

#include <QDebug>

void DownloadPrompts::notEnoughDiskSpace()
{
    UserPrompt::message(Prompt::Critical, tr("Not enough disk space"),
                        tr("You have ran out of disk space so we paused your download.\r\n\r\n"
                           "Please free up some space and hit the resume button once you're ready."),
                        Prompt::Ok);
}

void DownloadPrompts::missingFolder(const QString& path)
{
    UserPrompt::message(Prompt::Critical, tr("Unable to write the download"),
                        tr("The folder %1 is missing, so we paused your download.\r\n\r\n"
                           "Please check that the drive is connected, then hit the resume "
                           "button.")
                            .arg(path),
                        Prompt::Ok);
}

void DownloadPrompts::unwritableFile(const QString& path)
{
    UserPrompt::message(Prompt::Critical, tr("Unable to write the download"),
                        tr("The file %1 can not be opened for writing, so we paused your "
                           "download.\r\n\r\nPlease check that the drive is connected and "
                           "writable, then hit the resume button.")
                            .arg(path),
                        Prompt::Ok);
}

void DownloadPrompts::unsavedProgress(const QString& reason)
{
    UserPrompt::message(Prompt::Critical, tr("Unable to save the download"),
                        tr("The progress of your download can not be saved (%1), so we paused "
                           "your download.\r\n\r\nPlease check that the program's folder is "
                           "writable, then hit the resume button.")
                            .arg(reason),
                        Prompt::Ok);
}

void DownloadPrompts::reelInValidation()
{
    UserPrompt::message(Prompt::Warning,
                        tr("The current Reel is in validation(checksum) process, please wait "
                           "until this is finished and try again."),
                        QString(), Prompt::Ok);
}

bool DownloadPrompts::removeExpiredDcp(const QString& message)
{
    const Prompt::StandardButton answer = UserPrompt::message(
        Prompt::Critical, tr("Download links expired"),
        message + tr("\r\n\r\nDo you want to remove outdated DCP?\r\n(This will NOT DELETE the files on "
                     "your hard drive but simply remove the DCP from the Reelvane Downloader)"),
        Prompt::Yes | Prompt::No, Prompt::No);
    return answer == Prompt::Yes;
}

void DownloadPrompts::failure(const char* what, Translate tr, const std::exception& e)
{
    qDebug() << "[DownloadManager] Error:" << what << e.what();
    UserPrompt::message(Prompt::Critical, tr(what, nullptr, -1), QString::fromUtf8(e.what()), Prompt::Ok);
}

QString DownloadPrompts::missingFileMessage(const DCP* dcp)
{
    return tr("One of the files for DCP %1 is missing and can not be downloaded. "
              "You won't be able to finish the given download.")
        .arg(dcp->getFriendlyTitle());
}

QString DownloadPrompts::expiredLinksMessage(const DCP* dcp)
{
    return tr("Download links for DCP %1 expired. You won't be able to finish the given download.")
        .arg(dcp->getFriendlyTitle());
}

bool DownloadPrompts::stopCheckingKept(int files)
{
    return UserPrompt::message(
               Prompt::Question, tr("Stop checking the files kept on the drive?"),
               files == 1
                   ? tr("The file not checked yet will be downloaded again from the server instead, "
                        "replacing what the drive holds.")
                   : tr("The %1 files not checked yet will be downloaded again from the server instead, "
                        "replacing what the drive holds.")
                         .arg(files),
               Prompt::Yes | Prompt::No, Prompt::No) == Prompt::Yes;
}
