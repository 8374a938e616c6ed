// The engine without its window, over a store in a folder, as the program runs after a start:
// the catalogue loads, the downloads left by the last exit resume, the journal is sent. Used
// by bench/kill9_smallfiles.sh, which kills it with SIGKILL at random moments and starts it
// again, then asks it to check the folder.
//
//   bench_download_restart --folder F --server-root R --base-url URL [--reels 10]
//       Adds a DCP of every file below R (served at URL/assets/<name>) on the first start,
//       then runs until every file is verified and revealed and every event acknowledged;
//       exit code 0 then.
//   bench_download_restart --folder F --server-root R --check
//       Prints what the store and the drive hold and exits with 0 only when every file is
//       there at its size and digest, verified and revealed, and every event of every reel is
//       acknowledged exactly once (one acknowledged row per reel and event, none waiting).
//
// The journal is sent every 100 ms instead of every 5 s, so that a run does not take minutes
// waiting for the service; nothing else differs from the program's engine.

#include "app/AppContext.h"
#include "core/UserPrompt.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>
#include <QTimer>

#include <cstdio>

namespace {

const QString kDcpUuid = QStringLiteral("restart-dcp");

QString digestOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toBase64());
}

QStringList serverFiles(const QString& root)
{
    return QDir(root).entryList(QDir::Files, QDir::Name);
}

void addDcp(AppContext& context, const QString& folder, const QString& root, const QString& baseUrl,
            int reelCount)
{
    const QStringList names = serverFiles(root);
    auto* dcp =
        new DCP(kDcpUuid, kDcpUuid, QString(), folder + QStringLiteral("/downloads"), &context.store());
    dcp->setFriendlyTitle(QStringLiteral("Small files"));
    QList<Reel*> reels;
    for (int r = 0; r < reelCount; ++r) {
        auto* reel = new Reel(kDcpUuid + QStringLiteral("-reel-%1").arg(r), unsigned(r + 1));
        reel->setDCP(dcp);
        dcp->addReel(reel);
        reels.append(reel);
    }
    for (int i = 0; i < names.size(); ++i) {
        const QString path = root + QLatin1Char('/') + names.at(i);
        auto* asset =
            new Asset(kDcpUuid + QStringLiteral("-asset-%1").arg(i), digestOf(path),
                      quint64(QFileInfo(path).size()), QStringLiteral("image/png"),
                      QStringLiteral(".") + names.at(i), baseUrl + QStringLiteral("/assets/") + names.at(i));
        Reel* reel = reels.at(i * reelCount / names.size());
        asset->setDCP(dcp);
        asset->addReel(reel);
        reel->addAsset(asset);
        dcp->addAsset(asset);
    }
    dcp->syncToDatabase(&context.catalogue());
    context.catalogue().addDCP(dcp);
    context.engine().assetsChanged();
}

bool everythingDone(DCPManager& catalogue, DatabaseManager& store)
{
    DCP* dcp = catalogue.getDCP(kDcpUuid);
    if (!dcp)
        return false;
    for (const Asset* asset : dcp->getAssets())
        if (!asset->getDownloadChecksummed() || asset->getOriginalFileName().startsWith(QLatin1Char('.')))
            return false;
    QSqlQuery waiting = store.getNotificationQuery();
    return !waiting.next();
}

