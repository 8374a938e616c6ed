#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class WebAlerts;

// "Alerts…": the web address that hears of ready DCPs and of downloads that stopped, with a
// button that sends a test alert there and says whether the address answered. Saving an
// empty address turns the alerts off.
class AlertsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AlertsDialog(WebAlerts& alerts, QWidget* parent = nullptr);

private:
    void sendTest();
    void testFinished(bool answered, const QString& message);
    void save();
    void showResult(const QString& text, bool good);

    WebAlerts& m_alerts;
    QLineEdit* m_address;
    QPushButton* m_test;
    QLabel* m_result;
};
