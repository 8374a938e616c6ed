#pragma once

#include "DcpDescription.h"
#include "PackageWriter.h"
#include "SampleDcp.h"
#include "app/UserPrompt.h"
#include "import/DCPXMLReader.h"
#include "import/VolumeInfo.h"
#include "model/DCPManager.h"
#include "storage/DatabaseManager.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>

// Decoding key of every test package (exactly 32 bytes) and a user UUID of 36 characters.
inline QByteArray testKey()
{
    return QByteArrayLiteral("0123456789abcdef0123456789ABCDEF");
}
inline QString testUser()
{
    return QStringLiteral("11111111-2222-3333-4444-555555555555");
}

// Records the links the program hands to the desktop instead of opening a browser.
class UrlRecorder : public PromptPresenter
{
public:
    UrlRecorder() : m_previous(UserPrompt::presenter()) { UserPrompt::setPresenter(this); }
    ~UrlRecorder() override { UserPrompt::setPresenter(m_previous); }
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    QList<QUrl> opened;

    // Questions are the scripted responder's; one that reaches here gets the default answer.
    PromptAnswer ask(const PromptRequest& request) override
    {
        PromptAnswer answer;
        if (request.kind == PromptRequest::Message)
            answer.button = request.defaultButton != Prompt::NoButton ? request.defaultButton : Prompt::Ok;
        return answer;
    }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }

private:
    PromptPresenter* const m_previous;
};

// Everything a test imports into: a fresh store and catalogue, a folder for package
// files and a download folder, all inside one temporary folder.
class ImportSandbox
{
public:
    ImportSandbox()
    {
        DatabaseManager::resetForTesting(m_dir.path());
        DCPManager::resetForTesting();
        QDir().mkpath(packages());
        QDir().mkpath(downloads());
        DCPXMLReader::setEngineNotifierForTesting([this] { ++engineNotifications; });
    }
    ~ImportSandbox()
    {
        DCPXMLReader::setEngineNotifierForTesting(nullptr);
        VolumeInfo::setAvailableBytesOverride(nullptr);
        VolumeInfo::setFileSystemTypeOverride(nullptr);
        DCPManager::resetForTesting();
        DatabaseManager::resetForTesting(QString());
    }
    ImportSandbox(const ImportSandbox&) = delete;
    ImportSandbox& operator=(const ImportSandbox&) = delete;

    QString root() const { return m_dir.path(); }
    QString packages() const { return m_dir.path() + QStringLiteral("/packages"); }
    // The folder the tests choose in the folder dialog.
    QString downloads() const { return m_dir.path() + QStringLiteral("/drive/downloads"); }

    QString writePackage(const QByteArray& bytes, const QString& name = QStringLiteral("p.orvdcp"))
    {
        const QString path = packages() + QLatin1Char('/') + name;
        PackageWriter::writeBytes(path, bytes);
        return path;
    }
    QString writePackage(const QJsonObject& document, const QString& name = QStringLiteral("p.orvdcp"))
    {
        return writePackage(
            PackageWriter::encrypt(testKey(), QJsonDocument(document).toJson(QJsonDocument::Compact)), name);
    }

    static void import(const QString& path, const QByteArray& key = testKey())
    {
        DCPXMLReader reader(QString::fromUtf8(key));
        reader.loadPackage(path);
    }

    // Every file and folder under the sandbox except the store, with file contents.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> out;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains(QLatin1String("orvdownloader")) || path.endsWith(QLatin1String("debug.log")))
                continue;
            QFile file(path);
            out.insert(path.mid(m_dir.path().size()), it.fileInfo().isFile() && file.open(QIODevice::ReadOnly)
                                                          ? file.readAll()
                                                          : QByteArray("<dir>"));
        }
        return out;
    }

    static int count(const QString& table)
    {
        QSqlQuery query(DatabaseManager::getInstance()->db);
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !query.next())
            return -1;
        return query.value(0).toInt();
    }

    int engineNotifications = 0;

private:
    QTemporaryDir m_dir;
};

inline DcpDescription sampleDcp(const SampleDcp::Options& options)
{
    DcpDescription d;
    SampleDcp::generate(options, QString(), &d);
    return d;
}

inline SampleDcp::Options sampleOptions(quint32 seed, int reels = 1, const QString& title = QString())
{
    SampleDcp::Options o;
    o.seed = seed;
    o.reels = reels;
    o.title = title.isEmpty() ? QStringLiteral("Sample_%1").arg(seed) : title;
    o.pictureSize = 4096;
    o.soundSize = 1024;
    return o;
}

inline QJsonObject packageEntry(const DcpDescription& d, const QList<int>& reels, int campaign = 7)
{
    PackageWriter::EntryOptions e;
    e.reels = reels;
    e.campaignDcpId = campaign;
    e.friendlyTitle = QStringLiteral("Friendly ") + d.title;
    e.assetBaseUrl = QStringLiteral("http://127.0.0.1:9/assets/");
    return PackageWriter::entry(d, e);
}

inline QJsonObject packageDocument(const QList<QJsonObject>& entries, qint64 projectSize = 1000)
{
    QJsonArray dcps;
    for (const QJsonObject& e : entries)
        dcps.append(e);
    return PackageWriter::document(testUser(), dcps, projectSize);
}
