#include "dialogs/LoginDialog.h"
#include "ui_LoginDialog.h"

#include "core/NetworkSetup.h"
#include "core/Services.h"
#include "core/UserPrompt.h"
#include "storage/Setting.h"

#include <QColor>
#include <QDebug>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaEnum>
#include <QNetworkRequest>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTextDocumentFragment>
#include <QUrl>

namespace {
const char kUsernameKey[] = "username";

// The portal's answers are read as text up to their first zero byte.
QString textUpToZero(QByteArray body)
{
    const int zero = body.indexOf('\0');
    if (zero >= 0)
        body.truncate(zero);
    return QString::fromUtf8(body);
}

// Form encoding reserves "+", "&", "=" and "%", so everything but the unreserved
// characters is escaped; a password then reaches the portal exactly as typed.
QByteArray formValue(const QString& value)
{
    return QUrl::toPercentEncoding(value);
}

QPixmap renderLogo(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/images/reelvane_logo.svg"));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}
} // namespace

LoginDialog::LoginDialog(Setting& settings, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::LoginDialog>()), settings(settings)
{
    ui->setupUi(this);
    ui->label_logo->setPixmap(renderLogo(80));
    // The portal's refusal is shown as the text it is, in the same font as every other
    // message, whatever markup it holds.
    ui->label_error->setTextFormat(Qt::PlainText);
    // Hints clearly dimmer than typed text. The style sheet's text colour would give them its
    // own full brightness when the widget is polished, so they are set after that.
    for (QLineEdit* edit : {ui->line_edit_username, ui->line_edit_password}) {
        edit->ensurePolished();
        QPalette palette = edit->palette();
        palette.setColor(QPalette::PlaceholderText, QColor(0x76, 0x76, 0x76));
        edit->setPalette(palette);
    }
    resetLabelError();

    const QString username = settings.get(QLatin1String(kUsernameKey));
    if (!username.isEmpty()) {
        ui->line_edit_username->setText(username);
        ui->line_edit_password->setFocus();
    }

    NetworkSetup::prepare(&networkManager);
    requestPending = false;
    timeoutTimer.setSingleShot(true);
    connect(&timeoutTimer, &QTimer::timeout, this, [this]() {
        qDebug() << "[LoginDialog] The portal did not answer within" << timeoutMs << "ms";
        if (reply)
            reply->abort(); // reported as a network error, like a missing connection
    });
    // Screen readers name the fields after their placeholders and the links after their
    // words, in the language shown (the error label reads out its own text); Tab reaches the
    // links, where Return follows them.
    ui->line_edit_username->setAccessibleName(ui->line_edit_username->placeholderText());
    ui->line_edit_password->setAccessibleName(ui->line_edit_password->placeholderText());
    for (QLabel* link : {ui->label_forgot_password, ui->label_forgot_username}) {
        link->setAccessibleName(QTextDocumentFragment::fromHtml(link->text()).toPlainText().trimmed());
        link->setFocusPolicy(Qt::StrongFocus);
        link->setStyleSheet(
            QStringLiteral("QLabel:focus { border: 1px solid #4da3ff; border-radius: 3px; }"));
        link->installEventFilter(this);
    }
    setTabOrder(ui->line_edit_username, ui->line_edit_password);
    setTabOrder(ui->line_edit_password, ui->btn_login);
    setTabOrder(ui->btn_login, ui->label_forgot_password);
    setTabOrder(ui->label_forgot_password, ui->label_forgot_username);
    connect(ui->btn_login, &QPushButton::clicked, this, &LoginDialog::loginEv);
    connect(ui->label_forgot_password, &QLabel::linkActivated, this, &LoginDialog::forgotPassword);
    connect(ui->label_forgot_username, &QLabel::linkActivated, this, &LoginDialog::forgotUsername);
}

bool LoginDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            if (watched == ui->label_forgot_password) {
                forgotPassword();
                return true;
            }
            if (watched == ui->label_forgot_username) {
                forgotUsername();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

LoginDialog::~LoginDialog()
{
    // A request still in flight must not report to a half-destroyed dialog.
    if (reply) {
        reply->disconnect(this);
        reply->abort();
        delete reply.data();
    }
}

void LoginDialog::resetLabelError()
{
    ui->label_error->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);"));
    ui->label_error->setText(
        tr("Please login using the same username and password you use to login to OSKAN."));
}

void LoginDialog::loginEv()
{
    if (requestPending)
        return;
    requestPending = true;

    resetLabelError();
    ui->btn_login->setText(tr("LOGGING IN..."));

    QNetworkRequest request(Services::portalUrl(QStringLiteral("authenticate")));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    // Qt would otherwise ask for gzip and inflate whatever comes back, however large.
    request.setRawHeader("Accept-Encoding", "identity");
    const QByteArray body = QByteArrayLiteral("username=") + formValue(ui->line_edit_username->text()) +
                            QByteArrayLiteral("&password=") + formValue(ui->line_edit_password->text());

    reply = networkManager.post(request, body);
    connect(reply, &QNetworkReply::finished, this, &LoginDialog::requestFinished);
    connect(reply, &QNetworkReply::errorOccurred, this, &LoginDialog::requestError);
    timeoutTimer.start(timeoutMs);
}

void LoginDialog::requestFinished()
{
    QNetworkReply* const finished = reply;
    reply = nullptr;
    timeoutTimer.stop();
    requestPending = false;
    ui->btn_login->setText(tr("LOG IN"));
    if (!finished)
        return;
    finished->deleteLater();

    if (finished->error() != QNetworkReply::NoError)
        return; // requestError showed the message; the user may try again

    // Redirects are not followed, so a 3xx answer ends here without an error: its body
    // is no decoding key.
    const int status = finished->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299) {
        ui->label_error->setStyleSheet(QStringLiteral("color: rgb(255, 8, 11);"));
        ui->label_error->setText(tr("Error. Please check your internet connection."));
        qDebug() << "[LoginDialog] Unexpected answer, HTTP status code:" << status;
        return;
    }

