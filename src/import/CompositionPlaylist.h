#pragma once

#include "import/DocumentProblem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The composition playlist of a DCP: its id, its title and what each reel plays.
class CompositionPlaylist
{
public:
    struct ReelEntry
    {
        QString uuid;
        QString pictureId; // MainPicture, or the stereoscopic picture when there is none
        QString soundId;
        QString subtitleId;
        unsigned number = 0; // position among the Reel elements, from 1
    };

    // Parses the document. The title names the DCP folder, so one that is not a plain
    // folder name is refused.
    static CompositionPlaylist fromBytes(const QByteArray& xml);

    bool isValid() const { return problem.isNone(); }
    const DocumentProblem& getProblem() const { return problem; }

    QString getUuid() const { return uuid; }
    QString getTitle() const { return title; }
    // Every Reel element in document order.
    const QList<ReelEntry>& getReels() const { return reels; }

private:
    DocumentProblem problem;
    QString uuid;
    QString title;
    QList<ReelEntry> reels;
};
