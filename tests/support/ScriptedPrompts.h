#pragma once

#include "core/UserPrompt.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWindow>

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
    // Answered with a key, as a user does: the box takes the key's press and closes, and the
    // key's release reaches the window below it afterwards.
    void answerByKey(Prompt::StandardButton button, QWindow* window, Qt::Key key);
    void answerPath(const QString& path);
    // Used when the script has run out: the box's default button (or Ok), an empty path.
    void setFallback(const PromptAnswer& answer);

    QList<PromptRequest> asked() const { return UserPrompt::history(); }
    int count() const { return UserPrompt::history().size(); }
    PromptRequest last() const;
    // Texts of every message box asked so far, in order.
    QStringList texts() const;

private:
    struct Scripted
    {
        PromptAnswer answer;
        QPointer<QWindow> window; // receives the release of key, if any
        Qt::Key key = Qt::Key_unknown;
    };
    QList<Scripted> m_script;
    PromptAnswer m_fallback;
    bool m_haveFallback = false;
};
