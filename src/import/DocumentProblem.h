#pragma once

#include <QString>

// What is wrong with one of a DCP's XML documents. The import logs it and refuses the
// entry; the document classes only describe it.
class DocumentProblem
{
public:
    enum Kind
    {
        None,
        NotXml,     // not well-formed, or declares entities
        NoElements, // none of the elements the document exists for
        Unsafe      // a text that would name a place outside the DCP folder
    };

    DocumentProblem() = default;
    // message: the log text after the "[DCPXMLReader] " prefix; detail: the parser's
    // explanation (NotXml) or the offending text (Unsafe).
    DocumentProblem(Kind kind, const QString& message, const QString& detail = QString());

    bool isNone() const { return kind == None; }
    Kind getKind() const { return kind; }
    QString getMessage() const { return message; }
    QString getDetail() const { return detail; }

    // Writes the problem to the log in the import's own words.
    void log() const;

private:
    Kind kind = None;
    QString message;
    QString detail;
};
