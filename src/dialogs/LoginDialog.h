#pragma once

#include <QDialog>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class Setting;

namespace Ui {
class LoginDialog;
}

// Logs in with the portal account before the main window exists. The body of a successful
// answer is the key that decodes package files; exec() returns 1 after a login and 0 when
// the user closed the dialog.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    // settings: where the user name of the last login is kept.
    explicit LoginDialog(Setting& settings, QWidget* parent = nullptr);
    ~LoginDialog() override;

    QString getResponse() const { return response; }
    // Puts the message line back to its neutral text and colour.
    void resetLabelError();

    // How long a login request may stay unanswered before it counts as a network error
    // (30 s); tests shorten it.
    int requestTimeout() const { return timeoutMs; }
    void setRequestTimeout(int milliseconds) { timeoutMs = milliseconds; }

protected:
    // Return, Enter or Space on a focused link label follows its link.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void requestFinished();
    void requestError(QNetworkReply::NetworkError code);
    void saveUsername();
    void forgotPassword();
    void forgotUsername();
    void loginSuccessfull();
    void loginEv();

private:
    std::unique_ptr<Ui::LoginDialog> ui;
    Setting& settings;
    QNetworkAccessManager networkManager;
    bool requestPending = false;
    QString response;

    QPointer<QNetworkReply> reply;
    QTimer timeoutTimer;
    int timeoutMs = 30000;
};
