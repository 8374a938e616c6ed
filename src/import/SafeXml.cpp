#include "import/SafeXml.h"

#include <QDomDocument>

bool SafeXml::parse(const QString& xml, QDomDocument* document, QString* error)
{
    // Any entity declaration, general or parameter, is spelt this way (XML keywords are
    // case-sensitive), so checking the raw text covers whatever the DOM parser accepts.
    if (xml.contains(QLatin1String("<!ENTITY"))) {
        if (error)
            *error = QStringLiteral("entity declarations are not accepted");
        return false;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!document->setContent(xml, false, &message, &line, &column)) {
        if (error)
            *error = QStringLiteral("%1 at line %2, column %3").arg(message).arg(line).arg(column);
        return false;
    }
    return true;
}
