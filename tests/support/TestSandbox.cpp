#include "TestSandbox.h"
#include "TestPackages.h"
#include "app/AppContext.h"
#include "core/FileIdentity.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "import/DCPXMLReader.h"
#include "import/PackageEntryImporter.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

TestSandbox::TestSandbox(Option option)
{
    if (option == WithServer) {
        server.listen();
        server.setAssetRoot(root() + QStringLiteral("/server"));
        QDir().mkpath(server.assetRoot());
        qputenv("ORV_NOTIFY_URL", server.notificationBaseUrl().toUtf8());
        qputenv("ORV_PORTAL_URL", server.portalBaseUrl().toUtf8());
    }
    QDir().mkpath(packages());
    QDir().mkpath(downloads());
    startProgram();
    // As in the program, the catalogue is there before anything is stored.
    m_context->catalogue();
}

TestSandbox::~TestSandbox()
{
    // What the catalogues took goes with them; the rest of what was made here, now.
    QSet<DCP*> ownedDcps;
    QSet<Reel*> ownedReels;
    QSet<Asset*> ownedAssets;
    if (m_context->hasCatalogue())
        m_context->catalogue().collectOwned(ownedDcps, ownedReels, ownedAssets);
    for (const auto& earlier : m_earlier)
        earlier->collectOwned(ownedDcps, ownedReels, ownedAssets);
    QSet<DCP*> dcps;
    QSet<Reel*> reels;
    QSet<Asset*> assets;
    for (DCP* dcp : qAsConst(m_made)) {
        dcps.insert(dcp);
        reels.unite(QSet<Reel*>(dcp->getReels().cbegin(), dcp->getReels().cend()));
        assets.unite(QSet<Asset*>(dcp->getAssets().cbegin(), dcp->getAssets().cend()));
    }
    dcps.subtract(ownedDcps);
    reels.subtract(ownedReels);
    assets.subtract(ownedAssets);
    m_context.reset();
    m_earlier.clear();
    qDeleteAll(assets);
    qDeleteAll(reels);
    qDeleteAll(dcps);
}

void TestSandbox::startProgram()
{
    m_context = std::make_unique<AppContext>(root());
    // No drive behind the sandbox: whatever disk holds the machine's temporary folder (a RAM
    // disk says so) is no finding of the tests'. Drive tests point these at their fixtures.
    const QString noDrive = root() + QStringLiteral("/no-drive");
    m_context->volumes().setDriveRoots({noDrive + QStringLiteral("/mountinfo"),
                                        noDrive + QStringLiteral("/sys"), noDrive + QStringLiteral("/dev")});
    m_context->setAssetsAddedHandler([this] { assetsAdded(); });
    m_context->setEngineCreatedHandler([this](DownloadManager& e) {
        e.setTimeoutInterval(stallMs);
        e.getChecksumWorker()->setPollInterval(20);
        m_engineCreated = true;
    });
}

void TestSandbox::assetsAdded()
{
    // Imports count their calls to the engine; they reach it once a test uses it.
    ++engineNotifications;
    if (m_engineCreated)
        m_context->engine().assetsChanged();
}

void TestSandbox::restart()
{
    const bool withEngine = m_engineCreated;
    // Objects of the earlier start stay valid for the test until the sandbox goes.
    if (std::unique_ptr<DCPManager> earlier = m_context->releaseCatalogue())
        m_earlier.push_back(std::move(earlier));
    m_context.reset();
    m_engineCreated = false;
    startProgram();
    if (withEngine)
        engine();
}

DCPManager* TestSandbox::catalogue() const
{
    return &m_context->catalogue();
}

VolumeInfo& TestSandbox::volumes() const
{
    return m_context->volumes();
}

DownloadManager* TestSandbox::engine()
{
    // Its timers are shortened as it is built, before it queues anything.
    return &m_context->engine();
}

NotificationManager* TestSandbox::notifications(int intervalMs)
{
    const bool fresh = !m_context->hasNotifications();
    NotificationManager* m = &m_context->notifications();
    m->setConsumerInterval(intervalMs);
    // Its start-up pass first, as in the program: run after a test's first events, it would take
    // a reel of verified files with ChecksumStarted journaled for one verified before a stop.
    if (fresh)
        QCoreApplication::processEvents();
    return m;
}

DCP* TestSandbox::newDCP(const QString& uuid, const QString& title, const QString& downloadPath)
{
    // A cover the window shows without the network: an address on this machine would make the
    // window tests depend on whatever listens there, and on Qt's handling of a cancelled request.
    auto* dcp = new DCP(uuid, title, QStringLiteral("qrc:/images/placeholder_cover.svg"), downloadPath,
                        &m_context->store());
    m_made.append(dcp);
    dcp->setFriendlyTitle(title + QStringLiteral(" (friendly)"));
    dcp->setUserUUID(QStringLiteral("user-1"));
    dcp->setCampaignDCPId(77);
    return dcp;
}

