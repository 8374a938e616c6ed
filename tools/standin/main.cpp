// orv-standin: runs StandInServer as a process for the demo, the end-to-end test and
// the benchmarks. Binds 127.0.0.1 only and ends by itself after --exit-after seconds.
#include "StandInServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>

namespace {

int fail(const QString& message)
{
    QTextStream(stderr) << "orv-standin: " << message << '\n';
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orv-standin"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Local stand-in for the OSKAN portal, the notification service and the asset servers.\n"
        "Serves POST /authenticate, GET /versioncheck, /installer/<name>, /notification/dcp,\n"
        "/assets/<path> (files under --asset-root) and a few HTML pages, on 127.0.0.1 only,\n"
        "over HTTPS with --tls-cert and --tls-key."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (0: any free port)."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption portFileOption(QStringLiteral("port-file"),
                                            QStringLiteral("Write the chosen port to this file."),
                                            QStringLiteral("file"));
    const QCommandLineOption exitAfterOption(
        QStringLiteral("exit-after"),
        QStringLiteral("Stop after this many seconds (default 3600, at most 24 days)."),
        QStringLiteral("seconds"), QStringLiteral("3600"));
    const QCommandLineOption rootOption(QStringLiteral("asset-root"),
                                        QStringLiteral("Serve the files below this folder at /assets/."),
                                        QStringLiteral("dir"));
    const QCommandLineOption faultOption(
        QStringLiteral("asset-fault"),
        QStringLiteral(
            "Fault of one asset, \"<relative path>:<items>\", items such as drop=1000,drop-times=-1,"
            "stall=500,stall-seconds=2,ignore-range,status=404,redirects=2,redirect-style=absolute,"
            "range-delta=-10,corrupt=1,throttle=100000,overrun=4096|endless,overrun-in-range. May be "
            "repeated."),
        QStringLiteral("fault"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("Accepted user name."),
                                        QStringLiteral("name"), QStringLiteral("user"));
    const QCommandLineOption passwordOption(QStringLiteral("password"), QStringLiteral("Accepted password."),
                                            QStringLiteral("password"), QStringLiteral("secret"));
    const QCommandLineOption keyOption(
        QStringLiteral("key"), QStringLiteral("Decoding key answered to an accepted login."),
        QStringLiteral("key"), QStringLiteral("0123456789abcdef0123456789abcdef"));
    const QCommandLineOption authModeOption(QStringLiteral("auth-mode"),
                                            QStringLiteral("normal, error (500) or never (no answer)."),
                                            QStringLiteral("mode"), QStringLiteral("normal"));
    const QCommandLineOption versionOption(
        QStringLiteral("version"), QStringLiteral("Version published by /versioncheck (default 20170101)."),
        QStringLiteral("number"), QStringLiteral("20170101"));
    const QCommandLineOption installerOption(
        QStringLiteral("installer"), QStringLiteral("File served as the installer, under its own name."),
        QStringLiteral("file"));
    const QCommandLineOption notifyFailOption(QStringLiteral("notify-fail-first"),
                                              QStringLiteral("Answer the first K notifications 503."),
                                              QStringLiteral("K"), QStringLiteral("0"));
    const QCommandLineOption notifyBodyOption(QStringLiteral("notify-body"),
                                              QStringLiteral("Body of accepted notifications (default ok)."),
                                              QStringLiteral("text"), QStringLiteral("ok"));
    const QCommandLineOption notifyNeverOption(QStringLiteral("notify-never-answer"),
                                               QStringLiteral("Never answer notifications."));
    const QCommandLineOption journalOption(QStringLiteral("journal"),
                                           QStringLiteral("Append one line per request to this file."),
                                           QStringLiteral("file"));
    const QCommandLineOption tlsCertOption(
        QStringLiteral("tls-cert"), QStringLiteral("Serve HTTPS with this PEM certificate (and chain)."),
        QStringLiteral("file"));
    const QCommandLineOption tlsKeyOption(
        QStringLiteral("tls-key"), QStringLiteral("PEM private key of --tls-cert."), QStringLiteral("file"));
    parser.addOptions({portOption, portFileOption, exitAfterOption, rootOption, faultOption, userOption,
                       passwordOption, keyOption, authModeOption, versionOption, installerOption,
                       notifyFailOption, notifyBodyOption, notifyNeverOption, journalOption, tlsCertOption,
                       tlsKeyOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return fail(QStringLiteral("bad --port"));
    // A timer takes at most INT_MAX milliseconds (about 24.8 days); a longer bound would
    // wrap to a negative interval and the server would never stop.
    const double exitAfter = parser.value(exitAfterOption).toDouble(&ok);
    if (!ok || exitAfter <= 0 || exitAfter > 24 * 24 * 3600)
        return fail(QStringLiteral("--exit-after needs a positive number of seconds, at most 24 days"));
    const qint64 version = parser.value(versionOption).toLongLong(&ok);
    if (!ok)
        return fail(QStringLiteral("bad --version"));
    const int notifyFailFirst = parser.value(notifyFailOption).toInt(&ok);
    if (!ok || notifyFailFirst < 0)
        return fail(QStringLiteral("bad --notify-fail-first"));

    StandInServer server;
    server.setCredentials(parser.value(userOption), parser.value(passwordOption),
                          parser.value(keyOption).toUtf8());
    server.setVersion(version);

    const QString authMode = parser.value(authModeOption);
    if (authMode == QLatin1String("error"))
        server.setAuthenticateMode(StandInServer::AuthenticateMode::ServerError);
    else if (authMode == QLatin1String("never"))
        server.setAuthenticateMode(StandInServer::AuthenticateMode::NeverAnswer);
    else if (authMode != QLatin1String("normal"))
        return fail(QStringLiteral("--auth-mode must be normal, error or never"));

    if (parser.isSet(installerOption)) {
        QFile installer(parser.value(installerOption));
        if (!installer.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1").arg(installer.fileName()));
        server.setInstaller(installer.fileName().section(QLatin1Char('/'), -1), installer.readAll());
    }

    StandInServer::NotifyFault notifyFault;
    notifyFault.failFirst = notifyFailFirst;
    notifyFault.body = parser.value(notifyBodyOption).toUtf8();
    notifyFault.neverAnswer = parser.isSet(notifyNeverOption);
    server.setNotificationFault(notifyFault);

    if (parser.isSet(rootOption))
        server.setAssetRoot(parser.value(rootOption));
    for (const QString& text : parser.values(faultOption)) {
        const int colon = text.lastIndexOf(QLatin1Char(':'));
        StandInServer::AssetFault fault;
        QString error;
        if (colon <= 0 || !StandInServer::parseAssetFault(text.mid(colon + 1), &fault, &error))
            return fail(QStringLiteral("bad --asset-fault \"%1\" %2").arg(text, error));
        server.setAssetFault(text.left(colon), fault);
    }

    if (parser.isSet(journalOption) && !server.setJournalFile(parser.value(journalOption)))
        return fail(QStringLiteral("cannot open journal %1").arg(parser.value(journalOption)));

    if (parser.isSet(tlsCertOption) != parser.isSet(tlsKeyOption))
        return fail(QStringLiteral("--tls-cert and --tls-key go together"));
    QString tlsError;
    if (parser.isSet(tlsCertOption) &&
        !server.setTlsFiles(parser.value(tlsCertOption), parser.value(tlsKeyOption), &tlsError))
        return fail(tlsError);

    if (!server.listen(static_cast<quint16>(port)))
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(port));

    if (parser.isSet(portFileOption)) {
        // Written whole and renamed into place, so a reader never sees half a number.
        QSaveFile portFile(parser.value(portFileOption));
        if (!portFile.open(QIODevice::WriteOnly) ||
            portFile.write(QByteArray::number(server.port()) + '\n') < 0 || !portFile.commit())
            return fail(QStringLiteral("cannot write %1").arg(portFile.fileName()));
    }
    QTextStream(stdout) << "orv-standin listening on " << server.baseUrl().toString() << Qt::endl;

    QTimer::singleShot(static_cast<int>(qRound64(exitAfter * 1000.0)), &app, &QCoreApplication::quit);
    return app.exec();
}
