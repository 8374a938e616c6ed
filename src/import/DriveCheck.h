#pragma once

#include "import/DriveProbe.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// Tells the user, when a download folder is chosen, what the drive means for the cinema
// server that will ingest it: a drive most servers cannot read, one some servers reject,
// a DCP folder that would not sit at the top level.
class DriveCheck
{
    Q_DECLARE_TR_FUNCTIONS(DriveCheck)

public:
    enum class Severity
    {
        Note,       // some servers: worth knowing, Continue is the default
        Unreadable, // most servers cannot read the drive: choosing another folder is the default
    };
    struct Finding
    {
        Severity severity;
        QString text;
    };

    // The findings for what was read; empty when no box is needed.
    static QList<Finding> assess(const DriveFacts& facts);

    // Probes the folder's drive (the mount table, sysfs and devices under roots) and, when
    // there is anything to say, asks whether to go on with it. False when the user wants to
    // choose another folder.
    static bool confirm(const QString& folder, const DriveProbe::Roots& roots = DriveProbe::Roots());
};
