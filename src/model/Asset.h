#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <memory>

class DatabaseManager;
class DCP;
class DCPManager;
class Reel;
class QFile;

// (asset uuid, DCP uuid): the same asset uuid may appear in several DCPs, so every map
// of assets is keyed by the pair.
using AssetKey = QPair<QString, QString>;

// One file of a DCP. Plain class: the reel, the DCP, the catalogue and the download
// queue all point at the same object; only the catalogue (and a reel removal) destroys it.
class Asset
{
public:
    Asset(const QString& uuid, const QString& hash, quint64 size, const QString& type,
          const QString& original_filename, const QString& download_url);
    ~Asset();
    Asset(const Asset&) = delete;
    Asset& operator=(const Asset&) = delete;

    // Identity
    AssetKey key() const; // (uuid, uuid of the DCP); the DCP must be set
    QString getUuid() const { return uuid; }
    QString getHash() const { return hash; }
    quint64 getSize() const { return size; }
    QString getType() const { return type; }
    QString getOriginalFileName() const { return original_filename; }
    QString getDirectoryPath() const { return directory_path; }
    QString getDownloadUrl() const { return download_url; }
    DCP* getDCP() const { return dcp; }
    const QList<Reel*>& getReels() const { return reels; }

    // Redirect budget of the HTTP transfer; never stored.
    int getRemainingRedirects() const { return remaining_redirects; }
    void setRemainingRedirects(int value) { remaining_redirects = value; }

    // State flags (written by the transfer and the checksum worker thread)
    bool getDownloadStarted() const { return download_started; }
    bool getDownloadFinished() const { return download_finished; }
    bool getDownloadChecksummed() const { return download_checksummed; }
    bool getDownloadCorrupted() const { return download_corrupted; }
    unsigned getDownloadAttempts() const { return download_attempts; }

    void setDCP(DCP* value) { dcp = value; }
    void addReel(Reel* reel) { reels.append(reel); }
    void setOriginalFileName(const QString& value) { original_filename = value; }
    void setDownloadUrl(const QString& value) { download_url = value; }
    void setDirectoryPath(const QString& value) { directory_path = value; }
    void setDownloadAttempts(unsigned value)
    {
        download_attempts = value;
        ++attempts_epoch;
    }
    // Moves on whenever any asset's attempts change: a reel's retry signature computed at an
    // earlier value may be stale.
    static quint64 attemptsEpoch() { return attempts_epoch; }
    void setDownloadStarted(bool value) { download_started = value; }
    void setDownloadFinished(bool value) { download_finished = value; }
    void setDownloadChecksummed(bool value) { download_checksummed = value; }
    void setDownloadCorrupted(bool value) { download_corrupted = value; }

    // Finished, or verified with its verification attempts used up.
    bool isComplete() const;

    QString getFullPath() const;
    QFile* getFileHandle();
    void closeFileHandle();
    quint64 getDownloadedSize() const;

    // Stores the row and the links to its reels in its DCP's store and registers the asset
    // with the catalogue; nothing when the catalogue already holds its key (see
    // DCP::syncToDatabase).
    void syncToDatabase(DCPManager* catalogue);
    bool validateChecksum();
    // Gives the file its visible name. The file is renamed first and the new name is recorded
    // only once the file carries it, so the store never names a file that is not there.
    // Returns false, with the reason, when the file could not be renamed; name and row are
    // then unchanged. Store failures throw.
    bool reveal(QString* reason = nullptr);
    // reveal() for callers that go on with the next file: a store failure becomes the reason.
    bool tryReveal(QString* reason);
    // Whether the name is still the hidden one; with onDisk, also whether the file lies on
    // disk under its hidden name only (a rename that never happened).
    bool isHidden(bool onDisk = false) const;
    // Whether the file a reveal would take (under its hidden name, or already under its final
    // one) is the very file whose digest passed, with the asset's size: a drive swapped for
    // another or a file changed since is not. False without a record of the verified file.
    // Store failures throw.
    bool isVerifiedFileIntact() const;
    void removeFromDb();
    void removeFromFileSystem();

private:
    // The store of the asset's DCP; throws std::runtime_error for an asset without one.
    DatabaseManager& store() const;

    int remaining_redirects = 3;
    QString uuid;
    QString hash;
    quint64 size = 0;
    QString type;
    QString original_filename;
    QString directory_path;
    QString download_url;
    std::atomic<bool> download_started{false};
    std::atomic<bool> download_finished{false};
    std::atomic<bool> download_checksummed{false};
    std::atomic<bool> download_corrupted{false};
    std::atomic<unsigned> download_attempts{0};
    static inline std::atomic<quint64> attempts_epoch{0};
    std::unique_ptr<QFile> file_handle;
    DCP* dcp = nullptr;
    QList<Reel*> reels;
};
