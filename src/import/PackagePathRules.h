#pragma once

#include <QString>

// Checks on the texts of a package that end up in file-system paths or network
// requests. A package comes from outside; none of these may lead outside the DCP folder.
class PackagePathRules
{
public:
    PackagePathRules() = delete;

    // A single path component: not empty, not "." or "..", no "/", "\" or NUL.
    static bool isPlainName(const QString& name);
    // A relative path inside the DCP folder: not absolute, no ".." component, no NUL.
    static bool isRelativeInside(const QString& path);
    // An http or https address with a host.
    static bool isDownloadAddress(const QString& address);
};
