#include "download/DownloadManager.h"

DownloadManager* DownloadManager::getInstance()
{
    static DownloadManager* instance = new DownloadManager();
    return instance;
}

DownloadManager::DownloadManager() : QObject(nullptr) {}

void DownloadManager::assetsChanged() {}
