#pragma once

#include "StandInServer.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// Deterministic content that differs per seed, so a byte written at the wrong offset
// always shows in the digest.
inline QByteArray patternBytes(int size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 509 + seed * 17) & 0xFF);
    return bytes;
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& data)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// One test's world: a temporary folder with the store and the DCP folders, the stand-in
// server serving asset files from it, and every singleton fresh. The engine's timers are
// shortened (stall 400 ms, worker poll 20 ms); the 20 ms read tick keeps its value.
class DownloadSandbox
{
public:
    DownloadSandbox()
    {
        server.listen();
        server.setAssetRoot(dir.path() + QStringLiteral("/server"));
        QDir().mkpath(server.assetRoot());
        qputenv("ORV_NOTIFY_URL", server.notificationBaseUrl().toUtf8());
        qputenv("ORV_PORTAL_URL", server.portalBaseUrl().toUtf8());
        resetAll();
        DatabaseManager::resetForTesting(dir.path());
    }
    ~DownloadSandbox() { resetAll(); }
    DownloadSandbox(const DownloadSandbox&) = delete;
    DownloadSandbox& operator=(const DownloadSandbox&) = delete;

    QString downloads() const { return dir.path() + QStringLiteral("/downloads"); }

    // The engine with shortened timers (created on first use).
    DownloadManager* engine()
    {
        const bool fresh = !created;
        DownloadManager* e = DownloadManager::getInstance();
        if (fresh) {
            e->setTimeoutInterval(stallMs);
            e->getChecksumWorker()->setPollInterval(20);
            created = true;
        }
        return e;
    }

    DCP* makeDCP(const QString& uuid, const QString& title)
    {
        auto* dcp = new DCP(uuid, title, QStringLiteral("http://127.0.0.1/image.png"), downloads());
        dcp->setFriendlyTitle(title + QStringLiteral(" (friendly)"));
        dcp->setUserUUID(QStringLiteral("user-1"));
        dcp->setCampaignDCPId(77);
        return dcp;
    }

    Reel* addReel(DCP* dcp, const QString& uuid, unsigned number)
    {
        auto* reel = new Reel(uuid, QString(), QString(), QString(), number);
        reel->setDCP(dcp);
        dcp->addReel(reel);
        return reel;
    }

    // An asset whose file the server holds at "<relativePath>" with the given content.
    Asset* addAsset(Reel* reel, const QString& uuid, const QString& relativePath, const QByteArray& content)
    {
        writeAll(server.assetRoot() + QLatin1Char('/') + relativePath, content);
        return addAssetAt(reel, uuid, server.assetUrl(relativePath).toString(), content);
    }

    // An asset fetched from any address, expected to hold content.
    Asset* addAssetAt(Reel* reel, const QString& uuid, const QString& url, const QByteArray& content)
    {
        DCP* dcp = reel->getDCP();
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toBase64());
        auto* asset = new Asset(uuid, hash, quint64(content.size()), QStringLiteral("application/mxf"),
                                QStringLiteral(".") + uuid + QStringLiteral(".mxf"), url);
        asset->setDCP(dcp);
        asset->addReel(reel);
        reel->addAsset(asset);
        if (!dcp->getAsset(uuid))
            dcp->addAsset(asset);
        return asset;
    }

    // Links an existing asset to one more reel of its DCP, as a shared file.
    static void share(Asset* asset, Reel* reel)
    {
        asset->addReel(reel);
        reel->addAsset(asset);
    }

    // Stores the DCP and files it in the catalogue, as the import flow does, without
    // telling the engine.
    void store(DCP* dcp)
    {
        dcp->syncToDatabase();
        DCPManager::getInstance()->addDCP(dcp);
    }

    // Stores the DCP and lets the engine rebuild its queue.
    void publish(DCP* dcp)
    {
        engine();
        store(dcp);
        DownloadManager::getInstance()->assetsChanged();
    }

    // A new start of the program on the same store and folders: the engine is created
    // first (so its timers can be shortened), then the catalogue loads and queues.
    void restart()
    {
        resetAll();
        DatabaseManager::resetForTesting(dir.path());
        engine();
        DCPManager::getInstance();
    }

    QList<StandInServer::JournalEntry> requestsFor(const QString& relativePath) const
    {
        return server.journalFor(QStringLiteral("/assets/") + relativePath);
    }

    QStringList rangesFor(const QString& relativePath) const
    {
        QStringList ranges;
        for (const auto& entry : requestsFor(relativePath))
            ranges << QString::fromLatin1(entry.range);
        return ranges;
    }

    // Events the notification queue holds for a reel, in the order they were raised.
    static QList<int> events(const Reel* reel)
    {
        QList<int> found;
        QSqlQuery query = DatabaseManager::getInstance()->getReelNotificationsQuery(reel->getUuid());
        while (query.next())
            found << query.value(QStringLiteral("event")).toInt();
        return found;
    }

    static int rows(const QString& sql)
    {
        QSqlQuery query(DatabaseManager::getInstance()->db);
        if (!query.exec(sql) || !query.next())
            return -1;
        return query.value(0).toInt();
    }

    QTemporaryDir dir;
    StandInServer server;
    int stallMs = 400;

private:
    void resetAll()
    {
        DownloadManager::resetForTesting();
        NotificationManager::resetForTesting();
        DCPManager::resetForTesting();
        Setting::resetForTesting();
        DatabaseManager::resetForTesting(QString());
        created = false;
    }

    bool created = false;
};
