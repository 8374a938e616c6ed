#pragma once

#include <QString>

class QDomDocument;

// Parses a DCP document into a DOM tree with namespace processing off. Documents that
// declare entities are refused before the DOM parser sees them: DCP documents never
// need them, and nested definitions would expand without bound.
class SafeXml
{
public:
    SafeXml() = delete;

    // False with a reason in error when the text is not well-formed or declares entities.
    static bool parse(const QString& xml, QDomDocument* document, QString* error = nullptr);
};
