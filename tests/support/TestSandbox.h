#pragma once

#include "StandInServer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class AppContext;
class Asset;
class DCP;
class DCPManager;
class DownloadManager;
class NotificationManager;
class Reel;
class VolumeInfo;

// One test's world in a temporary folder: the program's managers built by their own
// context on a fresh store (destroyed with the sandbox), the DCP download folder, a folder
// for package files and, when asked for, the stand-in server with the service addresses
// pointed at it and asset files served from <root>/server. The catalogue loads at once (and
// after a restart, on first use); the engine and the notification queue on first use, with
// shortened timers (stall 400 ms, worker poll 20 ms, notification interval as given); the
// product keeps its own values.
//
// Objects built here (DCP, Reel, Asset) belong to the catalogue once stored; newDCP()
// objects that never are go with the sandbox.
class TestSandbox
{
public:
    enum Option
    {
        StoreOnly = 0,
        WithServer = 1
    };

    explicit TestSandbox(Option option = StoreOnly);
    ~TestSandbox();
    TestSandbox(const TestSandbox&) = delete;
    TestSandbox& operator=(const TestSandbox&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString downloads() const { return root() + QStringLiteral("/downloads"); }
    QString packages() const { return root() + QStringLiteral("/packages"); }

    // A new start of the program on the same store and folders. When the engine was in use
    // it is built again (its timers short), loading the catalogue first; otherwise the
    // catalogue loads when the test first asks for it.
    void restart();

    AppContext& context() const { return *m_context; }
    DCPManager* catalogue() const;
    VolumeInfo& volumes() const;
    DownloadManager* engine();
    NotificationManager* notifications(int intervalMs);
    int stallMs = 400;

    // How often an import told the download engine that assets changed. Imports reach a
    // real engine only once engine() was called.
    int engineNotifications = 0;

    // --- Catalogue objects, linked as the importer links them ---
    // A DCP with a friendly title, a user and a campaign, downloading to downloadPath.
    DCP* newDCP(const QString& uuid, const QString& title, const QString& downloadPath);
    // The same, downloading into downloads().
    DCP* makeDCP(const QString& uuid, const QString& title) { return newDCP(uuid, title, downloads()); }
    static Reel* addReel(DCP* dcp, const QString& uuid, unsigned number);
    // An asset whose file the stand-in serves at "<relativePath>" with the given content.
    Asset* addAsset(Reel* reel, const QString& uuid, const QString& relativePath, const QByteArray& content);
    // An asset fetched from any address, expected to hold content.
    static Asset* addAssetAt(Reel* reel, const QString& uuid, const QString& url, const QByteArray& content);
    // An asset known only by size and digest, at an address nothing answers.
    static Asset* addAssetOfSize(Reel* reel, const QString& uuid, quint64 size,
                                 const QString& hash = QString());
    // Links an existing asset to one more reel of its DCP, as a shared file.
    static void share(Asset* asset, Reel* reel);
    // The asset stored as downloaded and verified, its file on disk (whatever it holds) taken
    // as the one whose digest passed, as the checksum worker records it.
    static void markVerified(Asset* asset);
    // Stores the DCP and files it in the catalogue, as the import does, without telling
    // the engine.
    void store(DCP* dcp);
    // Stores the DCP and lets the engine rebuild its queue.
    void publish(DCP* dcp);

    // --- Packages ---
    QString writePackage(const QByteArray& bytes, const QString& name = QStringLiteral("p.orvdcp")) const;
    QString writePackage(const QJsonObject& document, const QString& name = QStringLiteral("p.orvdcp")) const;
    // Imports a package file as the window's open action does.
    void import(const QString& path, const QByteArray& key = QByteArray());
    // Every file and folder under the sandbox except the store and the log, with contents.
    QMap<QString, QByteArray> snapshot() const;

    // --- The stand-in server (WithServer only) ---
    StandInServer server;
    QList<StandInServer::JournalEntry> requestsFor(const QString& relativePath) const;
    QStringList rangesFor(const QString& relativePath) const;

    // --- The store, read with plain SQL on its own connection ---
    static int scalar(const QString& sql);
    static int rowCount(const QString& table, const QString& where = QString());
    static bool exec(const QString& sql);
    // Events the notification queue holds for a reel, in the order they were raised.
    static QList<int> events(const Reel* reel);

private:
    void startProgram();
    void assetsAdded();

    QTemporaryDir m_dir;
    std::unique_ptr<AppContext> m_context;
    std::vector<std::unique_ptr<DCPManager>> m_earlier; // catalogues of earlier starts
    bool m_engineCreated = false;
    // DCPs made here; those the catalogue never took are freed with the sandbox.
    QList<DCP*> m_made;
};

// Deterministic content that differs per seed, so a byte written at the wrong offset
// always shows in the digest.
QByteArray patternBytes(int size, int seed = 0);
bool writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);
