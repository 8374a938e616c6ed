// orv-makedcp: writes a sample DCP folder with real asset files.
#include "SampleDcp.h"
#include "SizeText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orv-makedcp"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a sample DCP into <folder>/<title>: N reels of picture and sound, optionally a subtitle per\n"
        "reel with a font in a folder named after the subtitle's UUID, and ASSETMAP, PKL, CPL and VOLINDEX.\n"
        "Asset files hold a pseudo-random stream of the chosen size; the PKL carries their true SHA-1.\n"
        "Sizes accept K, M, G and T suffixes (powers of 1024)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Folder that receives the DCP folder."));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("CPL AnnotationText and folder name."),
                                   QStringLiteral("text"), QStringLiteral("Sample_FTR"));
    const QCommandLineOption reels(QStringLiteral("reels"), QStringLiteral("Number of reels (default 1)."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption picture(QStringLiteral("picture-size"),
                                     QStringLiteral("Bytes per picture file (default 1M)."),
                                     QStringLiteral("size"), QStringLiteral("1M"));
    const QCommandLineOption sound(QStringLiteral("sound-size"),
                                   QStringLiteral("Bytes per sound file (default 256K)."),
                                   QStringLiteral("size"), QStringLiteral("256K"));
    const QCommandLineOption subtitles(QStringLiteral("subtitles"),
                                       QStringLiteral("Add a subtitle and its font to every reel."));
    const QCommandLineOption subtitleSize(QStringLiteral("subtitle-size"),
                                          QStringLiteral("Bytes per subtitle file (default 4K)."),
                                          QStringLiteral("size"), QStringLiteral("4K"));
    const QCommandLineOption fontSize(QStringLiteral("font-size"),
                                      QStringLiteral("Bytes per font file (default 8K)."),
                                      QStringLiteral("size"), QStringLiteral("8K"));
    const QCommandLineOption stereo(QStringLiteral("stereoscopic"),
                                    QStringLiteral("Write pictures as msp-cpl:MainStereoscopicPicture."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("UUIDs and contents follow from this number (default 1)."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    parser.addOptions({title, reels, picture, sound, subtitles, subtitleSize, fontSize, stereo, seed});
    parser.process(app);

    QTextStream err(stderr);
    QTextStream out(stdout);
    if (parser.positionalArguments().size() != 1) {
        err << "orv-makedcp: give exactly one output folder (see --help)\n";
        return 2;
    }

    SampleDcp::Options o;
    o.title = parser.value(title);
    bool ok = true;
    o.reels = parser.value(reels).toInt(&ok);
    ok = ok && o.reels > 0;
    ok = ok && SizeText::parse(parser.value(picture), &o.pictureSize);
    ok = ok && SizeText::parse(parser.value(sound), &o.soundSize);
    ok = ok && SizeText::parse(parser.value(subtitleSize), &o.subtitleSize);
    ok = ok && SizeText::parse(parser.value(fontSize), &o.fontSize);
    bool seedOk = false;
    o.seed = parser.value(seed).toUInt(&seedOk);
    ok = ok && seedOk;
    o.subtitles = parser.isSet(subtitles);
    o.stereoscopic = parser.isSet(stereo);
    if (!ok) {
        err << "orv-makedcp: invalid number or size (see --help)\n";
        return 2;
    }

    const QString folder = parser.positionalArguments().constFirst() + QLatin1Char('/') + o.title;
    QElapsedTimer timer;
    timer.start();
    DcpDescription dcp;
    QString error;
    if (!SampleDcp::generate(o, folder, &dcp, &error)) {
        err << "orv-makedcp: " << error << "\n";
        return 1;
    }
    quint64 total = 0;
    for (const DcpAssetInfo& a : dcp.assets)
        total += a.size;
    out << "DCP folder: " << folder << "\n"
        << "CPL: " << dcp.cplUuid << " (" << dcp.cplFileName << ")\n"
        << "Reels: " << dcp.reelCount << ", files: " << dcp.assets.size() << ", bytes: " << total << "\n"
        << "Written in " << timer.elapsed() << " ms\n";
    return 0;
}