    saveUsername();
    response = textUpToZero(finished->readAll());
    loginSuccessfull();
}

void LoginDialog::requestError(QNetworkReply::NetworkError code)
{
    QNetworkReply* const failed = qobject_cast<QNetworkReply*>(sender());
    const int status = failed ? failed->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;

    QString message;
    if (status == 403 && failed) {
        message = textUpToZero(failed->readAll()); // the portal's own explanation
        // Refused credentials: the password is typed again from an empty field.
        ui->line_edit_password->clear();
        ui->line_edit_password->setFocus();
    } else if (status == 500)
        message = tr("Service is temporarily not available. Please try again later.");
    else
        message = tr("Error. Please check your internet connection.");

    ui->label_error->setStyleSheet(QStringLiteral("color: rgb(255, 8, 11);"));
    ui->label_error->setText(message);
    qDebug() << "[LoginDialog] Network reply error:"
             << QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(code)
             << ", HTTP status code:" << status;
    // No answer at all: say why (a refused certificate, a proxy, no route).
    if (status == 0 && failed)
        qDebug() << "[LoginDialog] No answer from the portal:" << NetworkSetup::failureText(failed);
}

void LoginDialog::saveUsername()
{
    settings.set(QLatin1String(kUsernameKey), ui->line_edit_username->text());
    settings.save();
}

void LoginDialog::forgotPassword()
{
    UserPrompt::openUrl(Services::portalUrl(QStringLiteral("user/password/reset/")));
}

void LoginDialog::forgotUsername()
{
    UserPrompt::openUrl(Services::portalUrl(QStringLiteral("user/forgot-username")));
}

void LoginDialog::loginSuccessfull()
{
    accept();
}
