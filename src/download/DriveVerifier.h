#pragma once

#include "download/DcpIngestCheck.h"
#include "model/DCP.h"
#include "notify/NotificationType.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class Asset;
class QThread;

// "Check drive" on a DCP's details page: reads every file of a completed DCP back from the
// drive on a thread of its own and tells whether the drive is ready for the cinema, or what
// is wrong. A file found corrupted or missing marks its asset and reel corrupted, in memory
// and in the store, until it was downloaded again and verified; its finding leaves the list
// then. Damaged files are sent back to the download queue from here.
class DriveVerifier : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* dcp READ dcpObject NOTIFY changed)
    Q_PROPERTY(bool running READ isRunning NOTIFY changed)
    Q_PROPERTY(double progress READ getProgress NOTIFY progressChanged)
    Q_PROPERTY(QString remaining READ getRemaining NOTIFY progressChanged)
    Q_PROPERTY(QString result READ getResult NOTIFY changed)
    // The findings of the last check that are not mended yet.
    Q_PROPERTY(QStringList problems READ getProblems NOTIFY changed)

public:
    // requeue: hands an asset back to the download engine as a corrupted re-download;
    // events: journals what the user sent back for the notification service.
    DriveVerifier(std::function<void(Asset*)> requeue, ReelEventSink events, QObject* parent = nullptr);
    ~DriveVerifier() override;

    // Every reel completed (verified, reported, visible) and the drive there.
    Q_INVOKABLE bool canCheck(QObject* dcp) const;
    Q_INVOKABLE void start(QObject* dcp);
    Q_INVOKABLE void cancel();
    // Files of the DCP marked corrupted (by a check, or by failed downloads) that a new
    // download mends, and sending them back to the queue.
    Q_INVOKABLE int damagedCount(QObject* dcp) const;
    Q_INVOKABLE void redownloadDamaged(QObject* dcp);

    QObject* dcpObject() const;
    bool isRunning() const { return thread != nullptr; }
    double getProgress() const { return progress; }
    QString getRemaining() const { return remaining; }
    QString getResult() const { return result; }
    QStringList getProblems() const;

    // Where the drive's facts are read (tests point it at fixtures).
    void setDriveRoots(const DriveProbe::Roots& roots) { driveRoots = roots; }

    // Blocks until the running check ended (tools and tests).
    void wait();

signals:
    void changed();
    void progressChanged();
    void finished();

private:
    void onProgress(quint64 done, quint64 total);
    void onFinished(const DcpIngestCheck::Result& outcome);
    // Marks the assets corrupted in memory and in the store, and tells their reels.
    void markDamaged(DCP* dcp, const QStringList& uuids);
    // Every file the finding names is in the DCP, downloaded again and verified.
    bool isMended(const DcpIngestCheck::Finding& finding) const;
    // The headline for the findings still open.
    void updateResult();

    std::function<void(Asset*)> requeue;
    ReelEventSink events;
    QPointer<DCP> checked;
    QThread* thread = nullptr;
    std::shared_ptr<std::atomic<bool>> cancelFlag;
    QElapsedTimer clock;
    double progress = 0;
    QString remaining;
    QString result;
    QString readyResult;               // the headline when the check found nothing
    QMetaObject::Connection following; // the checked DCP's status, for mended findings
    DcpIngestCheck::Result last;
    DriveProbe::Roots driveRoots;
};
