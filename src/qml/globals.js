.pragma library

// Shared constants and formatting for every component of the window. Kept free of state
// and of context objects, so the status rules can be checked without a window.

var MAIN_BG_COLOR = "#0c0c0d";
var NAV_BAR_BG_COLOR = "#1c1c1f";
var NAV_BAR_BTN_COLOR = "#555555";
var NAV_TOP_BG_COLOR = "#0e1011";
var SPACER_COLOR = "#232324";
var SEARCH_SPACER_COLOR = "#484848";
var SEARCH_INPUT_BG_COLOR = "#333333";
var BTN_ACTIVE_BG_COLOR = "#545454";
var DCP_BG_COLOR = "#1f1f1f";
var DCP_TITLE_COLOR = "#cbcbcb";
var DCP_DETAILS_BG_COLOR = "#040404";
var DCP_DETAILS_BODY_COLOR = "#101011";
var DCP_DETAILS_MAIN_TITLE_COLOR = "#f20014";
var DCP_DETAILS_BTN_CLOSE_BG_COLOR = "#101011";
var DCP_DETAILS_BORDER_COLOR = "#17181a";
var DCP_DETAILS_REEL_NUMBER_COLOR = "#858585";
var DCP_DETAILS_REEL_SIZE_COLOR = "#ffffff";
var DCP_DETAILS_REEL_STATUS_COLOR = "#ffffff";
var RED = "#d5101d";
var ORANGE = "orange";
// The ring around the control that has the keyboard focus.
var FOCUS_COLOR = "#4da3ff";

var BTN_ACTIVE_STATE = "active";
var BTN_DEFAULT_STATE = "default";

var STATUS_COMPLETE = 0;
var STATUS_SYNCING = 1;
var STATUS_DOWNLOADING = 2;
var STATUS_PENDING = 3;
var STATUS_VALIDATING = 4;
var STATUS_CORRUPTED = 5;
var STATUS_QUEUED_FOR_REDOWNLOAD = 6;

// In English; reelStatusText() and dcpStatusText() give them in the program's language. A reel
// and a DCP are not of one grammatical gender everywhere, so the two sets are told apart.
var DCP_STATUSES = [QT_TR_NOOP("Completed", "status of a reel"), QT_TR_NOOP("Notifying, please wait", "status of a reel"),
                    QT_TR_NOOP("Downloading", "status of a reel"), QT_TR_NOOP("Pending", "status of a reel"),
                    QT_TR_NOOP("Validating, please wait", "status of a reel"), QT_TR_NOOP("Corrupted", "status of a reel"),
                    QT_TR_NOOP("Queued for redownload", "status of a reel")];
var DCP_SHORT_STATUSES = ["Completed", "Notifying", "Downloading", "Pending", "Validating", "Failed", "Queued"];

// Shown instead of any other status while the DCP's download folder is missing.
var DRIVE_NOT_CONNECTED = QT_TR_NOOP("Drive not connected");
// A DCP paused on its own.
var DCP_PAUSED = QT_TR_NOOP("Paused", "status of a DCP paused on its own");
var SERVER_NOT_ANSWERING = QT_TR_NOOP("Server not answering, retrying\u2026");

function reelStatusText(status) {
    return qsTr(DCP_STATUSES[status], "status of a reel");
}

function driveNotConnectedText() {
    return qsTr(DRIVE_NOT_CONNECTED);
}

function serverNotAnsweringText() {
    return qsTr(SERVER_NOT_ANSWERING);
}

var KILO_BYTE = 1024;
var MEGA_BYTE = 1024 * 1024;
var GIGA_BYTE = 1024 * 1024 * 1024;
var MEGA_BIT = 125000;
var GIGA_BIT = 125000000;

var APP_TITLE = "Reelvane Downloader 1.4.0";
// Used when the program does not hand the window the portal's address.
var PORTAL_URL = "https://portal.oskan.example/";

