import QtQuick 2.9
import QtQuick.Controls 1.4
import "globals.js" as Globals

// One reel of the details page: number, progress, size, removal and status.
Item {
    id: row
    objectName: "reelRow"

    property QtObject reel: modelData || null
    property real reel_size: reel ? reel.getTotalSize() : 0
    property var reel_size_unit: Globals.getUnit(reel_size, 2)

    function setStatus(text, color) {
        statusText.text = text;
        if (color !== undefined)
            statusText.color = color;
    }

    function showFull() {
        if (row.reel)
            bar.value(row.reel.getTotalSize());
    }

    function showDownloaded() {
        if (row.reel)
            bar.value(row.reel.getDownloadedSize());
    }

    function refreshStatus() {
        if (!row.reel)
            return;
        var status = Globals.reelStatus(row.reel);
        setStatus(status.text, status.color);
        if (status.full)
            showFull();
        else
            showDownloaded();
    }

    // One line where the row has room for a bar of 150 and the longest status; on a narrow
    // page the status goes under the bar, so that nothing is cut.
    readonly property real lineWidth: 20 + number.width + 10 + sizeNumber.width + 4 + sizeUnit.width + 10 + 40
    readonly property bool oneLine: width >= lineWidth + 150 + longestStatus.width
    readonly property real barWidth: Math.max(80, Math.min(300, width - lineWidth - (oneLine ? longestStatus.width : 0)))

    width: ListView.view ? ListView.view.width : 0
    Accessible.role: Accessible.ListItem
    Accessible.name: number.text + ": " + statusText.text
    height: oneLine ? 40 : 64

    TextMetrics {
        id: longestStatus
        font: statusText.font
        // The statuses are in one fixed-width font: the longest in characters is the widest.
        text: Globals.DCP_STATUSES.concat([Globals.reelSpeedText(999.99 * Globals.MEGA_BIT)]).reduce(function(a, b) {
            return b.length > a.length ? b : a;
        }) + "  "
    }

    Connections {
        target: row.reel
        function onDownloadSynced() { row.setStatus(Globals.reelStatusText(Globals.STATUS_COMPLETE), "white"); }
        function onDownloadPaused() { row.setStatus(Globals.reelStatusText(Globals.STATUS_PENDING)); }
        function onDownloadProgress(speed) {
            row.setStatus(Globals.reelSpeedText(speed), "white");
            row.showDownloaded();
        }
        function onDownloadChecksummed() { row.setStatus(Globals.reelStatusText(Globals.STATUS_SYNCING), "white"); }
        function onCheckProgressChanged() {
            if (row.reel.check_progress > 0)
                row.setStatus(Globals.reelStatusText(Globals.STATUS_VALIDATING) + " "
                              + Globals.checkedPercent(row.reel.check_progress), "white");
        }
        function onDownloadCheckingChecksum() {
            row.setStatus(Globals.reelStatusText(Globals.STATUS_VALIDATING), "white");
            row.showFull();
        }
        function onDownloadCorrupted() {
            row.setStatus(Globals.reelStatusText(Globals.STATUS_CORRUPTED), Globals.RED);
            row.showFull();
        }
        function onDownloadQueuedForRedownload() {
            row.setStatus(Globals.reelStatusText(Globals.STATUS_QUEUED_FOR_REDOWNLOAD), Globals.ORANGE);
            row.showFull();
        }
    }

    Connections {
        target: body
        function onStateChanged() { row.refreshStatus(); }
    }

    Text {
        id: number
        x: 20
        // "Reel #10" and above keep a gap to their bar.
        width: 90
        height: 30
        verticalAlignment: Text.AlignVCenter
        text: qsTr("Reel #%1").arg(row.reel ? row.reel.reel_number : "")
        color: Globals.DCP_DETAILS_REEL_NUMBER_COLOR
        font.pixelSize: 17
        font.bold: true
    }

    CustomProgressBar {
        id: bar
        anchors.left: number.right
        anchors.leftMargin: 10
        width: row.barWidth
        max: row.reel_size
        initial_value: row.reel ? row.reel.getDownloadedSize() : 0
    }

    Text {
        id: sizeNumber
        anchors.left: bar.right
        // Never narrower than the number, which would run into the bar.
        width: Math.max(50, implicitWidth)
        height: 30
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: Text.AlignRight
        text: row.reel_size_unit[0]
        color: Globals.DCP_DETAILS_REEL_SIZE_COLOR
    }

    Text {
        id: sizeUnit
        anchors.left: sizeNumber.right
        anchors.leftMargin: 4
        width: Math.max(20, implicitWidth)
        height: 30
        verticalAlignment: Text.AlignVCenter
        text: row.reel_size_unit[1]
        color: Globals.DCP_DETAILS_REEL_SIZE_COLOR
    }

    ActionButton {
        id: removeButton
        objectName: "removeReelButton"
        anchors.left: sizeUnit.right
        anchors.leftMargin: 10
        image: "qrc:/images/minus-circle.svg"
        tooltip: qsTr("Remove reel %1 and delete its files (Delete)").arg(row.reel ? row.reel.reel_number : "")
        // The last row's reel takes its DCP with it.
        onClicked: mainWindow.removeReel(row.reel, row.ListView.view !== null && row.ListView.view.count === 1)
    }

    Text {
        id: statusText
        objectName: "reelStatus"
        x: row.oneLine ? removeButton.x + 40 : bar.x
        y: row.oneLine ? 0 : 32
        height: 30
        verticalAlignment: Text.AlignVCenter
        color: Globals.DCP_DETAILS_REEL_STATUS_COLOR
        font.family: "Courier"
        font.weight: Font.Medium
        font.pixelSize: 15
        Component.onCompleted: row.refreshStatus()
    }

    // The row the arrow keys are on.
    FocusRing {
        anchors.margins: 0
        shown: row.ListView.isCurrentItem && row.ListView.view !== null && row.ListView.view.activeFocus
    }
}
