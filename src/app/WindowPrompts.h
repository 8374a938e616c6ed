#pragma once

#include <QObject>
#include <QString>

// The main window's questions and links. They go through the prompt layer like every
// other box of the program, so a test answers them from its script.
class WindowPrompts : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // A warning box with Yes and Cancel; true when the user chose Yes.
    Q_INVOKABLE bool confirm(const QString& title, const QString& text, const QString& informativeText);
    // A question box with Yes and No; true when the user chose Yes.
    Q_INVOKABLE bool question(const QString& title, const QString& text, const QString& informativeText);
    // Hands a web page or a folder to the desktop; false when it refused.
    Q_INVOKABLE bool openUrl(const QString& url);
};
