#pragma once

#include "DcpDescription.h"

#include <QString>

// Reads a DCP folder back into a description: the ASSETMAP tells where every file lies,
// the PKL what it is, the CPL which reel plays it. Fonts and other files in a folder
// named after a subtitle asset count for that subtitle's reel.
class DcpFolder
{
public:
    DcpFolder() = delete;

    static bool read(const QString& folder, DcpDescription* out, QString* error = nullptr);
};
