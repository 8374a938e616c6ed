#include "import/PackagePathRules.h"

#include <QRegularExpression>
#include <QUrl>

bool PackagePathRules::isPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool PackagePathRules::isRelativeInside(const QString& path)
{
    if (path.contains(QChar(0)))
        return false;
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')))
        return false;
    // A drive letter ("C:") makes a path absolute where the package was made.
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(path).hasMatch())
        return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = path.split(separators);
    return !parts.contains(QStringLiteral(".."));
}

bool PackagePathRules::isDownloadAddress(const QString& address)
{
    // Tolerant like the transfer that fetches it: blanks and non-ASCII letters are fine.
    const QUrl url(address);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}
