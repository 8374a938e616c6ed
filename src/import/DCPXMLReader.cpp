#include "import/DCPXMLReader.h"

DCPXMLReader::DCPXMLReader(const QString& decodingKey) : decodingKey(decodingKey) {}

void DCPXMLReader::loadPackage(const QString& path)
{
    Q_UNUSED(path);
}