int check(const QString& folder, const QString& root)
{
    AppContext context(folder);
    DatabaseManager& store = context.store();
    int problems = 0;
    const QStringList names = serverFiles(root);
    QSqlQuery assets(store.db);
    assets.exec(
        QStringLiteral("SELECT original_filename, size, hash, download_finished, download_checksummed, "
                       "download_corrupted FROM asset WHERE dcp_uuid = '%1'")
            .arg(kDcpUuid));
    int count = 0, verified = 0, revealed = 0, whole = 0;
    while (assets.next()) {
        ++count;
        const QString name = assets.value(0).toString();
        const QString path = folder + QStringLiteral("/downloads/") + kDcpUuid + QLatin1Char('/') + name;
        const bool ok = assets.value(3).toBool() && assets.value(4).toBool() && !assets.value(5).toBool();
        verified += ok ? 1 : 0;
        revealed += name.startsWith(QLatin1Char('.')) ? 0 : 1;
        const bool intact = QFileInfo(path).size() == assets.value(1).toLongLong() &&
                            digestOf(path) == assets.value(2).toString();
        whole += intact ? 1 : 0;
        if (!ok || !intact || name.startsWith(QLatin1Char('.'))) {
            std::printf("  file %s: %s%s\n", qPrintable(name), ok ? "verified" : "NOT verified",
                        intact ? "" : ", NOT whole on the drive");
            ++problems;
        }
    }
    if (count != names.size()) {
        std::printf("  %d assets in the store for %d files on the server\n", count, int(names.size()));
        ++problems;
    }
    std::printf("files: %d in the store, %d verified, %d revealed, %d whole at their size and digest\n",
                count, verified, revealed, whole);

    // Events: one acknowledged row per reel, event and state of the reel's files, none waiting.
    QSqlQuery events(store.db);
    events.exec(
        QStringLiteral("SELECT reel_uuid, event, reel_assets_hash, SUM(synced != 0), SUM(synced = 0) FROM "
                       "notification GROUP BY reel_uuid, event, reel_assets_hash"));
    int kinds = 0, acknowledgedOnce = 0;
    QMap<QString, int> perReel;
    while (events.next()) {
        ++kinds;
        perReel[events.value(0).toString()] += 1;
        const int synced = events.value(3).toInt();
        const int waiting = events.value(4).toInt();
        if (synced == 1 && waiting == 0) {
            ++acknowledgedOnce;
        } else {
            std::printf("  reel %s event %d: %d acknowledged rows, %d waiting\n",
                        qPrintable(events.value(0).toString()), events.value(1).toInt(), synced, waiting);
            ++problems;
        }
    }
    std::printf("events: %d (reel, event) pairs over %d reels, %d acknowledged exactly once\n", kinds,
                int(perReel.size()), acknowledgedOnce);
    for (auto it = perReel.cbegin(); it != perReel.cend(); ++it)
        if (it.value() < 3) {
            std::printf("  reel %s has only %d kinds of event\n", qPrintable(it.key()), it.value());
            ++problems;
        }
    std::printf("%s\n", problems == 0 ? "CONSISTENT" : "PROBLEMS FOUND");
    return problems == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("folder"), QStringLiteral("Store and downloads."), QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("server-root"), QStringLiteral("The served files."), QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("base-url"), QStringLiteral("The stand-in's address."), QStringLiteral("url")});
    parser.addOption({QStringLiteral("reels"), QStringLiteral("Reels of the DCP."), QStringLiteral("n"),
                      QStringLiteral("10")});
    parser.addOption({QStringLiteral("check"), QStringLiteral("Check the folder and exit.")});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("folder"));
    const QString root = parser.value(QStringLiteral("server-root"));
    if (folder.isEmpty() || root.isEmpty())
        parser.showHelp(2);
    qputenv("ORV_NOTIFY_URL", parser.value(QStringLiteral("base-url")).toUtf8());
    qputenv("ORV_PORTAL_URL", parser.value(QStringLiteral("base-url")).toUtf8() + "/");
    UserPrompt::setResponder([](const PromptRequest& request) {
        std::fprintf(stderr, "prompt: %s %s\n", qPrintable(request.text),
                     qPrintable(request.informativeText));
        PromptAnswer answer;
        answer.button = Prompt::Ok;
        return answer;
    });
    if (parser.isSet(QStringLiteral("check")))
        return check(folder, root);

    QDir().mkpath(folder + QStringLiteral("/downloads"));
    AppContext context(folder);
    context.notifications().setConsumerInterval(100);
    context.engine().setLimitOff(true);
    if (!context.catalogue().getDCP(kDcpUuid))
        addDcp(context, folder, root, parser.value(QStringLiteral("base-url")),
               parser.value(QStringLiteral("reels")).toInt());

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        if (everythingDone(context.catalogue(), context.store()))
            app.quit();
    });
    poll.start(50);
    return app.exec();
}
