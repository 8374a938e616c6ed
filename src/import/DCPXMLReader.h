#pragma once

#include <QString>

// Imports one package file. (Placeholder interface: the import work fills this class in.)
class DCPXMLReader
{
public:
    explicit DCPXMLReader(const QString& decodingKey);

    // Runs the whole import of one package file; every outcome is reported to the user inside.
    void loadPackage(const QString& path);

private:
    QString decodingKey;
};
