#pragma once

class DCPManager;
class DownloadManager;
class QQmlApplicationEngine;
class Setting;

// The main window as the program loads it: main.qml with the engine, the catalogue, the
// settings, the portal's address and the window's prompts as its context.
class MainWindowScene
{
public:
    MainWindowScene() = delete;

    // False when the window could not be created.
    static bool load(QQmlApplicationEngine& qml, DownloadManager* engine, DCPManager* catalogue,
                     Setting* settings);
};
