#include "app/WidgetPrompts.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

// The prompt layer's icon and button values are passed through unchanged.
static_assert(int(Prompt::Information) == int(QMessageBox::Information), "icon values differ");
static_assert(int(Prompt::Warning) == int(QMessageBox::Warning), "icon values differ");
static_assert(int(Prompt::Critical) == int(QMessageBox::Critical), "icon values differ");
static_assert(int(Prompt::Question) == int(QMessageBox::Question), "icon values differ");
static_assert(int(Prompt::Ok) == int(QMessageBox::Ok), "button values differ");
static_assert(int(Prompt::Yes) == int(QMessageBox::Yes), "button values differ");
static_assert(int(Prompt::No) == int(QMessageBox::No), "button values differ");
static_assert(int(Prompt::Cancel) == int(QMessageBox::Cancel), "button values differ");

PromptAnswer WidgetPrompts::ask(const PromptRequest& request)
{
    PromptAnswer answer;
    switch (request.kind) {
    case PromptRequest::Message: {
        QMessageBox box(static_cast<QMessageBox::Icon>(request.icon), request.title, request.text,
                        QMessageBox::StandardButtons(int(request.buttons)));
        if (!request.informativeText.isEmpty())
            box.setInformativeText(request.informativeText);
        if (request.defaultButton != Prompt::NoButton)
            box.setDefaultButton(static_cast<QMessageBox::StandardButton>(request.defaultButton));
        for (auto label = request.buttonTexts.cbegin(); label != request.buttonTexts.cend(); ++label) {
            if (QAbstractButton* button = box.button(static_cast<QMessageBox::StandardButton>(label.key())))
                button->setText(label.value());
        }
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

bool WidgetPrompts::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