function pad(el, offset, side) {
    if (offset === undefined)
        offset = 2;
    if (side === undefined)
        side = "left";
    if (side !== "left" && side !== "right")
        return "Invalid padding side (left, right only available)";
    var text = String(el);
    var blanks = "";
    for (var i = 0; i < offset - 1 - text.length; ++i)
        blanks += " ";
    return side === "left" ? blanks + text : text + blanks;
}

// With the decimal sign of the program's language ("1,50" in French); no thousands separator,
// so the padded columns keep their width.
function fixed(number, to_fixed) {
    return to_fixed === undefined ? number : number.toFixed(to_fixed).replace(".", Qt.locale().decimalPoint);
}

function getUnit(bytes, to_fixed) {
    if (bytes < KILO_BYTE)
        return [fixed(bytes, to_fixed), qsTr("bytes")];
    if (bytes < MEGA_BYTE)
        return [fixed(bytes / KILO_BYTE, to_fixed), qsTr("kB")];
    if (bytes < GIGA_BYTE)
        return [fixed(bytes / MEGA_BYTE, to_fixed), qsTr("MB")];
    return [fixed(bytes / GIGA_BYTE, to_fixed), qsTr("GB")];
}

function getSpeedAsMbps(bytes, to_fixed) {
    if (bytes < GIGA_BIT)
        return [fixed(bytes / MEGA_BIT, to_fixed), qsTr("Mbps")];
    return [fixed(bytes / GIGA_BIT, to_fixed), qsTr("Gbps")];
}

// The tile's status: walks the reels in order (see the table of short statuses).
// mgr carries current_dcp and paused; returns the text and the size the bar shows.
function dcpStatus(dcp, mgr) {
    var current = mgr && mgr.current_dcp === dcp && !mgr.paused;
    // A DCP listed without its reels is complete or not started: its tile needs only the
    // number of reels and their size, and reading the reels of every tile scrolled past would
    // hold them all.
    var listed = dcp.reels_loaded === false && !current;
    var size = listed ? tileDownloaded(dcp) : dcp.getDownloadedSizeUI();
    if (dcp.drive_connected === false)
        return { "text": driveNotConnectedText(), "size": size };
    var differs = mgr && mgr.sizeDisagreement ? mgr.sizeDisagreement(dcp) : "";
    if (differs)
        return { "text": differs, "size": size };

    var found = {};
    var pending = 0;
    var checking = 0; // how far the shown reel's verification has read
    var reels = listed ? [] : dcp.reels || [];
    if (listed && !dcp.listedComplete())
        pending = dcp.getListedReelCount();
    for (var i = 0; i < reels.length; ++i) {
        var reel = reels[i];
        if (!reel)
            continue;
        var checksummed = reel.isChecksummed();
        if (reel.isCorrupted()) {
            found[STATUS_CORRUPTED] = reel.reel_number;
            break;
        }
        var downloaded = reel.isDownloaded();
        if (!checksummed && !downloaded) {
            if (current && found[STATUS_DOWNLOADING] === undefined)
                found[STATUS_DOWNLOADING] = reel.reel_number;
            else
                ++pending;
        } else if (!checksummed) {
            if (found[STATUS_DOWNLOADING] === undefined && found[STATUS_VALIDATING] === undefined) {
                found[STATUS_VALIDATING] = reel.reel_number;
                checking = reel.check_progress || 0;
            }
        } else if (!reel.isSynced()) {
            if (found[STATUS_SYNCING] === undefined)
                found[STATUS_SYNCING] = reel.reel_number;
        }
    }

    // The short statuses of DCP_SHORT_STATUSES, with the reel they are about.
    var text;
    // Files still to fetch wait while the DCP is paused on its own or its drive lacks room.
    var waiting = found[STATUS_DOWNLOADING] !== undefined || pending > 0;
    var ownPause = mgr && mgr.isDcpPaused ? mgr.isDcpPaused(dcp) : false;
    var room = mgr && mgr.roomNeeded ? mgr.roomNeeded(dcp) : "";
    if (found[STATUS_CORRUPTED] !== undefined)
        text = qsTr("Failed", "status of a DCP");
    else if (waiting && ownPause)
        text = qsTr(DCP_PAUSED, "status of a DCP paused on its own");
    else if (waiting && room)
        text = room;
    else if (waiting && mgr && mgr.paused)
        // All downloads paused: the tile says so, and what is left.
        text = pending === 1 ? qsTr("Paused, %1 reel left").arg(pending) : qsTr("Paused, %1 reels left").arg(pending);
    else if (found[STATUS_DOWNLOADING] !== undefined)
        text = qsTr("Downloading reel %1").arg(found[STATUS_DOWNLOADING]);
    else if (found[STATUS_VALIDATING] !== undefined)
        text = qsTr("Validating reel %1").arg(found[STATUS_VALIDATING])
            + (checking > 0 ? " " + checkedPercent(checking) : "");
    else if (found[STATUS_SYNCING] !== undefined)
        text = qsTr("Notifying reel %1").arg(found[STATUS_SYNCING]);
    else if (pending > 0)
        text = pending === 1 ? qsTr("Pending %1 reel").arg(pending) : qsTr("Pending %1 reels").arg(pending);
    else
        text = qsTr("Completed %1", "status of a DCP, with its size").arg(getUnit(size, 2).join(" "));
    return { "text": text, "size": size };
}

