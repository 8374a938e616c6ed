#include "model/Util.h"

#include <time.h>

QString Util::cleanUUID(const QString& text)
{
    return cleanXMLElement(text, QStringLiteral("urn:uuid:"));
}

QString Util::cleanXMLElement(const QString& text, const QString& prefix)
{
    if (!prefix.isEmpty() && text.startsWith(prefix, Qt::CaseSensitive)) {
        return text.mid(prefix.size());
    }
    return text;
}

QByteArray Util::decodeBase64(const QString& text)
{
    // The lenient decoder skips anything outside the alphabet (line breaks, blanks),
    // so digests wrapped differently by the packing list still compare equal.
    return QByteArray::fromBase64(text.toUtf8());
}

QByteArray Util::encodeBase64(const QString& text)
{
    return text.toUtf8().toBase64();
}

void Util::sleep(int ms)
{
    if (ms <= 0) {
        return;
    }
    struct timespec request;
    request.tv_sec = ms / 1000;
    request.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    nanosleep(&request, nullptr);
}
