#include "core/UserPrompt.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
UserPrompt::Responder& responder()
{
    static UserPrompt::Responder r;
    return r;
}
PromptPresenter*& installedPresenter()
{
    static PromptPresenter* p = nullptr;
    return p;
}
QList<PromptRequest>& requests()
{
    static QList<PromptRequest> list;
    return list;
}

} // namespace

PromptAnswer UserPrompt::defaultAnswer(const PromptRequest& request)
{
    PromptAnswer answer;
    if (request.kind == PromptRequest::Message)
        answer.button = request.defaultButton != Prompt::NoButton ? request.defaultButton : Prompt::Ok;
    return answer;
}

PromptAnswer UserPrompt::ask(const PromptRequest& request)
{
    if (responder()) {
        requests().append(request);
        return responder()(request);
    }
    if (PromptPresenter* const presenter = installedPresenter())
        return presenter->ask(request);

    // No window to ask in (a tool, a test): the question still reaches the log.
    qDebug() << "[UserPrompt] No presenter; default answer to:" << request.title << request.text
             << request.informativeText;
    return defaultAnswer(request);
}

Prompt::StandardButton UserPrompt::message(const PromptRequest& request)
{
    PromptRequest r = request;
    r.kind = PromptRequest::Message;
    return ask(r).button;
}

Prompt::StandardButton UserPrompt::message(Prompt::Icon icon, const QString& text,
                                           const QString& informativeText, Prompt::StandardButtons buttons,
                                           Prompt::StandardButton defaultButton, const QString& title)
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
    if (PromptPresenter* const presenter = installedPresenter())
        return presenter->openUrl(url);
    qDebug() << "[UserPrompt] No presenter; link not opened:" << url.toString();
    return false;
}

bool UserPrompt::openInstaller(const QUrl& file)
{
    if (PromptPresenter* const presenter = installedPresenter())
        return presenter->openInstaller(file);
    qDebug() << "[UserPrompt] No presenter; installer not opened:" << file.toString();
    return false;
}

QString UserPrompt::startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void UserPrompt::setPresenter(PromptPresenter* presenter)
{
    installedPresenter() = presenter;
}

PromptPresenter* UserPrompt::presenter()
{
    return installedPresenter();
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
