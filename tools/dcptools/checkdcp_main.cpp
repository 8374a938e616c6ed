// orv-checkdcp: checks a downloaded DCP folder as an ingest would see it.
#include "DcpCheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orv-checkdcp"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks a downloaded DCP folder: ASSETMAP, VOLINDEX, CPL and PKL present; every file of the\n"
        "chosen reels under its visible name with the PKL's size and SHA-1; no hidden file left; no\n"
        "file the ASSETMAP does not list. With --journal (the stand-in server's journal file) it also\n"
        "checks that every chosen reel's download and checksum events were acknowledged. Exit code 0 when\n"
        "all holds."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The DCP folder."));
    const QCommandLineOption reels(QStringLiteral("reels"),
                                   QStringLiteral("Comma-separated reel numbers (default: every reel)."),
                                   QStringLiteral("list"));
    const QCommandLineOption journal(QStringLiteral("journal"), QStringLiteral("Stand-in journal file."),
                                     QStringLiteral("file"));
    parser.addOptions({reels, journal});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "orv-checkdcp: give exactly one DCP folder (see --help)\n";
        return 2;
    }
    QList<int> chosen;
    for (const QString& part : parser.value(reels).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int reel = part.trimmed().toInt(&ok);
        if (!ok || reel < 1) {
            err << "orv-checkdcp: bad reel number \"" << part << "\"\n";
            return 2;
        }
        chosen << reel;
    }

    const QString folder = parser.positionalArguments().first();
    DcpCheck::Result result = DcpCheck::checkFolder(folder, chosen);
    if (parser.isSet(journal)) {
        QFile file(parser.value(journal));
        if (!file.open(QIODevice::ReadOnly)) {
            err << "orv-checkdcp: cannot read " << file.fileName() << "\n";
            return 2;
        }
        if (chosen.isEmpty())
            chosen = DcpCheck::reelsOf(folder);
        DcpCheck::checkAcknowledged(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')), chosen,
                                    &result);
    }

    out << "files verified: " << result.filesVerified << " (" << result.bytesVerified << " bytes)\n";
    if (parser.isSet(journal))
        out << "reels acknowledged: " << result.reelsAcknowledged << "\n";
    for (const QString& problem : result.problems)
        out << "PROBLEM: " << problem << "\n";
    out << (result.ok() ? "DCP OK\n" : "DCP NOT OK\n");
    return result.ok() ? 0 : 1;
}
