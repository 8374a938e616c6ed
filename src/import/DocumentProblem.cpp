#include "import/DocumentProblem.h"

#include <QDebug>

DocumentProblem::DocumentProblem(Kind kind, const QString& message, const QString& detail)
    : kind(kind), message(message), detail(detail)
{
}

void DocumentProblem::log() const
{
    const QString line = QStringLiteral("[DCPXMLReader] ") + message;
    switch (kind) {
    case None:
        break;
    case NotXml:
        qDebug().noquote() << line;
        qDebug() << "[DCPXMLReader] " << detail;
        break;
    case NoElements:
        qDebug().noquote() << line;
        break;
    case Unsafe: {
        QDebug out = qDebug();
        out.noquote() << line;
        out.quote() << detail;
        break;
    }
    }
}