Reel* TestSandbox::addReel(DCP* dcp, const QString& uuid, unsigned number)
{
    auto* reel = new Reel(uuid, QString(), QString(), QString(), number);
    reel->setDCP(dcp);
    dcp->addReel(reel);
    return reel;
}

namespace {
Asset* linkAsset(Reel* reel, const QString& uuid, const QString& hash, quint64 size, const QString& url)
{
    DCP* dcp = reel->getDCP();
    auto* asset = new Asset(uuid, hash, size, QStringLiteral("application/mxf"),
                            QStringLiteral(".") + uuid + QStringLiteral(".mxf"), url);
    asset->setDCP(dcp);
    asset->addReel(reel);
    reel->addAsset(asset);
    if (!dcp->getAsset(uuid))
        dcp->addAsset(asset);
    return asset;
}
} // namespace

Asset* TestSandbox::addAsset(Reel* reel, const QString& uuid, const QString& relativePath,
                             const QByteArray& content)
{
    writeFile(server.assetRoot() + QLatin1Char('/') + relativePath, content);
    return addAssetAt(reel, uuid, server.assetUrl(relativePath).toString(), content);
}

Asset* TestSandbox::addAssetAt(Reel* reel, const QString& uuid, const QString& url, const QByteArray& content)
{
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toBase64());
    return linkAsset(reel, uuid, hash, quint64(content.size()), url);
}

Asset* TestSandbox::addAssetOfSize(Reel* reel, const QString& uuid, quint64 size, const QString& hash)
{
    return linkAsset(reel, uuid, hash, size, QStringLiteral("http://127.0.0.1:9/") + uuid);
}

void TestSandbox::share(Asset* asset, Reel* reel)
{
    asset->addReel(reel);
    reel->addAsset(asset);
}

void TestSandbox::store(DCP* dcp)
{
    dcp->syncToDatabase(catalogue());
    catalogue()->addDCP(dcp);
}

void TestSandbox::publish(DCP* dcp)
{
    engine();
    store(dcp);
    engine()->assetsChanged();
}

void TestSandbox::markVerified(Asset* asset)
{
    asset->setDownloadFinished(true);
    asset->setDownloadChecksummed(true);
    DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
    DatabaseManager::getInstance()->recordVerifiedFile(asset, FileIdentity::of(asset->getFullPath()));
}

QString TestSandbox::writePackage(const QByteArray& bytes, const QString& name) const
{
    const QString path = packages() + QLatin1Char('/') + name;
    writeFile(path, bytes);
    return path;
}

QString TestSandbox::writePackage(const QJsonObject& document, const QString& name) const
{
    return writePackage(encryptPackage(QJsonDocument(document).toJson(QJsonDocument::Compact)), name);
}

void TestSandbox::import(const QString& path, const QByteArray& key)
{
    const ImportTarget target{*catalogue(), volumes(), [this] { assetsAdded(); },
                              [this](const QList<Asset*>& files) {
                                  engine()->keepFiles(files);
                              }};
    DCPXMLReader reader(QString::fromUtf8(key.isEmpty() ? testKey() : key), target);
    reader.loadPackage(path);
}

QMap<QString, QByteArray> TestSandbox::snapshot() const
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("orvdownloader")) || path.endsWith(QLatin1String("debug.log")))
            continue;
        out.insert(path.mid(root().size()), it.fileInfo().isFile() ? readFile(path) : QByteArray("<dir>"));
    }
    return out;
}

QList<StandInServer::JournalEntry> TestSandbox::requestsFor(const QString& relativePath) const
{
    return server.journalFor(QStringLiteral("/assets/") + relativePath);
}

QStringList TestSandbox::rangesFor(const QString& relativePath) const
{
    QStringList ranges;
    for (const auto& entry : requestsFor(relativePath))
        ranges << QString::fromLatin1(entry.range);
    return ranges;
}

int TestSandbox::scalar(const QString& sql)
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

int TestSandbox::rowCount(const QString& table, const QString& where)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                  (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
}

bool TestSandbox::exec(const QString& sql)
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    return query.exec(sql);
}

QList<int> TestSandbox::events(const Reel* reel)
{
    QList<int> found;
    QSqlQuery query = DatabaseManager::getInstance()->getReelNotificationsQuery(reel->getUuid());
    while (query.next())
        found << query.value(QStringLiteral("event")).toInt();
    return found;
}

QByteArray patternBytes(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 509 + seed * 17) & 0xFF);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
