import QtQuick 2.9
import QtQuick.Controls 1.4
import QtQml.Models 2.2
import "globals.js" as Globals

// One DCP, twice: a tile for the grid ("browser") and a details page ("fullscreen").
Package {
    id: pkg

    property QtObject dcp: modelData || null
    property real dcp_total_size: dcp ? dcp.getTotalSize() : 0
    property string coverSource: "qrc:/images/placeholder_cover.svg"
    // Replies to a cover probe may come back after this delegate is gone.
    property var probeToken: ({ "alive": true })
    property bool driveMissing: dcp !== null && dcp.drive_connected === false
    property bool isCurrent: dcp !== null && download_mgr.current_dcp === dcp
    property bool canEject: false
    property string unplugText: ""
    // Raised with every status change, so bindings on the DCP's state are evaluated again.
    property int statusTick: 0
    property bool checkShown: dcp !== null && drive_check.dcp === dcp
    property bool checkable: statusTick >= 0 && dcp !== null && !drive_check.running && drive_check.canCheck(dcp)
    // Paused on its own (its tile says so, the queue skips it).
    property bool dcpPaused: false
    // For the page: its place among the DCPs with work left (-1: none), their number, the
    // drive it is on and whether that drive lacks room for it.
    property int queuePlace: -1
    property int queueCount: 0
    property string driveLine: ""
    property string roomLine: ""

    function refreshStatus() {
        pkg.statusTick++;
        if (!pkg.dcp || !tileBar)
            return;
        pkg.dcpPaused = download_mgr.isDcpPaused(pkg.dcp);
        pkg.canEject = typeof drive_eject !== "undefined" && drive_eject.canEject(pkg.dcp);
        pkg.unplugText = typeof drive_eject !== "undefined" ? drive_eject.unplugState(pkg.dcp) : "";
        var status = Globals.dcpStatus(pkg.dcp, download_mgr);
        tileBar.content(status.size, status.text);
    }

    // Covers come from the portal. A cover that cannot be fetched keeps the placeholder
    // and is checked first, so an unreachable address never becomes an image error.
    function probeCover() {
        var url = pkg.dcp ? String(pkg.dcp.image_url) : "";
        if (/^(qrc|file):/i.test(url)) {
            pkg.coverSource = url;
            return;
        }
        if (!/^https?:\/\//i.test(url))
            return;
        var token = pkg.probeToken;
        var request = new XMLHttpRequest();
        request.onreadystatechange = function() {
            if (request.readyState !== XMLHttpRequest.DONE || !token.alive)
                return;
            if (request.status >= 200 && request.status < 300)
                pkg.coverSource = url;
        };
        request.open("HEAD", url);
        request.send();
    }

    // Only the page shown reads the order and the drive: the walk and the drive lookup are
    // not for every tile at every progress step.
    function refreshQueueInfo() {
        if (!pkg.dcp || !page.ListView.view)
            return;
        pkg.dcpPaused = download_mgr.isDcpPaused(pkg.dcp);
        pkg.queuePlace = download_mgr.queuePlace(pkg.dcp);
        pkg.queueCount = download_mgr.queueLength();
        pkg.driveLine = download_mgr.driveText(pkg.dcp);
        pkg.roomLine = download_mgr.roomWarningFor(pkg.dcp);
    }

    function openFolder() {
        if (pkg.dcp)
            mainWindow.openFolder(pkg.dcp.download_path + "/" + pkg.dcp.title);
    }

    // The tile's title, wrapped over its two lines and cut in the middle when longer.
    function refreshTileTitle() {
        var text = pkg.dcp ? String(pkg.dcp.friendly_title) : "";
        tileTitle.text = Globals.elideMiddle(text, function(candidate) {
            titleMeasure.text = candidate;
            return titleMeasure.lineCount <= tileTitle.maximumLineCount;
        });
    }

    Component.onCompleted: probeCover()
    Component.onDestruction: probeToken.alive = false

    Connections {
        target: pkg.dcp
        ignoreUnknownSignals: true
        function onFinishedChanged() { pkg.refreshStatus(); }
        function onReelsChanged() {
            pkg.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onStatusChanged() {
            pkg.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onDownloadProgress(speed) { pkg.refreshStatus(); }
        function onDownloadFinished() { pkg.refreshStatus(); }
        function onDriveConnectedChanged() { pkg.refreshStatus(); }
    }

    Connections {
        target: typeof drive_eject !== "undefined" ? drive_eject : null
        function onChanged() { pkg.refreshStatus(); }
    }

    // The page is built apart from the tile; the tile reads its sizes again when the page
    // of its DCP closes.
    Connections {
        target: mainWindow
        function onDetailsClosed(closed) {
            if (closed !== pkg.dcp || !pkg.dcp)
                return;
            pkg.dcp_total_size = pkg.dcp.getTotalSize();
            pkg.refreshStatus();
        }
    }

    Connections {
        target: download_mgr
        function onCurrentDcpChanged() { pkg.refreshStatus(); }
        function onPausedChanged() { pkg.refreshStatus(); }
        function onServerFileDiffers(dcp, message) { pkg.refreshStatus(); }
        function onOrderChanged() {
            pkg.refreshStatus();
            pkg.refreshQueueInfo();
        }
        function onRoomChanged() {
            pkg.refreshStatus();
            pkg.refreshQueueInfo();
        }
    }

    Item {
        id: tile
        objectName: "dcpTile"
        Package.name: "browser"
        property QtObject dcp: pkg.dcp
        Accessible.role: Accessible.ListItem
        Accessible.name: (pkg.dcp ? pkg.dcp.friendly_title : "") + ", " + tileBar.text
        Accessible.onPressAction: mainWindow.showDetails(pkg.dcp)
        width: 210
        // The grid's cell: shorter on a short window, where the cover gives up the height.
        height: GridView.view ? GridView.view.cellHeight : 435

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
                source: pkg.coverSource
                opacity: pkg.dcpPaused ? 0.4 : 1
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
                Component.onCompleted: pkg.refreshTileTitle()
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
                max: pkg.dcp_total_size
                initial_value: pkg.dcp ? pkg.dcp.getDownloadedSizeUI() : 0
                Component.onCompleted: pkg.refreshStatus()
            }

            MouseArea {
                id: tileArea
                objectName: "openDetails"
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: {
                    if (mouse.button === Qt.RightButton)
                        mainWindow.openDcpMenu(pkg.dcp, tileArea, mouse.x, mouse.y);
                    else
                        mainWindow.showDetails(pkg.dcp);
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

    Rectangle {
        id: page
        objectName: "dcpPage"
        Package.name: "fullscreen"
        property QtObject dcp: pkg.dcp
        width: ListView.view ? ListView.view.width : 0
        height: ListView.view ? ListView.view.height : 0
        visible: ListView.isCurrentItem
        color: Globals.DCP_DETAILS_BG_COLOR

        // The keyboard starts on the page's first control.
        function takeFocus() {
            closeButton.forceActiveFocus();
        }

        // Wherever the focus is on the page: Space pauses or resumes the downloads, Delete
        // asks to delete the DCP (on a reel row: the reel). Escape closes it from anywhere.
        Keys.onSpacePressed: mainWindow.togglePause()
        Keys.onDeletePressed: mainWindow.removeDcp(pkg.dcp)

        // First in the page's Tab order, as it is first in reading order.
        Rectangle {
            id: closeButton
            anchors.right: panel.left
            anchors.top: parent.top
            anchors.topMargin: 10
            width: 50
            height: 50
            color: Globals.DCP_DETAILS_BTN_CLOSE_BG_COLOR
            activeFocusOnTab: true
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Close details")
            Accessible.onPressAction: mainWindow.closeDetails()
            Keys.onReturnPressed: mainWindow.closeDetails()
            Keys.onEnterPressed: mainWindow.closeDetails()
            Keys.onSpacePressed: mainWindow.closeDetails()

            Rectangle { anchors.top: parent.top; width: parent.width; height: 1; color: Globals.DCP_DETAILS_BORDER_COLOR }
            Rectangle { anchors.left: parent.left; height: parent.height; width: 1; color: Globals.DCP_DETAILS_BORDER_COLOR }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Globals.DCP_DETAILS_BORDER_COLOR }

            Image {
                anchors.centerIn: parent
                width: 30
                height: 30
                sourceSize.width: 30
                sourceSize.height: 30
                source: "qrc:/images/close.svg"
            }

            MouseArea {
                id: closeMouse
                objectName: "closeDetails"
                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: mainWindow.closeDetails()
            }

            HoverTip {
                area: closeMouse
                text: qsTr("Close (Esc)")
            }

            // Inside the button: the page beside it covers its right edge.
            FocusRing { anchors.margins: 0 }
        }

        Rectangle {
            id: panel
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: parent.width - 90
            color: Globals.DCP_DETAILS_BODY_COLOR

            Rectangle {
                anchors.left: parent.left
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                width: 1
                color: Globals.DCP_DETAILS_BORDER_COLOR
            }

            Item {
                id: header
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.leftMargin: 20
                height: 100

                Item {
                    id: iconBox
                    anchors.verticalCenter: parent.verticalCenter
                    width: 50
                    height: 50
                    Image {
                        anchors.fill: parent
                        sourceSize.width: 50
                        sourceSize.height: 50
                        source: "qrc:/images/dcp.svg"
                    }
                }

                Column {
                    anchors.left: iconBox.right
                    anchors.leftMargin: 15
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    Text {
                        width: parent.width
                        text: pkg.dcp ? pkg.dcp.friendly_title : ""
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                        color: Globals.DCP_DETAILS_MAIN_TITLE_COLOR
                        font.pixelSize: 30
                        elide: Text.ElideRight
                    }
                    Text {
                        width: parent.width
                        text: pkg.dcp ? pkg.dcp.title : ""
                        color: "white"
                        font.pixelSize: 15
                        elide: Text.ElideRight
                    }
                }
            }

            // Wraps on a narrow page. A button that comes and goes keeps its place taken
            // (START, CHECK DRIVE) or comes last (Eject), so that no button moves under a
            // pointer that is about to click it.
            Flow {
                id: actions
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: header.bottom
                anchors.leftMargin: 20
                anchors.rightMargin: 20
                height: Math.max(50, implicitHeight + 15)
                spacing: 5

                Item {
                    width: Math.max(150, startButton.neededWidth)
                    height: 35

                    CustomButton {
                        id: startButton
                        objectName: "startButton"
                        anchors.fill: parent
                        text: qsTr("START DOWNLOAD")
                        visible: pkg.dcp !== null && !pkg.isCurrent && !pkg.dcp.finished && !pkg.driveMissing
                        onClicked: download_mgr.startDownloading(pkg.dcp)
                    }
                }

                CustomButton {
                    objectName: "deleteButton"
                    preferredWidth: 100
                    text: qsTr("DELETE")
                    onClicked: mainWindow.removeDcp(pkg.dcp)
                }

                // Taken while a check can start, and while one runs.
                Item {
                    width: !pkg.driveMissing && (pkg.checkable || drive_check.running)
                           ? Math.max(140, checkDriveButton.neededWidth) : 0
                    height: 35

                    CustomButton {
                        id: checkDriveButton
                        objectName: "checkDriveButton"
                        anchors.fill: parent
                        text: qsTr("CHECK DRIVE")
                        visible: pkg.checkable
                        onClicked: drive_check.start(pkg.dcp)
                    }
                }

                // Files found corrupted or missing stay marked until downloaded again, also
                // after a restart.
                CustomButton {
                    objectName: "downloadAgainButton"
                    preferredWidth: 170
                    text: qsTr("DOWNLOAD AGAIN")
                    visible: pkg.statusTick >= 0 && pkg.dcp !== null && !drive_check.running
                             && !pkg.driveMissing && drive_check.damagedCount(pkg.dcp) > 0
                    onClicked: drive_check.redownloadDamaged(pkg.dcp)
                }

                Text {
                    visible: pkg.driveMissing
                    height: 35
                    verticalAlignment: Text.AlignVCenter
                    leftPadding: 10
                    text: Globals.driveNotConnectedText()
                    color: Globals.ORANGE
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 15
                }

                // After the other buttons, so that none of them moves when it shows.
                CustomButton {
                    id: ejectButton
                    objectName: "ejectButton"
                    // Set by a click here; the button stays, greyed, while that eject runs.
                    property bool ejecting: false
                    preferredWidth: 120
                    text: ejecting ? qsTr("Ejecting…") : qsTr("Eject drive")
                    visible: pkg.canEject || ejecting
                    enabled: !ejecting
                    onClicked: {
                        ejecting = true;
                        drive_eject.eject(pkg.dcp);
                        ejecting = drive_eject.ejecting;
                    }
                    Connections {
                        target: typeof drive_eject !== "undefined" ? drive_eject : null
                        function onChanged() { ejectButton.ejecting = ejectButton.ejecting && drive_eject.ejecting; }
                    }
                }

                // Beside "Eject drive": whether the drive may go now, or what it waits for.
                Text {
                    id: unplugStatus
                    objectName: "unplugStatus"
                    // Beside the button where the row has room for it, else on a line of its
                    // own, on two lines where it needs them.
                    width: Math.min(unplugMeasure.width + 2, actions.width)
                    height: 35
                    verticalAlignment: Text.AlignVCenter
                    wrapMode: Text.WordWrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    text: pkg.unplugText
                    visible: text !== ""
                    TextMetrics {
                        id: unplugMeasure
                        font: unplugStatus.font
                        text: unplugStatus.text
                    }
                    color: "white"
                    font.pixelSize: 13
                }
            }

            // Its own pause and its place in the download order; the drive it is on. Wraps on a
            // narrow page, as the actions above do.
            Flow {
                id: queueRow
                objectName: "queueRow"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: actions.bottom
                anchors.leftMargin: 20
                anchors.rightMargin: 20
                height: Math.max(45, implicitHeight + 10)
                spacing: 5
                Component.onCompleted: pkg.refreshQueueInfo()

                CustomButton {
                    objectName: "pauseDcpButton"
                    preferredWidth: 160
                    height: 30
                    text: pkg.dcpPaused ? qsTr("RESUME THIS DCP") : qsTr("PAUSE THIS DCP")
                    enabled: pkg.queuePlace >= 0
                    opacity: enabled ? 1 : 0.4
                    onClicked: pkg.dcpPaused ? download_mgr.resumeDcp(pkg.dcp) : download_mgr.pauseDcp(pkg.dcp)
                }
                CustomButton {
                    objectName: "downloadNextButton"
                    preferredWidth: 150
                    height: 30
                    text: qsTr("DOWNLOAD NEXT")
                    enabled: pkg.queuePlace > 0 || (pkg.queuePlace === 0 && pkg.dcpPaused)
                    opacity: enabled ? 1 : 0.4
                    onClicked: download_mgr.downloadNext(pkg.dcp)
                }
                CustomButton {
                    objectName: "moveUpButton"
                    preferredWidth: 100
                    height: 30
                    text: qsTr("MOVE UP")
                    enabled: pkg.queuePlace > 0
                    opacity: enabled ? 1 : 0.4
                    onClicked: download_mgr.moveUp(pkg.dcp)
                }
                CustomButton {
                    objectName: "moveDownButton"
                    preferredWidth: 110
                    height: 30
                    text: qsTr("MOVE DOWN")
                    enabled: pkg.queuePlace >= 0 && pkg.queuePlace < pkg.queueCount - 1
                    opacity: enabled ? 1 : 0.4
                    onClicked: download_mgr.moveDown(pkg.dcp)
                }

                Column {
                    leftPadding: 15
                    Text {
                        objectName: "driveLine"
                        text: pkg.driveLine
                        color: "white"
                        font.pixelSize: 13
                    }
                    Text {
                        objectName: "roomLine"
                        visible: text !== ""
                        text: pkg.roomLine
                        color: Globals.ORANGE
                        font.pixelSize: 13
                    }
                }
            }

            Rectangle {
                id: card
                anchors.left: parent.left
                anchors.top: queueRow.bottom
                anchors.leftMargin: 20
                width: 200
                height: pageCover.height + 47
                color: Globals.DCP_BG_COLOR

                // A short page shows a smaller cover, so that GO TO FILES stays in view.
                Image {
                    id: pageCover
                    anchors.top: parent.top
                    anchors.left: parent.left
                    anchors.right: parent.right
                    height: Math.max(120, Math.min(303, panel.height - card.y - 120))
                    fillMode: Image.PreserveAspectCrop
                    clip: true
                    asynchronous: true
                    source: pkg.coverSource
                }

                Text {
                    id: cardTitle
                    anchors.top: pageCover.bottom
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.margins: 10
                    text: pkg.dcp ? pkg.dcp.friendly_title : ""
                    color: Globals.DCP_TITLE_COLOR
                    font.pixelSize: 12
                    font.weight: Font.DemiBold
                    elide: Text.ElideMiddle
                }

                CustomButton {
                    objectName: "filesButton"
                    anchors.top: cardTitle.bottom
                    anchors.topMargin: 50
                    anchors.horizontalCenter: parent.horizontalCenter
                    preferredWidth: 140
                    text: qsTr("GO TO FILES")
                    tooltip: qsTr("Show the DCP's folder in the file manager")
                    image: "qrc:/images/folder.svg"
                    onClicked: pkg.openFolder()
                }
            }

            Column {
                id: checkPanel
                objectName: "checkPanel"
                anchors.left: card.right
                anchors.right: parent.right
                anchors.top: queueRow.bottom
                anchors.leftMargin: 20
                anchors.rightMargin: 20
                spacing: 6
                visible: pkg.checkShown
                height: visible ? implicitHeight + 10 : 0

                Flow {
                    width: parent.width
                    spacing: 10
                    visible: drive_check.running
                    CustomProgressBar {
                        id: checkBar
                        width: 300
                        height: 22
                        max: 1
                        current: drive_check.progress
                        text: Math.floor(drive_check.progress * 100) + " %"
                    }
                    Text {
                        height: 22
                        verticalAlignment: Text.AlignVCenter
                        text: drive_check.remaining
                        color: "white"
                        font.pixelSize: 13
                    }
                    CustomButton {
                        preferredWidth: 90
                        height: 22
                        text: qsTr("CANCEL")
                        onClicked: drive_check.cancel()
                    }
                }

                Text {
                    objectName: "checkResult"
                    width: parent.width
                    text: drive_check.result
                    color: drive_check.problems.length > 0 ? Globals.ORANGE : "white"
                    font.pixelSize: 15
                    wrapMode: Text.Wrap
                }

                Repeater {
                    model: drive_check.running ? [] : drive_check.problems
                    Text {
                        width: checkPanel.width
                        text: "\u2022 " + modelData
                        color: "white"
                        font.pixelSize: 13
                        wrapMode: Text.Wrap
                    }
                }
            }

            // Files found on the drive at the import, kept while they are verified.
            Row {
                id: keptPanel
                objectName: "keptPanel"
                property int unchecked: pkg.statusTick >= 0 && pkg.dcp !== null
                                        ? download_mgr.keptUnchecked(pkg.dcp) : 0
                anchors.left: card.right
                anchors.top: checkPanel.bottom
                anchors.leftMargin: 20
                spacing: 10
                visible: unchecked > 0
                height: visible ? 32 : 0

                Text {
                    objectName: "keptStatus"
                    height: 22
                    verticalAlignment: Text.AlignVCenter
                    text: keptPanel.unchecked === 1 ? qsTr("Checking the file kept on the drive\u2026")
                                                    : qsTr("Checking the %1 files kept on the drive\u2026")
                                                      .arg(keptPanel.unchecked)
                    color: "white"
                    font.pixelSize: 15
                }

                CustomButton {
                    objectName: "stopKeptCheckButton"
                    preferredWidth: 90
                    height: 22
                    text: qsTr("CANCEL")
                    onClicked: download_mgr.stopCheckingKept(pkg.dcp)
                }
            }

            ListView {
                id: reelList
                anchors.left: card.right
                anchors.right: parent.right
                anchors.top: keptPanel.bottom
                anchors.bottom: parent.bottom
                anchors.margins: 10
                clip: true
                model: pkg.dcp ? pkg.dcp.reels : []
                header: Item { height: 10 }
                delegate: ReelDelagate {}
                // The rows take the focus: arrow keys move between them, Delete asks to
                // remove the reel.
                activeFocusOnTab: true
                keyNavigationWraps: false
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Reels")
                Keys.onDeletePressed: {
                    if (currentItem)
                        mainWindow.removeReel(currentItem.reel, count === 1);
                }
            }
        }

    }
}
