import QtQuick 2.9
import QtQuick.Controls 1.4
import "globals.js" as Globals

// A DCP's tile in the grid: cover, title and status. It reads what it shows from the DCP's
// summary when the DCP is listed without its reels, so scrolling past a long history loads
// nothing; the page (DcpPage) is built for the DCP shown alone.
Item {
    id: tile
    objectName: "dcpTile"

    property QtObject dcp: modelData || null
    property real dcp_total_size: dcp ? Globals.tileTotal(dcp) : 0
    property string coverSource: "qrc:/images/placeholder_cover.svg"
    // Replies to a cover probe may come back after this tile is gone.
    property var probeToken: ({ "alive": true })
    // Paused on its own (the tile says so, the queue skips it).
    property bool dcpPaused: false

    function refreshStatus() {
        if (!tile.dcp || !tileBar)
            return;
        tile.dcpPaused = download_mgr.isDcpPaused(tile.dcp);
        var status = Globals.dcpStatus(tile.dcp, download_mgr);
        tileBar.content(status.size, status.text);
    }

    // The tile's title, wrapped over its two lines and cut in the middle when longer.
    function refreshTileTitle() {
        var text = tile.dcp ? String(tile.dcp.friendly_title) : "";
        tileTitle.text = Globals.elideMiddle(text, function(candidate) {
            titleMeasure.text = candidate;
            return titleMeasure.lineCount <= tileTitle.maximumLineCount;
        });
    }

    Accessible.role: Accessible.ListItem
    Accessible.name: (tile.dcp ? tile.dcp.friendly_title : "") + ", " + tileBar.text
    Accessible.onPressAction: mainWindow.showDetails(tile.dcp)
    width: 210
    // The grid's cell: shorter on a short window, where the cover gives up the height.
    height: GridView.view ? GridView.view.cellHeight : 435

    Component.onCompleted: Globals.probeCover(tile.dcp, tile.probeToken, function(url) { tile.coverSource = url; })
    Component.onDestruction: probeToken.alive = false

    Connections {
        target: tile.dcp
        ignoreUnknownSignals: true
        function onFinishedChanged() { tile.refreshStatus(); }
        function onReelsChanged() {
            tile.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onStatusChanged() {
            tile.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onDownloadProgress(speed) { tile.refreshStatus(); }
        function onDownloadFinished() { tile.refreshStatus(); }
        function onDriveConnectedChanged() { tile.refreshStatus(); }
    }

    Connections {
        target: typeof drive_eject !== "undefined" ? drive_eject : null
        function onChanged() { tile.refreshStatus(); }
    }

    // The page is built apart from the tile; the tile reads its sizes again when the page
    // of its DCP closes.
    Connections {
        target: mainWindow
        function onDetailsClosed(closed) {
            if (closed !== tile.dcp || !tile.dcp)
                return;
            tile.dcp_total_size = Globals.tileTotal(tile.dcp);
            tile.refreshStatus();
        }
    }

    Connections {
        target: download_mgr
        function onCurrentDcpChanged() { tile.refreshStatus(); }
        function onPausedChanged() { tile.refreshStatus(); }
        function onServerFileDiffers(dcp, message) { tile.refreshStatus(); }
        function onOrderChanged() { tile.refreshStatus(); }
        function onRoomChanged() { tile.refreshStatus(); }
    }

    Rectangle {
        width: 200
        height: tile.height - 35
        color: Globals.DCP_BG_COLOR

        Image {
            id: tileCover
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            height: parent.height - 97
            fillMode: Image.PreserveAspectCrop
            clip: true
            asynchronous: true
            source: tile.coverSource
            opacity: tile.dcpPaused ? 0.4 : 1
        }

        Text {
            id: tileTitle
            objectName: "tileTitle"
            anchors.top: tileCover.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 10
            height: 40
            color: Globals.DCP_TITLE_COLOR
            font.pixelSize: 15
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
            maximumLineCount: 2
            Component.onCompleted: tile.refreshTileTitle()
        }

        // Lays out candidate titles for the tile: same width, font and wrapping.
        Text {
            id: titleMeasure
            visible: false
            width: tileTitle.width
            font: tileTitle.font
            wrapMode: tileTitle.wrapMode
        }

        CustomProgressBar {
            id: tileBar
            objectName: "tileStatus"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 5
            height: 20
            max: tile.dcp_total_size
            initial_value: tile.dcp ? Globals.tileDownloaded(tile.dcp) : 0
            Component.onCompleted: tile.refreshStatus()
        }

        MouseArea {
            id: tileArea
            objectName: "openDetails"
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onClicked: {
                if (mouse.button === Qt.RightButton)
                    mainWindow.openDcpMenu(tile.dcp, tileArea, mouse.x, mouse.y);
                else
                    mainWindow.showDetails(tile.dcp);
            }
        }

        // The tile the arrow keys are on. Inside the tile: the grid clips what lies
        // beyond its first row and column.
        FocusRing {
            anchors.margins: 0
            shown: tile.GridView.isCurrentItem && tile.GridView.view !== null && tile.GridView.view.activeFocus
        }
    }
}
