#include "app/WidgetPrompts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QStorageInfo>

// The prompt layer's icon and button values are passed through unchanged.
static_assert(int(Prompt::Information) == int(QMessageBox::Information), "icon values differ");
static_assert(int(Prompt::Warning) == int(QMessageBox::Warning), "icon values differ");
static_assert(int(Prompt::Critical) == int(QMessageBox::Critical), "icon values differ");
static_assert(int(Prompt::Question) == int(QMessageBox::Question), "icon values differ");
static_assert(int(Prompt::Ok) == int(QMessageBox::Ok), "button values differ");
static_assert(int(Prompt::Yes) == int(QMessageBox::Yes), "button values differ");
static_assert(int(Prompt::No) == int(QMessageBox::No), "button values differ");
static_assert(int(Prompt::Cancel) == int(QMessageBox::Cancel), "button values differ");
static_assert(int(Prompt::Apply) == int(QMessageBox::Apply), "button values differ");

PromptAnswer WidgetPrompts::ask(const PromptRequest& request)
{
    PromptAnswer answer;
    switch (request.kind) {
    case PromptRequest::Message: {
        // A box without a title of its own carries the product's name, not the executable's.
        // (The application's display name would do it too, but X11 then appends it to every
        // window title, the main window's included.)
        const QString title = request.title.isEmpty() ? QStringLiteral("Reelvane Downloader") : request.title;
        QMessageBox box(static_cast<QMessageBox::Icon>(request.icon), title, request.text,
                        QMessageBox::StandardButtons(int(request.buttons)));
        if (!request.informativeText.isEmpty())
            box.setInformativeText(request.informativeText);
        // Paths and addresses in a box can be copied.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
        // A short text would leave the box narrower than its own title.
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
            const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
            grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                          grid->rowCount(), 0, 1, grid->columnCount());
        }
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
        // A dialog started in a missing folder offers its name as the choice and cannot
        // be confirmed until the user clears it.
        const QString start = request.directory.isEmpty() || QFileInfo(request.directory).isDir()
                                  ? request.directory
                                  : UserPrompt::startFolder();
        QFileDialog dialog(nullptr, request.title, start, request.filter);
        if (request.kind == PromptRequest::Directory) {
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
            // The drives plugged in, beside the usual places: the DCP goes to one of them.
            QList<QUrl> places = dialog.sidebarUrls();
            for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
                if (offersVolume(volume.isValid(), volume.isReady(), volume.rootPath()))
                    places << QUrl::fromLocalFile(volume.rootPath());
            }
            dialog.setSidebarUrls(places);
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

bool WidgetPrompts::offersVolume(bool valid, bool ready, const QString& rootPath)
{
    return valid && ready &&
           (rootPath.startsWith(QLatin1String("/media/")) ||
            rootPath.startsWith(QLatin1String("/run/media/")));
}

bool WidgetPrompts::openInstaller(const QUrl& file)
{
    // Left to run when it outlives the wait: it is the installer's program starting.
    auto* const process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process,
                     &QObject::deleteLater);
    process->start(opener, {file.toLocalFile()});
    if (!process->waitForStarted(openerWaitMs)) {
        delete process;
        return openUrl(file);
    }
    if (!process->waitForFinished(openerWaitMs))
        return true;
    const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    if (!opened)
        qDebug() << "[WidgetPrompts]" << opener << "could not open" << file.toLocalFile() << "exit code"
                 << process->exitCode();
    return opened;
}

bool WidgetPrompts::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
