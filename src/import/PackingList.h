#pragma once

#include "import/DocumentProblem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The packing list of a DCP: every asset's hash, size, type and original file name.
class PackingList
{
public:
    struct AssetEntry
    {
        QString uuid;
        QString hash;     // Base64 SHA-1 of the file, as written
        quint64 size = 0; // 0 when the Size text is not a number
        QString type;
        QString originalFileName; // as written, without the hiding dot
    };

    // Parses the document. Asset elements lacking one of the five fields are left out;
    // a file name that is not a plain name refuses the document.
    static PackingList fromBytes(const QByteArray& xml);

    bool isValid() const { return problem.isNone(); }
    const DocumentProblem& getProblem() const { return problem; }

    // The complete Asset elements in document order.
    const QList<AssetEntry>& getAssets() const { return assets; }

private:
    DocumentProblem problem;
    QList<AssetEntry> assets;
};
