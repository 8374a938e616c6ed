#pragma once

#include "import/VolumeInfo.h"

#include <QString>

#include <functional>
#include <memory>

class DCPManager;
class DatabaseManager;
class DownloadManager;
class NotificationManager;
class ScheduleEngine;
class Setting;
class WallClock;

// Builds and owns the program's managers and hands each its collaborators. The store and
// the settings exist from construction (the login reads the saved user name); the rest are
// built on first use, in the order of the start: the catalogue (whose first load starts the
// engine when it found DCPs), the notification queue, the download engine. Destroyed in
// the reverse order. Each manager's getInstance() returns this context's object.
class AppContext
{
public:
    // Opens the store in the folder; throws std::runtime_error when it cannot.
    explicit AppContext(const QString& storeDirectory);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    DatabaseManager& store() const { return *m_store; }
    Setting& settings() const { return *m_settings; }
    VolumeInfo& volumes() { return m_volumes; }
    DCPManager& catalogue();
    NotificationManager& notifications();
    DownloadManager& engine();
    // The weekly bandwidth schedule over the engine, built with it on first use.
    ScheduleEngine& schedule();

    bool hasCatalogue() const { return m_catalogue != nullptr; }
    bool hasNotifications() const { return m_notifications != nullptr; }
    bool hasEngine() const { return m_engine != nullptr; }

    // Before schedule() is first used: the clock the schedule follows (the system's by default).
    void setClock(std::unique_ptr<WallClock> clock);

    // Hands the catalogue, with every DCP, reel and asset it holds, to the caller, who then
    // decides when they go (a new start in the same process keeps the old objects alive).
    // The engine and the queue must be gone or never built.
    std::unique_ptr<DCPManager> releaseCatalogue();

    // Called once the engine is built, before it queues anything (tests shorten its timers).
    void setEngineCreatedHandler(std::function<void(DownloadManager&)> handler)
    {
        m_engineCreated = std::move(handler);
    }

    // What an import does once it filed new assets; by default the engine rebuilds its queue.
    void setAssetsAddedHandler(std::function<void()> handler) { m_assetsAdded = std::move(handler); }

private:
    void importPackage(const QString& decodingKey, const QString& path);

    VolumeInfo m_volumes;
    std::function<void()> m_assetsAdded;
    std::function<void(DownloadManager&)> m_engineCreated;
    // Declared in the order of the start, so they are destroyed in the reverse one.
    std::unique_ptr<DatabaseManager> m_store;
    std::unique_ptr<Setting> m_settings;
    std::unique_ptr<DCPManager> m_catalogue;
    std::unique_ptr<NotificationManager> m_notifications;
    std::unique_ptr<DownloadManager> m_engine;
    std::unique_ptr<WallClock> m_clock;
    std::unique_ptr<ScheduleEngine> m_schedule;
};
