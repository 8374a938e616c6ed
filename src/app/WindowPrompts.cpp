#include "app/WindowPrompts.h"

#include "app/UserPrompt.h"

#include <QUrl>

bool WindowPrompts::confirm(const QString& title, const QString& text, const QString& informativeText)
{
    return UserPrompt::message(Prompt::Warning, text, informativeText, Prompt::Yes | Prompt::Cancel,
                               Prompt::NoButton, title) == Prompt::Yes;
}

bool WindowPrompts::question(const QString& title, const QString& text, const QString& informativeText)
{
    return UserPrompt::message(Prompt::Question, text, informativeText, Prompt::Yes | Prompt::No,
                               Prompt::NoButton, title) == Prompt::Yes;
}

bool WindowPrompts::openUrl(const QString& url)
{
    return UserPrompt::openUrl(QUrl(url));
}
