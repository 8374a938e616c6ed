#include "ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompt::clearHistory();
    UserPrompt::setResponder([this](const PromptRequest& request) {
        if (!m_script.isEmpty())
            return m_script.takeFirst();
        if (m_haveFallback)
            return m_fallback;
        return UserPrompt::defaultAnswer(request);
    });
}

ScriptedPrompts::~ScriptedPrompts()
{
    UserPrompt::setResponder(nullptr);
    UserPrompt::clearHistory();
}

void ScriptedPrompts::answer(Prompt::StandardButton button)
{
    PromptAnswer a;
    a.button = button;
    m_script.append(a);
}

void ScriptedPrompts::answerPath(const QString& path)
{
    PromptAnswer a;
    a.path = path;
    m_script.append(a);
}

void ScriptedPrompts::setFallback(const PromptAnswer& answer)
{
    m_fallback = answer;
    m_haveFallback = true;
}

PromptRequest ScriptedPrompts::last() const
{
    const QList<PromptRequest> h = UserPrompt::history();
    return h.isEmpty() ? PromptRequest() : h.constLast();
}

QStringList ScriptedPrompts::texts() const
{
    QStringList out;
    for (const PromptRequest& r : UserPrompt::history()) {
        if (r.kind == PromptRequest::Message)
            out << r.text;
    }
    return out;
}
