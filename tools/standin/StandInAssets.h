#pragma once

#include "StandInServer.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QUrl>

class StandInConnection;

// The stand-in's asset servers: files below a root, or data held in memory, at
// "/assets/<relative path>", with Range, and the fault modes set for each asset.
//
// Faults of an asset are counted when they happen on the wire, not when an answer is
// planned: a request the client drops before the point of the fault uses none up. Every
// member may be called from any thread; answer() from the thread of the connection.
class StandInAssets
{
public:
    using AssetFault = StandInServer::AssetFault;
    using JournalEntry = StandInServer::JournalEntry;
    using RedirectStyle = StandInServer::RedirectStyle;

    enum class FaultKind
    {
        Delivery,
        Drop,
        Stall,
        Corruption
    };

    // "/assets/": the paths this class answers start with it.
    static QString pathPrefix();
    // base + "/assets/" + relativePath (percent-encoded).
    static QUrl urlOf(const QUrl& base, const QString& relativePath);
    // See StandInServer::parseAssetFault().
    static bool parseFault(const QString& text, AssetFault* fault, QString* error);

    void setRoot(const QString& dir);
    QString root() const;
    void setData(const QString& relativePath, const QByteArray& data);
    void setFault(const QString& relativePath, const AssetFault& fault);
    void clearFault(const QString& relativePath);
    void clearAllFaults();
    int deliveries(const QString& relativePath) const;

    // Counts a fault of asset as it happens; false when it is used up (by another request).
    bool claimFault(const QString& asset, FaultKind kind);
    // Gives back a fault claimed for a client that went away before it got that far.
    void refundFault(const QString& asset, FaultKind kind);

    // Answers a GET or HEAD of pathPrefix() + <relative path>; base is the server's address,
    // for absolute redirects.
    void answer(StandInConnection* connection, const JournalEntry& request, const QUrl& base);

private:
    struct AssetState
    {
        AssetFault fault;
        int deliveries = 0;
        int statusAnswers = 0;
        int drops = 0;
        int stalls = 0;
        int corruptions = 0;
        int overruns = 0;
    };

    mutable QMutex mutex;
    QString rootDir;
    QHash<QString, QByteArray> data;
    QHash<QString, AssetState> states;
};
