#pragma once

#include <QFlags>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>

#include <functional>

struct PromptRequest;
struct PromptAnswer;

// Icons and buttons of a message box. The values are those of the widget toolkit's message
// box, so the widget implementation passes them through unchanged, but nothing here needs it.
namespace Prompt {
enum Icon
{
    NoIcon = 0,
    Information = 1,
    Warning = 2,
    Critical = 3,
    Question = 4
};
enum StandardButton
{
    NoButton = 0x00000000,
    Ok = 0x00000400,
    Yes = 0x00004000,
    No = 0x00010000,
    Cancel = 0x00400000,
    Apply = 0x02000000, // a third answer, relabelled by the box that offers it
};
Q_DECLARE_FLAGS(StandardButtons, StandardButton)
} // namespace Prompt
Q_DECLARE_OPERATORS_FOR_FLAGS(Prompt::StandardButtons)

// Every question the program puts to the user goes through here. The layer itself shows
// nothing: the program installs a presenter with real dialogs at start, tests install a
// responder that answers from a script and records what was asked.
struct PromptRequest
{
    enum Kind
    {
        Message,
        Directory,
        OpenFile
    };

    Kind kind = Message;
    Prompt::Icon icon = Prompt::NoIcon;
    QString title; // window title of a box, or the caption of a file dialog
    QString text;
    QString informativeText;
    Prompt::StandardButtons buttons = Prompt::Ok;
    Prompt::StandardButton defaultButton = Prompt::NoButton;
    QMap<int, QString> buttonTexts; // labels replacing a standard button's own ("Continue" for Yes)
    QString directory;              // starting folder of a file dialog
    QString filter;                 // name filter of a file dialog
    QString acceptLabel;            // accept-button label of a file dialog
};

struct PromptAnswer
{
    Prompt::StandardButton button = Prompt::NoButton; // for a Message
    QString path;                                     // for a Directory or OpenFile; empty means cancelled
};

// Shows questions to the user and hands links to the desktop; the program's window layer
// implements it with real dialogs.
class PromptPresenter
{
public:
    virtual ~PromptPresenter() = default;
    // Answers a message box (the button chosen) or a file dialog (the path, empty when cancelled).
    virtual PromptAnswer ask(const PromptRequest& request) = 0;
    // False when the desktop refused the link.
    virtual bool openUrl(const QUrl& url) = 0;
    // Runs a downloaded installer with the desktop's program for it; false when the desktop
    // has none. A link's handler may start and fail later, so presenters can check harder.
    virtual bool openInstaller(const QUrl& file) { return openUrl(file); }
};

class UserPrompt
{
public:
    using Responder = std::function<PromptAnswer(const PromptRequest&)>;

    // Shows a message box; returns the button the user chose.
    static Prompt::StandardButton message(const PromptRequest& request);
    static Prompt::StandardButton message(Prompt::Icon icon, const QString& text,
                                          const QString& informativeText = QString(),
                                          Prompt::StandardButtons buttons = Prompt::Ok,
                                          Prompt::StandardButton defaultButton = Prompt::NoButton,
                                          const QString& title = QString());
    // Shows a folder dialog; returns the chosen folder, or an empty string when cancelled.
    static QString selectDirectory(const PromptRequest& request);
    // Shows a file dialog for opening one file; returns its path, or an empty string.
    static QString selectOpenFile(const PromptRequest& request);
    // Hands a web page or a local file to the desktop; false when it refused.
    static bool openUrl(const QUrl& url);
    // Hands a downloaded installer to the desktop; false when nothing could open it.
    static bool openInstaller(const QUrl& file);
    // Where a folder dialog starts: the documents folder, or the home folder where there is
    // none (a dialog pointed at a missing folder cannot be confirmed).
    static QString startFolder();

    // The presenter every question goes to (not owned; nullptr removes it). Without one a
    // question is logged and answered with its default: the default button (or Ok), an
    // empty path, and false for a link.
    static void setPresenter(PromptPresenter* presenter);
    static PromptPresenter* presenter();

    // Tests: a responder answers instead of the presenter. An empty responder restores it.
    static void setResponder(Responder responder);
    static bool hasResponder();
    // Everything asked while a responder was installed, oldest first.
    static QList<PromptRequest> history();
    static void clearHistory();
    // What a question gets when nobody can answer it: the box's default button (or Ok), no path.
    static PromptAnswer defaultAnswer(const PromptRequest& request);

private:
    static PromptAnswer ask(const PromptRequest& request);
};
