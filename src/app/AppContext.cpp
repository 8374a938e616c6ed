#include "app/AppContext.h"

#include "core/WallClock.h"
#include "download/DownloadManager.h"
#include "download/ScheduleEngine.h"
#include "import/DCPXMLReader.h"
#include "import/PackageEntryImporter.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

AppContext::AppContext(const QString& storeDirectory)
    : m_assetsAdded([this] { engine().assetsChanged(); }),
      m_store(std::make_unique<DatabaseManager>(storeDirectory)),
      m_settings(std::make_unique<Setting>(*m_store))
{
}

AppContext::~AppContext() = default;

std::unique_ptr<DCPManager> AppContext::releaseCatalogue()
{
    m_schedule.reset();
    m_engine.reset();
    m_notifications.reset();
    return std::move(m_catalogue);
}

DCPManager& AppContext::catalogue()
{
    if (!m_catalogue) {
        m_catalogue = std::make_unique<DCPManager>(*m_store);
        m_catalogue->setPackageReader(
            [this](const QString& decodingKey, const QString& path) { importPackage(decodingKey, path); });
        // Downloads interrupted by the last exit resume without the user.
        if (m_catalogue->loadedData())
            engine().assetsChanged();
    }
    return *m_catalogue;
}

NotificationManager& AppContext::notifications()
{
    if (!m_notifications) {
        m_notifications = std::make_unique<NotificationManager>(*m_store, catalogue());
        // Files found not to be the verified ones when their reel was to be revealed.
        QObject::connect(m_notifications.get(), &NotificationManager::verificationNeeded,
                         m_notifications.get(), [this](Reel* reel) { engine().verifyAgain(reel); });
    }
    return *m_notifications;
}

DownloadManager& AppContext::engine()
{
    if (!m_engine)
        catalogue(); // a first load that finds DCPs builds the engine itself
    if (!m_engine) {
        m_engine = std::make_unique<DownloadManager>(
            *m_settings, *m_catalogue, *m_store,
            [this](Reel* reel, NotificationType::Value event) { notifications().addToQueue(reel, event); });
        if (m_engineCreated)
            m_engineCreated(*m_engine);
    }
    return *m_engine;
}

void AppContext::setClock(std::unique_ptr<WallClock> clock)
{
    m_clock = std::move(clock);
}

ScheduleEngine& AppContext::schedule()
{
    if (!m_schedule) {
        if (!m_clock)
            m_clock = std::make_unique<SystemClock>();
        m_schedule = std::make_unique<ScheduleEngine>(*m_settings, engine(), *m_clock);
    }
    return *m_schedule;
}

void AppContext::importPackage(const QString& decodingKey, const QString& path)
{
    const ImportTarget target{catalogue(), m_volumes,
                              [this] {
                                  if (m_assetsAdded)
                                      m_assetsAdded();
                              },
                              [this](const QList<Asset*>& files) {
                                  engine().keepFiles(files);
                              }};
    DCPXMLReader reader(decodingKey, target);
    reader.loadPackage(path);
}
