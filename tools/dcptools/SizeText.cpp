#include "SizeText.h"

bool SizeText::parse(const QString& text, quint64* bytes)
{
    QString digits = text.trimmed().toUpper();
    if (digits.endsWith(QLatin1Char('B')) && digits.size() > 1 && !digits.at(digits.size() - 2).isDigit())
        digits.chop(1); // "4GB", "10MB"
    int shift = 0;
    if (!digits.isEmpty()) {
        switch (digits.back().toLatin1()) {
        case 'K':
            shift = 10;
            break;
        case 'M':
            shift = 20;
            break;
        case 'G':
            shift = 30;
            break;
        case 'T':
            shift = 40;
            break;
        default:
            break;
        }
        if (shift)
            digits.chop(1);
    }
    bool ok = false;
    const quint64 value = digits.toULongLong(&ok);
    if (!ok || (shift && value > (~Q_UINT64_C(0) >> shift)))
        return false;
    *bytes = value << shift;
    return true;
}
