#include "dialogs/AlertsDialog.h"

#include "notify/WebAlerts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AlertsDialog::AlertsDialog(WebAlerts& alerts, QWidget* parent)
    : QDialog(parent), m_alerts(alerts), m_address(new QLineEdit(this)),
      m_test(new QPushButton(tr("Send a test alert"), this)), m_result(new QLabel(this))
{
    setWindowTitle(tr("Alerts"));
    setMinimumWidth(520);
    auto* const explanation = new QLabel(
        tr("When a DCP is ready, a reel is corrupted, a drive is not connected or the server has not "
           "answered for ten minutes, a short message in JSON is posted to this web address: a chat "
           "channel, a text-message gateway or your own monitoring. Leave it empty for no alerts."),
        this);
    explanation->setWordWrap(true);
    m_address->setObjectName(QStringLiteral("alert_address"));
    m_address->setPlaceholderText(QStringLiteral("https://"));
    m_address->setText(alerts.address());
    m_test->setObjectName(QStringLiteral("btn_test_alert"));
    m_result->setObjectName(QStringLiteral("label_alert_result"));
    m_result->setWordWrap(true);
    m_result->setTextFormat(Qt::PlainText);
    auto* const buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);

    auto* const addressRow = new QHBoxLayout;
    addressRow->addWidget(m_address, 1);
    addressRow->addWidget(m_test);
    auto* const layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(addressRow);
    layout->addWidget(m_result);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_test, &QPushButton::clicked, this, &AlertsDialog::sendTest);
    connect(&m_alerts, &WebAlerts::testFinished, this, &AlertsDialog::testFinished);
    connect(buttons, &QDialogButtonBox::accepted, this, &AlertsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void AlertsDialog::sendTest()
{
    m_test->setEnabled(false);
    showResult(tr("Sending a test alert…"), true);
    m_alerts.sendTest(m_address->text());
}

void AlertsDialog::testFinished(bool answered, const QString& message)
{
    m_test->setEnabled(true);
    showResult(message, answered);
}

void AlertsDialog::save()
{
    if (!m_alerts.setAddress(m_address->text())) {
        showResult(WebAlerts::addressProblem(m_address->text()), false);
        return;
    }
    accept();
}

void AlertsDialog::showResult(const QString& text, bool good)
{
    m_result->setStyleSheet(good ? QString() : QStringLiteral("color: rgb(213, 16, 29);"));
    m_result->setText(text);
}
