#include "app/CommandLine.h"

#include "download/DcpIngestCheck.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <atomic>
#include <cstring>

namespace {
const char kUsage[] =
    "Usage: reelvane-downloader [PACKAGE.orvdcp]\n"
    "       reelvane-downloader --check-dcp FOLDER\n"
    "\n"
    "Downloads the DCPs of OSKAN package files (.orvdcp) to a drive for the cinema server.\n"
    "\n"
    "  PACKAGE.orvdcp     import the package after the login (handed to the running\n"
    "                     program if one runs)\n"
    "  --check-dcp FOLDER check one DCP folder as a cinema server's ingest would: the drive,\n"
    "                     the documents, every reel of every composition, files that are not\n"
    "                     part of the DCP and every file's SHA-1. Prints one finding a line\n"
    "                     and a last line; exit code 0 ready, 1 problems, 2 the folder cannot\n"
    "                     be read. Needs no window and runs beside the program.\n"
    "  --help             show this text\n"
    "  --version          show the version\n";

bool is(const char* argument, const char* name, const char* shortName = nullptr)
{
    return std::strcmp(argument, name) == 0 || (shortName && std::strcmp(argument, shortName) == 0);
}

// The check logs through the debug stream; a terminal command prints only its own lines.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

bool CommandLine::handles(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "--help", "-h") || is(argv[i], "--version") || is(argv[i], "--check-dcp"))
            return true;
    }
    return false;
}

int CommandLine::run(int argc, char** argv)
{
    qInstallMessageHandler(quiet);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        out << kUsage;
        return 0;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        out << "Reelvane Downloader " ORV_VERSION_TEXT "\n";
        return 0;
    }

    const int at = arguments.indexOf(QStringLiteral("--check-dcp"));
    if (at + 1 >= arguments.size() || arguments.size() != 2) {
        err << "reelvane-downloader: --check-dcp takes one DCP folder (see --help)\n";
        return 2;
    }
    const std::atomic<bool> cancel{false};
    const DcpIngestCheck::Result result = DcpIngestCheck::run(arguments.at(at + 1), cancel);
    for (const QString& line : result.problems())
        out << line << '\n';
    if (result.findings.isEmpty())
        out << DcpIngestCheck::readyText(result.files, result.bytes) << '\n';
    else
        out << (result.findings.size() == 1 ? QStringLiteral("1 problem")
                                            : QStringLiteral("%1 problems").arg(result.findings.size()))
            << '\n';
    if (!result.readable)
        return 2;
    return result.findings.isEmpty() ? 0 : 1;
}
