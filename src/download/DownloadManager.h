#pragma once

#include <QObject>

// The download engine. (Placeholder interface: the download work fills this class in.)
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    static DownloadManager* getInstance();

    // Rebuilds the queue from the catalogue after it changed.
    void assetsChanged();

private:
    DownloadManager();
};
