#pragma once

#include <functional>

class Reel;

// Reel events reported to the notification service, sent and stored as their number.
namespace NotificationType {
enum Value
{
    DownloadStarted = 1,
    DownloadFinished = 2,
    DownloadProgress25 = 3,
    DownloadProgress50 = 4,
    DownloadProgress75 = 5,
    ChecksumStarted = 6,
    ChecksumFailed = 7,
    ChecksumOk = 8,
};
}

// Where the engine and the checksum verdicts raise a reel's events: the notification queue,
// handed in by whoever builds them.
using ReelEventSink = std::function<void(Reel*, NotificationType::Value)>;
