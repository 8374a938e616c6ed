#pragma once

#include <QString>

#include <cstdio>

// One row of the table that bench/run.sh gathers from every benchmark: what is measured,
// our figure, the peer tool's figure on the same input, their ratio, and the limit or
// ceiling the figure is held to. Printed as a tab-separated line starting with "TABLE".
inline void benchRow(const QString& figure, const QString& ours, const QString& peer, const QString& ratio,
                     const QString& limit)
{
    std::printf("TABLE\t%s\t%s\t%s\t%s\t%s\n", qPrintable(figure), qPrintable(ours), qPrintable(peer),
                qPrintable(ratio), qPrintable(limit));
    std::fflush(stdout);
}

inline QString benchNumber(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}
