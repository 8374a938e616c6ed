#include "ScriptedPrompts.h"

#include <QCoreApplication>
#include <QKeyEvent>

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompt::clearHistory();
    UserPrompt::setResponder([this](const PromptRequest& request) {
        if (!m_script.isEmpty()) {
            const Scripted next = m_script.takeFirst();
            if (next.window)
                QCoreApplication::postEvent(next.window,
                                            new QKeyEvent(QEvent::KeyRelease, next.key, Qt::NoModifier));
            return next.answer;
        }
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
    Scripted s;
    s.answer.button = button;
    m_script.append(s);
}

void ScriptedPrompts::answerByKey(Prompt::StandardButton button, QWindow* window, Qt::Key key)
{
    Scripted s;
    s.answer.button = button;
    s.window = window;
    s.key = key;
    m_script.append(s);
}

void ScriptedPrompts::answerPath(const QString& path)
{
    Scripted s;
    s.answer.path = path;
    m_script.append(s);
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
