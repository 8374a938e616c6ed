#pragma once

class DCP;

// A DCP removed from the program leaves its files on the drive. Files of reels whose
// digests passed are complete and good, but they would keep their hidden names for ever
// once nothing tracks them any more: they get their visible names first. Files of reels
// not yet verified stay hidden, so nothing half-downloaded can be ingested.
class VerifiedReelReveal
{
public:
    // Reveals every file of each checksummed reel of dcp; a file that cannot be renamed is
    // logged and left as it is (the removal goes on: the user asked for it).
    static void beforeRemoval(const DCP* dcp);
};
