#pragma once

#include <QCoreApplication>
#include <QString>

#include <exception>

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
    // A step failed on the store or the model. what: the failure in English (QT_TR_NOOP), logged
    // as it is and shown as the caller's tr translates it.
    using Translate = QString (*)(const char* text, const char* disambiguation, int n);
    static void failure(const char* what, Translate tr, const std::exception& e);

    // Messages for the expired-links question.
    static QString missingFileMessage(const DCP* dcp);
    static QString expiredLinksMessage(const DCP* dcp);
};
