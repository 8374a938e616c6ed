#pragma once

#include <QMetaType>
#include <QString>

// Which file a path leads to, as the file system tells it: the device and inode, the size and
// the modification time. A file swapped for another (a different drive under the same mount
// point, a copy) or changed since has another identity; a rename keeps it.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no file could be examined
    qint64 modifiedNs = 0;

    bool isValid() const { return size >= 0; }
    // The identity of what path leads to now; invalid when it cannot be examined.
    static FileIdentity of(const QString& path);

    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(FileIdentity)
