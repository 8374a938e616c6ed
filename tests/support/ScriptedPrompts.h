#pragma once

#include "core/UserPrompt.h"

#include <QList>
#include <QStringList>

// Test helper: installs a responder that answers from a queue of scripted answers
// (a default answer once the queue is empty) and removes it again on destruction.
class ScriptedPrompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts();
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    void answer(Prompt::StandardButton button);
    void answerPath(const QString& path);
    // Used when the script has run out: the box's default button (or Ok), an empty path.
    void setFallback(const PromptAnswer& answer);

    QList<PromptRequest> asked() const { return UserPrompt::history(); }
    int count() const { return UserPrompt::history().size(); }
    PromptRequest last() const;
    // Texts of every message box asked so far, in order.
    QStringList texts() const;

private:
    QList<PromptAnswer> m_script;
    PromptAnswer m_fallback;
    bool m_haveFallback = false;
};
