import QtQuick 2.9
import QtTest 1.2
import "../../src/qml/globals.js" as Globals

TestCase {
    name: "Globals"

    // Stand-ins for the model objects: the state queries the delegates call.
    function reel(number, state, synced) {
        return {
            "reel_number": number,
            "isCorrupted": function() { return state === "corrupted"; },
            "isChecksummed": function() { return state === "checksummed"; },
            "isDownloaded": function() { return state === "downloaded" || state === "checksummed"; },
            "isSynced": function() { return synced !== false; }
        };
    }

    function dcp(reels, size) {
        return { "reels": reels, "getDownloadedSizeUI": function() { return size === undefined ? 0 : size; } };
    }

    function test_pad() {
        compare(Globals.pad(5, 4), "  5");
        compare(Globals.pad(5), "5");
        compare(Globals.pad("12.50", 8, "right"), "12.50  ");
        compare(Globals.pad(123456, 4), "123456", "a longer value stays whole");
        compare(Globals.pad(1, 4, "middle"), "Invalid padding side (left, right only available)");
    }

    function test_units_data() {
        return [
            { tag: "bytes", value: 1023, unit: Globals.getUnit, expect: ["1023.00", "bytes"] },
            { tag: "kB", value: 1024, unit: Globals.getUnit, expect: ["1.00", "kB"] },
            { tag: "below MB", value: 1024 * 1024 - 1, unit: Globals.getUnit, expect: ["1024.00", "kB"] },
            { tag: "MB", value: 1024 * 1024, unit: Globals.getUnit, expect: ["1.00", "MB"] },
            { tag: "GB", value: 1.5 * 1024 * 1024 * 1024, unit: Globals.getUnit, expect: ["1.50", "GB"] },
            { tag: "Mbps", value: 124999999, unit: Globals.getSpeedAsMbps, expect: ["1000.00", "Mbps"] },
            { tag: "Gbps", value: 125000000, unit: Globals.getSpeedAsMbps, expect: ["1.00", "Gbps"] },
            { tag: "zero speed", value: 0, unit: Globals.getSpeedAsMbps, expect: ["0.00", "Mbps"] }
        ];
    }

    function test_units(data) {
        compare(data.unit(data.value, 2), data.expect);
    }

    function test_dcpStatus_data() {
        var idle = { "current_dcp": null, "paused": false };
        var current = dcp([reel(1, "checksummed"), reel(2, "pending"), reel(3, "pending")]);
        var validating = dcp([reel(1, "checksummed"), reel(2, "downloaded"), reel(3, "downloaded")]);
        var mixed = dcp([reel(1, "pending"), reel(2, "downloaded"), reel(3, "checksummed", false)]);
        return [
            { tag: "completed", dcp: dcp([reel(1, "checksummed"), reel(2, "checksummed")], 1.5 * 1024 * 1024 * 1024),
              mgr: idle, expect: "Completed 1.50 GB" },
            { tag: "failed wins", dcp: dcp([reel(1, "pending"), reel(2, "downloaded"), reel(3, "corrupted")]),
              mgr: { "current_dcp": null, "paused": false }, expect: "Failed" },
            { tag: "pending 3", dcp: dcp([reel(1, "pending"), reel(2, "pending"), reel(3, "pending")]),
              mgr: idle, expect: "Pending 3 reels" },
            { tag: "pending 1", dcp: dcp([reel(4, "pending")]), mgr: idle, expect: "Pending 1 reel" },
            { tag: "downloading", dcp: current, mgr: { "current_dcp": current, "paused": false },
              expect: "Downloading reel 2" },
            { tag: "all paused: the current's reels wait", dcp: current, mgr: { "current_dcp": current, "paused": true },
              expect: "Paused, 2 reels left" },
            { tag: "all paused, one reel", dcp: dcp([reel(4, "pending")]), mgr: { "current_dcp": null, "paused": true },
              expect: "Paused, 1 reel left" },
            { tag: "all paused, notifying goes on", dcp: dcp([reel(1, "checksummed"), reel(7, "checksummed", false)]),
              mgr: { "current_dcp": null, "paused": true }, expect: "Notifying reel 7" },
            { tag: "validating first", dcp: validating, mgr: idle, expect: "Validating reel 2" },
            { tag: "validating before notifying", dcp: mixed, mgr: idle, expect: "Validating reel 2" },
            { tag: "notifying", dcp: dcp([reel(1, "checksummed"), reel(7, "checksummed", false)]), mgr: idle,
              expect: "Notifying reel 7" },
            { tag: "server's file differs", dcp: current, mgr: { "current_dcp": current, "paused": false,
              "sizeDisagreement": function(d) { return d === current ? "Server 2 \u2260 package 1" : ""; } },
              expect: "Server 2 \u2260 package 1" },
            { tag: "drive not connected", dcp: (function() { var d = dcp([reel(1, "corrupted")]);
                                                             d.drive_connected = false; return d; })(),
              mgr: idle, expect: "Drive not connected" }
        ];
    }

    function test_dcpStatus(data) {
        compare(Globals.dcpStatus(data.dcp, data.mgr).text, data.expect);
    }

    function test_reelStatus_data() {
        return [
            { tag: "corrupted", reel: reel(1, "corrupted"), text: "Corrupted", color: Globals.RED, full: true },
            { tag: "completed", reel: reel(1, "checksummed"), text: "Completed", color: "#ffffff", full: true },
            { tag: "notifying", reel: reel(1, "checksummed", false), text: "Notifying, please wait",
              color: "#ffffff", full: true },
            { tag: "validating", reel: reel(1, "downloaded"), text: "Validating, please wait", color: "#ffffff",
              full: false },
            { tag: "pending", reel: reel(1, "pending"), text: "Pending", color: "#ffffff", full: false }
        ];
    }

    function test_reelStatus(data) {
        var status = Globals.reelStatus(data.reel);
        compare(status.text, data.text);
        compare(status.color, data.color);
        compare(status.full, data.full);
    }

    function test_remainingTime() {
        // 3 h 25 min 45 s at 10 Mbit/s.
        compare(Globals.remainingTimeText(12345 * 1250000, 1250000),
                "Remaining time:   3h 25m 45s (10.00  Mbps)");
        compare(Globals.remainingTimeText(5000, 0), "Remaining time: unknown (0.00   Mbps)");
        compare(Globals.reelSpeedText(2500000), "Downloading  20.00 Mbps");
    }

    function test_windowTitle() {
        compare(Globals.windowTitle(true, 42, 100, "Film"), "Reelvane Downloader 1.4.0 \u2014 Film 42%");
        compare(Globals.windowTitle(true, 42, 100), "Reelvane Downloader 1.4.0 \u2014 42%");
        compare(Globals.windowTitle(false, 42, 100, "Film"), "Reelvane Downloader 1.4.0");
    }

    function test_localFileUrl() {
        compare(Globals.localFileUrl("/media/usb/Drive #1 ?50%/Film_FTR"),
                "file:///media/usb/Drive%20%231%20%3F50%25/Film_FTR");
        compare(Globals.localFileUrl("C:\\DCPs/Film #2"), "file:///C:/DCPs/Film%20%232");
    }

    function test_localPathFromUrl() {
        compare(Globals.localPathFromUrl("file:///tmp/My Film %231 50%25.orvdcp"), "/tmp/My Film #1 50%.orvdcp");
        compare(Globals.localPathFromUrl("file:///tmp/a%20b%3Fc.orvdcp"), "/tmp/a b?c.orvdcp");
        compare(Globals.localPathFromUrl("file:///C:/Users/x/f.orvdcp"), "C:/Users/x/f.orvdcp");
        compare(Globals.localPathFromUrl("/already/a/path #1"), "/already/a/path #1");
    }

    function test_packageUrl() {
        compare(Globals.packageUrl(["file:///tmp/a.txt", "file:///tmp/Film%20%231.ORVDCP"]),
                "file:///tmp/Film%20%231.ORVDCP");
        compare(Globals.packageUrl(["http://example.com/x.orvdcp"]), "");
        compare(Globals.packageUrl([]), "");
    }
}
