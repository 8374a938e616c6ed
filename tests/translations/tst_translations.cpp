// The translations as the build finds them: lupdate has run over the sources, so a text that
// is new or changed shows here as unfinished until it is translated.
#include "TestSandbox.h"
#include "app/AppContext.h"
#include "app/Translations.h"
#include "download/DriveRoom.h"
#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
struct Message
{
    QString context;
    QString source;
    QString comment;
    QStringList translations;
    bool unfinished = false;
};

QList<Message> readTs(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Message> messages;
    QString context;
    Message message;
    bool dropped = false;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringRef name = xml.name();
        if (xml.isStartElement()) {
            if (name == QLatin1String("context")) {
                context.clear();
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                message = Message{context, {}, {}, {}, false};
                dropped = false;
            } else if (name == QLatin1String("source")) {
                // A carriage return is a <byte> element of its own.
                message.source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (name == QLatin1String("comment")) {
                message.comment = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                // Texts the sources no longer hold.
                dropped = type == QLatin1String("vanished") || type == QLatin1String("obsolete");
                message.unfinished = type == QLatin1String("unfinished");
                message.translations << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && name == QLatin1String("message") && !dropped) {
            messages << message;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

// Placeholders, markup tags and the keyboard accelerator: what a translation must carry over.
QStringList carried(const QString& text)
{
    QStringList found;
    static const QRegularExpression pattern(QStringLiteral(R"(%L?\d|%n|<[^>]+>|&(?![&\w#]+;)(?=\w))"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    auto it = pattern.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(0).replace(QRegularExpression(QStringLiteral(R"(<(/?\w+)[^>]*>)")),
                                               QStringLiteral("<\\1>"));
    found.sort();
    return found;
}

// A text may read the same in a language only when every word of it is a name, a trade word
// or a word that language shares with English.
bool mayStayEnglish(const QString& language, const QString& source)
{
    static const QStringList trade{
        "DCP",        "DCPs", "KDM", "KDMs",    "CPL",  "PKL",   "ASSETMAP", "VOLINDEX", "OSKAN", "Reelvane",
        "Downloader", "SHA",  "USB", "ext2",    "ext3", "ext4",  "FAT32",    "exFAT",    "NTFS",  "HFS",
        "APFS",       "GPT",  "MBR", "UDisks2", "JSON", "http",  "https",    "OK",       "A",     "Z",
        "GB",         "MB",   "kB",  "Mbps",    "Gbps", "bytes", "h",        "m",        "s"};
    static const QHash<QString, QStringList> shared{
        {QStringLiteral("fr"),
         {"Pause", "PAUSE", "Type", "Version", "Notification", "Alertes", "Date", "DATE"}},
        {QStringLiteral("de"),
         {"Film", "Pause", "PAUSE", "Version", "Name", "Status", "Start", "Download", "Reel", "Reels"}},
        {QStringLiteral("es"), {"No", "Total", "Error"}},
        {QStringLiteral("it"), {"No", "Film", "Download", "Server", "file", "File", "Password"}}};
    QString words = source;
    words.remove(QRegularExpression(QStringLiteral(R"(<[^>]+>|%L?\d|%n|&(?=\w))")));
    for (const QString& word :
         words.split(QRegularExpression(QStringLiteral(R"([^\w]+)")), Qt::SkipEmptyParts)) {
        bool isNumber = false;
        word.toDouble(&isNumber);
        if (!isNumber && !trade.contains(word) && !shared.value(language).contains(word))
            return false;
    }
    return true;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void complete_data();
    void complete();
    void languageOfTheSystem_data();
    void languageOfTheSystem();
    void installedTranslationSpeaks();
    void choiceIsKeptAndRetranslatesTheWindow();
};

void TestTranslations::complete_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : Translations::available().mid(1))
        QTest::newRow(qPrintable(language)) << language;
}

// Every text translated, nothing left in English but names and trade words, and every
// placeholder, tag and accelerator carried over.
void TestTranslations::complete()
{
    QFETCH(QString, language);
    QString error;
    const QList<Message> messages =
        readTs(QStringLiteral(ORV_TRANSLATIONS_CHECK_DIR "/reelvane_%1.ts").arg(language), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(messages.size() > 20);
    QStringList problems;
    for (const Message& message : messages) {
        const QString where = message.context + QStringLiteral(": \"") + message.source + QLatin1Char('"');
        if (message.unfinished || message.translations.isEmpty() ||
            message.translations.contains(QString())) {
            problems << where + QStringLiteral(" is not translated");
            continue;
        }
        for (const QString& translation : message.translations) {
            if (translation == message.source && !mayStayEnglish(language, message.source))
                problems << where + QStringLiteral(" is still English");
            if (carried(translation) != carried(message.source))
                problems << where + QStringLiteral(" does not carry ") + carried(message.source).join(' ') +
                                QStringLiteral(" over: \"") + translation + QLatin1Char('"');
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::languageOfTheSystem_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << QStringList{"de-DE"} << "de";
    QTest::newRow("Swiss French") << QStringList{"fr-CH", "fr"} << "fr";
    QTest::newRow("first known of several") << QStringList{"pt-BR", "it-IT", "fr"} << "it";
    QTest::newRow("English before French") << QStringList{"en-GB", "fr-FR"} << "en";
    QTest::newRow("none known") << QStringList{"pt-PT"} << "en";
    QTest::newRow("C locale") << QStringList{"C"} << "en";
}

void TestTranslations::languageOfTheSystem()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, language);
    QCOMPARE(Translations::languageAmong(uiLanguages), language);
}

// The built-in translation and Qt's own, and the numbers as the language writes them;
// English again removes both.
void TestTranslations::installedTranslationSpeaks()
{
    Translations::install(QStringLiteral("de"));
    QCOMPARE(Translations::installed(), QStringLiteral("de"));
    QCOMPARE(QCoreApplication::translate("AttentionEvents", "DCP ready"), QStringLiteral("DCP bereit"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    QCOMPARE(QLocale().toString(1.5, 'f', 2), QStringLiteral("1,50"));
    Translations::install(QStringLiteral("fr"));
    QCOMPARE(DriveRoom::sizeText(Q_UINT64_C(3) << 29), QStringLiteral("1,5 Go")); // the drive's room
    Translations::install(QStringLiteral("xx"));
    QCOMPARE(Translations::installed(), QStringLiteral("en"));
    QCOMPARE(QCoreApplication::translate("AttentionEvents", "DCP ready"), QStringLiteral("DCP ready"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

// The "Language" menu's choice is stored, spoken at once by the window, and an empty choice
// goes back to the system's language.
void TestTranslations::choiceIsKeptAndRetranslatesTheWindow()
{
    TestSandbox box;
    Translations translations(box.context().settings());
    QQmlEngine engine;
    translations.setEngine(&engine);
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.9\nText { text: qsTr(\"Language\") }",
                      QUrl(QStringLiteral("file:///WindowMenu.qml")));
    std::unique_ptr<QObject> text(component.create());
    QVERIFY2(text, qPrintable(component.errorString()));
    QSignalSpy changed(&translations, &Translations::languageChanged);

    translations.choose(QStringLiteral("it"));
    QCOMPARE(text->property("text").toString(), QStringLiteral("Lingua"));
    QCOMPARE(box.context().settings().get(QStringLiteral("language")), QStringLiteral("it"));
    QCOMPARE(TestSandbox::scalar(
                 QStringLiteral("SELECT count(*) FROM setting WHERE key = 'language' AND value = 'it'")),
             1);
    QCOMPARE(translations.choice(), QStringLiteral("it"));
    QCOMPARE(changed.count(), 1);

    translations.choose(QString());
    QCOMPARE(translations.choice(), QString());
    QCOMPARE(Translations::installed(), Translations::systemLanguage());
    QCOMPARE(text->property("text").toString(), QStringLiteral("Language"));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