// Covers come from the portal. A cover that cannot be fetched keeps the placeholder and is
// checked first, so an unreachable address never becomes an image error. found(url) is
// called while token.alive holds (the asker may be gone by the time the answer comes).
function probeCover(dcp, token, found) {
    var url = dcp ? String(dcp.image_url) : "";
    if (/^(qrc|file):/i.test(url)) {
        found(url);
        return;
    }
    if (!/^https?:\/\//i.test(url))
        return;
    var request = new XMLHttpRequest();
    request.onreadystatechange = function() {
        if (request.readyState !== XMLHttpRequest.DONE || !token.alive)
            return;
        if (request.status >= 200 && request.status < 300)
            found(url);
    };
    request.open("HEAD", url);
    request.send();
}

// The bar of a tile: the DCP's size and what of it is on the drive. A DCP listed without its
// reels answers without reading them: complete is whole, not started has nothing yet.
function tileTotal(dcp) {
    return dcp.reels_loaded === false ? dcp.getListedTotalSize() : dcp.getTotalSize();
}

function tileDownloaded(dcp) {
    if (dcp.reels_loaded !== false)
        return dcp.getDownloadedSizeUI();
    return dcp.listedComplete() ? dcp.getListedTotalSize() : 0;
}

// A reel row's status from the reel's state queries; full says whether the bar shows
// the whole reel rather than what is on disk.
function reelStatus(reel) {
    if (reel.isCorrupted())
        return { "status": STATUS_CORRUPTED, "text": reelStatusText(STATUS_CORRUPTED), "color": RED, "full": true };
    if (reel.isChecksummed()) {
        var s = reel.isSynced() ? STATUS_COMPLETE : STATUS_SYNCING;
        return { "status": s, "text": reelStatusText(s), "color": DCP_DETAILS_REEL_STATUS_COLOR, "full": true };
    }
    var d = reel.isDownloaded() ? STATUS_VALIDATING : STATUS_PENDING;
    return { "status": d, "text": reelStatusText(d), "color": DCP_DETAILS_REEL_STATUS_COLOR, "full": false };
}

// "45 %" of a verification that has read that share of its files.
function checkedPercent(fraction) {
    return Math.floor(fraction * 100) + " %";
}

// The reel row's text while data arrives.
function reelSpeedText(speed) {
    var s = getSpeedAsMbps(speed, 2);
    return qsTr("Downloading %1 %2", "status of a reel, with its speed").arg(pad(s[0], 7)).arg(s[1]);
}

// The status bar's line for the current DCP. A speed of 0 (a stall) has no meaningful
// end time, so it says so instead of printing an infinite one.
function remainingTimeText(remainingBytes, speed) {
    var s = getSpeedAsMbps(speed > 0 ? speed : 0, 2);
    var speedText = " (" + pad(s[0], 8, "right") + s[1] + ")";
    if (!(speed > 0) || !isFinite(remainingBytes / speed))
        return qsTr("Remaining time: unknown") + speedText;
    var seconds = Math.max(0, remainingBytes) / speed;
    var hours = Math.floor(seconds / 3600);
    var minutes = Math.floor(seconds / 60) % 60;
    var secs = Math.floor(seconds) % 60;
    return qsTr("Remaining time: %1h %2m %3s").arg(pad(hours, 4)).arg(pad(minutes, 3)).arg(pad(secs, 3)) + speedText;
}

// The window title: while data arrives, the DCP being downloaded and its progress, named
// so that a title that moves on to another DCP does not read as progress jumping about.
function windowTitle(downloading, downloadedBytes, totalBytes, name) {
    if (!downloading || !(totalBytes > 0))
        return APP_TITLE;
    var percent = Math.min(100, Math.floor(downloadedBytes * 100 / totalBytes));
    return APP_TITLE + " \u2014 " + (name ? name + " " : "") + percent + "%";
}

// Reels whose files are checked but which the portal has not acknowledged yet: their files
// stay hidden until it does.
function confirmingReels(dcps) {
    var count = 0;
    for (var i = 0; i < (dcps ? dcps.length : 0); ++i) {
        // A DCP listed without its reels is complete: reading them would load them.
        if (!dcps[i] || dcps[i].reels_loaded === false)
            continue;
        var reels = dcps[i].reels || [];
        for (var j = 0; j < reels.length; ++j) {
            var reel = reels[j];
            if (reel && reel.isChecksummed() && !reel.isCorrupted() && !reel.isSynced())
                ++count;
        }
    }
    return count;
}

// The status bar while no data arrives.
function idleStatus(paused, confirming) {
    if (paused)
        return qsTr("Paused.");
    if (confirming === 1)
        return qsTr("Confirming %1 reel with the portal\u2026").arg(confirming);
    if (confirming > 1)
        return qsTr("Confirming %1 reels with the portal\u2026").arg(confirming);
    return qsTr("Ready.");
}

// The longest form of text that fits(), cut in the middle with an ellipsis, so that both the
// start and the end of a long title stay readable; text that fits is returned whole.
function elideMiddle(text, fits) {
    text = String(text);
    if (fits(text))
        return text;
    var cut = function(kept) {
        var head = Math.ceil(kept / 2);
        return text.slice(0, head).replace(/\s+$/, "") + "\u2026" +
               text.slice(text.length - (kept - head)).replace(/^\s+/, "");
    };
    var low = 0;
    var high = text.length - 1;
    while (low < high) {
        var mid = Math.ceil((low + high) / 2);
        if (fits(cut(mid)))
            low = mid;
        else
            high = mid - 1;
    }
    return cut(low);
}

// A local-file URL for a folder path. Every segment is escaped on its own, so folder
// names holding "#", "?", "%" or blanks reach the file browser unchanged.
function localFileUrl(path) {
    var parts = String(path).replace(/\\/g, "/").split("/");
    var drive = parts.length > 0 && /^[A-Za-z]:$/.test(parts[0]);
    for (var i = drive ? 1 : 0; i < parts.length; ++i)
        parts[i] = encodeURIComponent(parts[i]);
    var joined = parts.join("/");
    return drive ? "file:///" + joined : "file://" + (joined.charAt(0) === "/" ? "" : "/") + joined;
}

// The local path of a file URL as a dialog or a drop gives it (an escaped or a partly
// escaped form); any other text is returned unchanged.
function localPathFromUrl(url) {
    var text = String(url);
    var match = /^file:\/\/[^\/]*(\/.*)$/i.exec(text) || /^file:(\/.*)$/i.exec(text);
    if (!match)
        return text;
    var path = decodeURIComponent(match[1]);
    // "file:///C:/x" names the Windows path "C:/x".
    return /^\/[A-Za-z]:/.test(path) ? path.substring(1) : path;
}

// The first package file among dropped URLs, or an empty text.
function packageUrl(urls) {
    for (var i = 0; i < (urls ? urls.length : 0); ++i) {
        var url = String(urls[i]);
        if (/^file:/i.test(url) && /\.orvdcp$/i.test(url))
            return url;
    }
    return "";
}
