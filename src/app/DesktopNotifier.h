#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class DCP;
class DCPManager;
class QSystemTrayIcon;
class Reel;

// Tells the desktop when a DCP is ready (every reel verified and reported) and when a
// reel turns out corrupted, through a system tray message. Without a tray nothing is
// shown; notified() is emitted either way.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifier(DCPManager* catalogue, QObject* parent = nullptr);

    // Whether messages reach the desktop.
    bool hasTray() const { return tray != nullptr; }

signals:
    void notified(const QString& title, const QString& text);

private:
    void followCatalogue();
    void followReels(DCP* dcp);
    void checkComplete(DCP* dcp);
    void reelCorrupted(Reel* reel);
    void show(const QString& text);
    static bool isComplete(const DCP* dcp);

    DCPManager* catalogue;
    QSystemTrayIcon* tray = nullptr;
    QSet<const QObject*> followed;
    // DCPs already complete, announced or complete when first seen.
    QSet<const DCP*> complete;
};
