#include "TestPackages.h"
#include "PackageWriter.h"
#include "SampleDcp.h"

#include <QJsonArray>

QByteArray testKey()
{
    return QByteArrayLiteral("0123456789abcdef0123456789ABCDEF");
}

QString testUser()
{
    return QStringLiteral("11111111-2222-3333-4444-555555555555");
}

QByteArray encryptPackage(const QByteArray& plaintext)
{
    return PackageWriter::encrypt(testKey(), plaintext);
}

SampleDcp::Options sampleOptions(quint32 seed, int reels, const QString& title)
{
    SampleDcp::Options o;
    o.seed = seed;
    o.reels = reels;
    o.title = title.isEmpty() ? QStringLiteral("Sample_%1").arg(seed) : title;
    o.pictureSize = 4096;
    o.soundSize = 1024;
    return o;
}

DcpDescription sampleDcp(const SampleDcp::Options& options)
{
    DcpDescription d;
    SampleDcp::generate(options, QString(), &d);
    return d;
}

QJsonObject packageEntry(const DcpDescription& d, const QList<int>& reels, int campaign)
{
    PackageWriter::EntryOptions e;
    e.reels = reels;
    e.campaignDcpId = campaign;
    e.friendlyTitle = QStringLiteral("Friendly ") + d.title;
    e.assetBaseUrl = QStringLiteral("http://127.0.0.1:9/assets/");
    return PackageWriter::entry(d, e);
}

QJsonObject packageDocument(const QList<QJsonObject>& entries, qint64 projectSize)
{
    QJsonArray dcps;
    for (const QJsonObject& e : entries)
        dcps.append(e);
    return PackageWriter::document(testUser(), dcps, projectSize);
}

UrlRecorder::UrlRecorder() : m_previous(UserPrompt::presenter())
{
    UserPrompt::setPresenter(this);
}

UrlRecorder::~UrlRecorder()
{
    UserPrompt::setPresenter(m_previous);
}

PromptAnswer UrlRecorder::ask(const PromptRequest& request)
{
    PromptAnswer answer;
    if (request.kind == PromptRequest::Message)
        answer.button = request.defaultButton != Prompt::NoButton ? request.defaultButton : Prompt::Ok;
    return answer;
}

bool UrlRecorder::openUrl(const QUrl& url)
{
    opened.append(url);
    return true;
}
