#include "app/UserPrompt.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace {
UserPrompt::Responder& responder()
{
    static UserPrompt::Responder r;
    return r;
}
QList<PromptRequest>& requests()
{
    static QList<PromptRequest> list;
    return list;
}
} // namespace

PromptAnswer UserPrompt::ask(const PromptRequest& request)
{
    if (responder()) {
        requests().append(request);
        return responder()(request);
    }

    PromptAnswer answer;
    switch (request.kind) {
    case PromptRequest::Message: {
        QMessageBox box(static_cast<QMessageBox::Icon>(request.icon), request.title, request.text,
                        QMessageBox::StandardButtons(int(request.buttons)));
        if (!request.informativeText.isEmpty())
            box.setInformativeText(request.informativeText);
        if (request.defaultButton != Prompt::NoButton)
            box.setDefaultButton(static_cast<QMessageBox::StandardButton>(request.defaultButton));
        answer.button = static_cast<Prompt::StandardButton>(box.exec());
        break;
    }
    case PromptRequest::Directory:
    case PromptRequest::OpenFile: {
        QFileDialog dialog(nullptr, request.title, request.directory, request.filter);
        if (request.kind == PromptRequest::Directory) {
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
        } else {
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (!request.acceptLabel.isEmpty())
            dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            answer.path = dialog.selectedFiles().constFirst();
        break;
    }
    }
    return answer;
}

Prompt::StandardButton UserPrompt::message(const PromptRequest& request)
{
    PromptRequest r = request;
    r.kind = PromptRequest::Message;
    return ask(r).button;
}

Prompt::StandardButton UserPrompt::message(Prompt::Icon icon, const QString& text, const QString& informativeText,
                                           Prompt::StandardButtons buttons, Prompt::StandardButton defaultButton,
                                           const QString& title)
{
    PromptRequest r;
    r.icon = icon;
    r.text = text;
    r.informativeText = informativeText;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    r.title = title;
    return message(r);
}

QString UserPrompt::selectDirectory(const PromptRequest& request)
{
    PromptRequest r = request;
    r.kind = PromptRequest::Directory;
    return ask(r).path;
}

QString UserPrompt::selectOpenFile(const PromptRequest& request)
{
    PromptRequest r = request;
    r.kind = PromptRequest::OpenFile;
    return ask(r).path;
}

bool UserPrompt::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void UserPrompt::setResponder(Responder r)
{
    responder() = std::move(r);
}

bool UserPrompt::hasResponder()
{
    return static_cast<bool>(responder());
}

QList<PromptRequest> UserPrompt::history()
{
    return requests();
}

void UserPrompt::clearHistory()
{
    requests().clear();
}

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompt::clearHistory();
    UserPrompt::setResponder([this](const PromptRequest& request) {
        if (!m_script.isEmpty())
            return m_script.takeFirst();
        if (m_haveFallback)
            return m_fallback;
        PromptAnswer a;
        if (request.kind == PromptRequest::Message)
            a.button = request.defaultButton != Prompt::NoButton ? request.defaultButton : Prompt::Ok;
        return a;
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
