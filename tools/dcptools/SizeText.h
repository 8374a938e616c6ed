#pragma once

#include <QString>

// Byte counts on the command line: plain digits or a K, M, G or T suffix (powers of 1024).
class SizeText
{
public:
    SizeText() = delete;

    static bool parse(const QString& text, quint64* bytes);
};
