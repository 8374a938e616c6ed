#include "app/Translations.h"

#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QQmlEngine>
#include <QTranslator>

#include <memory>

namespace {
std::unique_ptr<QTranslator> g_program;
std::unique_ptr<QTranslator> g_qt;
QString g_language = QStringLiteral("en");

void drop(std::unique_ptr<QTranslator>& translator)
{
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}
} // namespace

// Outside any namespace: the macro declares the resource's initialiser.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(translations);
}

const char Translations::kSettingKey[] = "language";

Translations::Translations(Setting& settings, QObject* parent) : QObject(parent), m_settings(settings) {}

QStringList Translations::available()
{
    return {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("es"),
            QStringLiteral("it")};
}

QString Translations::systemLanguage()
{
    // LANGUAGE lists the user's languages in order of preference; LANG gives one.
    return languageAmong(QLocale::system().uiLanguages());
}

QString Translations::languageAmong(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QString code = name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (available().contains(code))
            return code;
    }
    return QStringLiteral("en");
}

QString Translations::languageFor(const QString& choice)
{
    return available().contains(choice) ? choice : systemLanguage();
}

void Translations::install(const QString& language)
{
    initTranslationResources();
    drop(g_program);
    drop(g_qt);
    g_language = available().contains(language) ? language : QStringLiteral("en");
    if (g_language != QLatin1String("en")) {
        g_program = std::make_unique<QTranslator>();
        if (g_program->load(QStringLiteral(":/translations/reelvane_") + g_language))
            QCoreApplication::installTranslator(g_program.get());
        else
            qDebug() << "[Translations] No translation built in for" << g_language;
        // Qt's own texts: the buttons of the boxes, the file dialog.
        g_qt = std::make_unique<QTranslator>();
        if (g_qt->load(QStringLiteral("qt_") + g_language,
                       QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(g_qt.get());
    }
    // Numbers, sizes and times as people of that language write them; the system's own
    // conventions when it is the system's language.
    QLocale::setDefault(g_language == systemLanguage() ? QLocale::system() : QLocale(g_language));
    qDebug() << "[Translations] Language:" << g_language;
}

QString Translations::installed()
{
    return g_language;
}

QString Translations::choice() const
{
    const QString stored = m_settings.get(QString::fromLatin1(kSettingKey));
    return available().contains(stored) ? stored : QString();
}

void Translations::choose(const QString& choice)
{
    const QString stored = available().contains(choice) ? choice : QString();
    m_settings.set(QString::fromLatin1(kSettingKey), stored);
    m_settings.save();
    install(languageFor(stored));
    if (m_engine)
        m_engine->retranslate();
    emit languageChanged();
}
