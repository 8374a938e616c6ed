#pragma once

#include <QString>

// Folder that holds debug.log and the store. It is the executable's folder, as it always
// was, so a copy of the program carries its state along. A program installed where the
// user cannot write (/usr/bin from the Debian package) and that holds no store keeps its
// state in the user's data folder instead ("~/.local/share/reelvane-downloader"), created
// on first use.
class DataFolder
{
public:
    // The store's file name; a store of that name beside the executable keeps the folder there.
    static constexpr const char* storeFileName = "orvdownloader.4.sqlite";

    // Empty until the application object exists (there is no executable path before it).
    static QString path();
};
