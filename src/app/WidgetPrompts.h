#pragma once

#include "core/UserPrompt.h"

// The program's presenter of the prompt layer: modal message boxes and file dialogs of the
// widget toolkit, links through the desktop's handler.
class WidgetPrompts : public PromptPresenter
{
public:
    PromptAnswer ask(const PromptRequest& request) override;
    bool openUrl(const QUrl& url) override;
};
