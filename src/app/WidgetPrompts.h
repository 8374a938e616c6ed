#pragma once

#include "core/UserPrompt.h"

// The program's presenter of the prompt layer: modal message boxes and file dialogs of the
// widget toolkit, links through the desktop's handler.
class WidgetPrompts : public PromptPresenter
{
public:
    PromptAnswer ask(const PromptRequest& request) override;
    bool openUrl(const QUrl& url) override;
    // Through the desktop's opener (xdg-open), which fails at once when the desktop has no
    // program for the file; one still running after a moment (3 s) has started one. Where
    // there is no such opener, as openUrl().
    bool openInstaller(const QUrl& file) override;

    // Whether the folder dialog offers a mounted volume beside the usual places: a drive the
    // desktop mounted for the user (under /media/<user> or /run/media/<user>), ready for use.
    static bool offersVolume(bool valid, bool ready, const QString& rootPath);

    // Tests: another opener program, and a shorter moment.
    void setInstallerOpener(const QString& program, int waitMs)
    {
        opener = program;
        openerWaitMs = waitMs;
    }

private:
    QString opener = QStringLiteral("xdg-open");
    int openerWaitMs = 3000;
};
