#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class Asset;
class DCP;
class DCPXMLReaderException;
class Reel;

// Imports one package file: decrypts it, checks its version and user, asks for a
// download folder, turns each DCP entry's XML documents into Reel and Asset objects,
// writes the DCP folder with its XML files, and files the result in the store and the
// catalogue. Every outcome is told to the user inside loadPackage.
class DCPXMLReader
{
public:
    explicit DCPXMLReader(const QString& decodingKey);
    // Frees the objects of the last entry that the catalogue did not take over.
    ~DCPXMLReader();
    DCPXMLReader(const DCPXMLReader&) = delete;
    DCPXMLReader& operator=(const DCPXMLReader&) = delete;

    // The format version this program reads.
    static constexpr int PackageVersion = 20170613;
    // Larger files are not packages (those carry only XML), so they are never read in.
    static constexpr qint64 MaxPackageFileSize = 64 * 1024 * 1024;

    // Runs the whole import of one package file; every outcome is reported to the user inside.
    void loadPackage(const QString& path);

    bool isEnoughDiskSpace(const QString& path, qint64 size);
    void syncToDatabase();
    bool createDCPDirectory();
    bool createDCPXMLFiles();
    QStringList getConflictingFiles() const;
    bool removeConflictingFiles();

    // The per-entry steps, in the order loadPackage runs them.
    void clearAll();
    bool parseAssetMapXML(const QString& xml);
    bool loadCPLXML(const QString& xml);
    bool loadPKLXML(const QString& xml);
    void mapPKLToCPL();
    void mapDownloadLinks();
    void mapAssetMapXML();

    void addReel(Reel* reel);
    void addAsset(Asset* asset);
    Asset* getAsset(const QString& uuid, const QString& cplUuid) const;

    const QList<Reel*>& getReels() const { return reels; }
    const QList<Asset*>& getAssets() const { return assets; }
    DCP* getCurrentDCP() const { return current_dcp; }
    QString getCPLUuid() const { return cpl_uuid; }
    QString getCPLTitle() const { return cpl_title; }

    // The reels a package entry selects, as 1-based positions in the CPL.
    void setReelSelection(const QJsonArray& selection) { reels_selection = selection; }
    // The entry's download links: [asset uuid, address] pairs.
    void setAssetLinks(const QJsonArray& links) { asset_links = links; }
    void setDownloadPath(const QString& path) { download_path = path; }

    // Tests: replaces the call that hands new work to the download engine. An empty
    // function restores the engine.
    static void setEngineNotifierForTesting(std::function<void()> notifier);

private:
    void importPackage(const QByteArray& content);
    // Stage A: the download folder for the DCPs the catalogue does not know; false ends the import.
    bool chooseDownloadFolder(const QJsonArray& dcps, const QJsonObject& root);
    // Stage B for one entry; false ends the import without a further message.
    bool importEntry(const QJsonObject& entry);
    // Refuses entries whose texts would reach outside the DCP folder or the web.
    bool entryIsSafe(const QJsonObject& entry) const;
    bool driveCanHoldEntry();
    QList<Asset*> assetsAddedByEntry() const;
    void storeNewDCP();
    void mergeInto(DCP* known);
    // Takes assets that a failed write had already registered out of the catalogue again.
    void forgetUnstoredAssets(const QList<Asset*>& candidates) const;
    void adopt(const QList<Reel*>& adoptedReels);
    void releaseEntryObjects();
    void notifyDownloadEngine();
    void showPackageError(const DCPXMLReaderException& error) const;
    QString dcpFolder() const;

    QString decodingKey;

    // Package values
    QString user_uuid;
    QString download_folder;
    qint64 project_size = 0;

    // Values of the current entry
    QJsonArray reels_selection;
    QJsonArray asset_links;
    unsigned long long campaign_dcp_id = 0;
    QString friendly_title;
    QByteArray cpl_xml;
    QString cpl_xml_name;
    QByteArray pkl_xml;
    QString pkl_xml_name;
    QByteArray asset_map_xml;
    QByteArray volindex_xml;
    QString image_url;
    QString download_path;

    // Working collections of the current entry
    QString cpl_uuid;
    QString cpl_title;
    QList<Reel*> reels;
    QMap<QString, Reel*> reels_by_id;
    QList<Asset*> assets;
    QMap<QPair<QString, QString>, Asset*> assets_by_key;
    QDomDocument asset_map_document;
    QMap<QString, QDomElement> asset_map_entries;
    DCP* current_dcp = nullptr;
    // Objects of the current entry that the catalogue took over.
    QSet<const void*> adopted;
};
