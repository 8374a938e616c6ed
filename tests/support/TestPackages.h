#pragma once

#include "DcpDescription.h"
#include "SampleDcp.h"
#include "core/UserPrompt.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>

// Decoding key of every test package (exactly 32 bytes) and a user UUID of 36 characters.
QByteArray testKey();
QString testUser();
// A package file's bytes: the plaintext encrypted with the test key.
QByteArray encryptPackage(const QByteArray& plaintext);

// Small sample DCPs (4 KiB pictures, 1 KiB sounds) whose contents follow the seed.
SampleDcp::Options sampleOptions(quint32 seed, int reels = 1, const QString& title = QString());
DcpDescription sampleDcp(const SampleDcp::Options& options);
// One package entry for the chosen reels, its assets at an address nothing answers.
QJsonObject packageEntry(const DcpDescription& d, const QList<int>& reels, int campaign = 7);
QJsonObject packageDocument(const QList<QJsonObject>& entries, qint64 projectSize = 1000);

// Records the links the program hands to the desktop instead of opening a browser.
class UrlRecorder : public PromptPresenter
{
public:
    UrlRecorder();
    ~UrlRecorder() override;
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    QList<QUrl> opened;

    // Questions are the scripted responder's; one that reaches here gets the default answer.
    PromptAnswer ask(const PromptRequest& request) override;
    bool openUrl(const QUrl& url) override;

private:
    PromptPresenter* const m_previous;
};
