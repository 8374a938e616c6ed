#pragma once

#include <QCoreApplication>
#include <QString>

class DCP;

// What the download engine tells the user, each through the prompt layer. The engine
// decides when; these hold the wording.
class DownloadPrompts
{
    Q_DECLARE_TR_FUNCTIONS(DownloadPrompts)

public:
    DownloadPrompts() = delete;

    static void notEnoughDiskSpace();
    static void missingFolder(const QString& path);
    static void unwritableFile(const QString& path);
    static void unsavedProgress(const QString& reason);
    static void reelInValidation();
    // True when the user wants the DCP whose links were rejected removed.
    static bool removeExpiredDcp(const QString& message);
    // True when the user wants the kept files not checked yet downloaded instead.
    static bool stopCheckingKept(int files);
    static void failure(const QString& what, const QString& detail);

    // Messages for the expired-links question.
    static QString missingFileMessage(const DCP* dcp);
    static QString expiredLinksMessage(const DCP* dcp);
};
