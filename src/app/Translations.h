#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QQmlEngine;
class Setting;

// The language the program speaks: the system's (LANGUAGE, LANG) when the program knows it,
// or the one chosen in the "Language" menu, kept under the setting "language" (empty: the
// system's). English is the source; French, German, Spanish and Italian are built in as
// resources, with Qt's own translations for the standard buttons and dialogs. Numbers and
// dates follow the language chosen. Changing it retranslates the open window at once.
class Translations : public QObject
{
    Q_OBJECT
    // "" for the system's language, or a language code.
    Q_PROPERTY(QString choice READ choice NOTIFY languageChanged)
    // The language in effect.
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)

public:
    static const char kSettingKey[];

    explicit Translations(Setting& settings, QObject* parent = nullptr);

    // The codes of the languages the program speaks, English first.
    static QStringList available();
    // The first of the system's languages that the program speaks, or English.
    static QString systemLanguage();
    // The first of these (as QLocale::uiLanguages() gives them) that the program speaks, or English.
    static QString languageAmong(const QStringList& uiLanguages);
    // Installs the translations of a language (a code of available(); anything else is
    // English) on the application, and its number and date formats.
    static void install(const QString& language);
    // What install() last installed.
    static QString installed();
    // The language for a stored choice: the choice itself, or the system's when it is empty.
    static QString languageFor(const QString& choice);

    QString choice() const;
    QString language() const { return installed(); }
    // The window whose texts follow the language.
    void setEngine(QQmlEngine* engine) { m_engine = engine; }
    // Stores the choice ("" for the system's language) and speaks it from now on.
    Q_INVOKABLE void choose(const QString& choice);

signals:
    void languageChanged();

private:
    Setting& m_settings;
    QQmlEngine* m_engine = nullptr;
};
