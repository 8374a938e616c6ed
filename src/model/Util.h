#pragma once

#include <QByteArray>
#include <QString>

// Small text helpers shared by the importer and the checksum worker.
class Util
{
public:
    Util() = delete;

    static QString cleanUUID(const QString& text);
    static QString cleanXMLElement(const QString& text, const QString& prefix);
    static QByteArray decodeBase64(const QString& text);
    static QByteArray encodeBase64(const QString& text);
    static void sleep(int ms);
};
