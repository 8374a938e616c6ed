#pragma once

#include <QString>

#include <functional>

// Forces what the program wrote onto the drive itself: a rename or a new file is only a
// change in memory until its folder is flushed, and a drive pulled right after the window
// says "Completed" must hold the final names.
class MediumSync
{
public:
    MediumSync() = delete;

    // fsync of the folder: its entries (new names, new files) reach the medium.
    static bool syncFolder(const QString& path);
    // fdatasync of the file's contents.
    static bool syncFile(const QString& path);

    // Tests: sees every flush ("folder" or "file", path) after it was made; empty removes it.
    static void setObserver(std::function<void(const QString& kind, const QString& path)> observer);
};
