import QtQuick 2.9
import QtQuick.Controls 1.4
import "globals.js" as Globals

// The details page of the DCP shown: its actions, its place in the queue and its drive, the
// drive check and its reels.
Rectangle {
    id: page
    objectName: "dcpPage"

    property QtObject dcp: modelData || null
    property string coverSource: "qrc:/images/placeholder_cover.svg"
    // Replies to a cover probe may come back after this page is gone.
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
    // Its place among the DCPs with work left (-1: none), their number, the drive it is on
    // and whether that drive lacks room for it.
    property int queuePlace: -1
    property int queueCount: 0
    property string driveLine: ""
    property string roomLine: ""

    function refreshStatus() {
        page.statusTick++;
        if (!page.dcp)
            return;
        page.dcpPaused = download_mgr.isDcpPaused(page.dcp);
        page.canEject = typeof drive_eject !== "undefined" && drive_eject.canEject(page.dcp);
        page.unplugText = typeof drive_eject !== "undefined" ? drive_eject.unplugState(page.dcp) : "";
    }

    // The order and the drive are read again when they change, not at every progress step.
    function refreshQueueInfo() {
        if (!page.dcp)
            return;
        page.dcpPaused = download_mgr.isDcpPaused(page.dcp);
        page.queuePlace = download_mgr.queuePlace(page.dcp);
        page.queueCount = download_mgr.queueLength();
        page.driveLine = download_mgr.driveText(page.dcp);
        page.roomLine = download_mgr.roomWarningFor(page.dcp);
    }

    function openFolder() {
        if (page.dcp)
            mainWindow.openFolder(page.dcp.download_path + "/" + page.dcp.title);
    }

    width: ListView.view ? ListView.view.width : 0
    height: ListView.view ? ListView.view.height : 0
    visible: ListView.isCurrentItem
    color: Globals.DCP_DETAILS_BG_COLOR

    Component.onCompleted: {
        Globals.probeCover(page.dcp, page.probeToken, function(url) { page.coverSource = url; });
        refreshStatus();
    }
    Component.onDestruction: probeToken.alive = false

    Connections {
        target: page.dcp
        ignoreUnknownSignals: true
        function onFinishedChanged() { page.refreshStatus(); }
        function onReelsChanged() {
            page.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onStatusChanged() {
            page.refreshStatus();
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
        function onDownloadProgress(speed) { page.refreshStatus(); }
        function onDownloadFinished() { page.refreshStatus(); }
        function onDriveConnectedChanged() { page.refreshStatus(); }
    }

    Connections {
        target: typeof drive_eject !== "undefined" ? drive_eject : null
        function onChanged() { page.refreshStatus(); }
    }

    Connections {
        target: download_mgr
        function onCurrentDcpChanged() { page.refreshStatus(); }
        function onPausedChanged() { page.refreshStatus(); }
        function onServerFileDiffers(dcp, message) { page.refreshStatus(); }
        function onOrderChanged() {
            page.refreshStatus();
            page.refreshQueueInfo();
        }
        function onRoomChanged() {
            page.refreshStatus();
            page.refreshQueueInfo();
        }
    }

    // The keyboard starts on the page's first control.
    function takeFocus() {
        closeButton.forceActiveFocus();
    }

    // Wherever the focus is on the page: Space pauses or resumes the downloads, Delete
    // asks to delete the DCP (on a reel row: the reel). Escape closes it from anywhere.
    Keys.onSpacePressed: mainWindow.togglePause()
    Keys.onDeletePressed: mainWindow.removeDcp(page.dcp)

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
                    text: page.dcp ? page.dcp.friendly_title : ""
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                    color: Globals.DCP_DETAILS_MAIN_TITLE_COLOR
                    font.pixelSize: 30
                    elide: Text.ElideRight
                }
                Text {
                    width: parent.width
                    text: page.dcp ? page.dcp.title : ""
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
                    visible: page.dcp !== null && !page.isCurrent && !page.dcp.finished && !page.driveMissing
                    onClicked: download_mgr.startDownloading(page.dcp)
                }
            }

            CustomButton {
                objectName: "deleteButton"
                preferredWidth: 100
                text: qsTr("DELETE")
                onClicked: mainWindow.removeDcp(page.dcp)
            }

            // Taken while a check can start, and while one runs.
            Item {
                width: !page.driveMissing && (page.checkable || drive_check.running)
                       ? Math.max(140, checkDriveButton.neededWidth) : 0
                height: 35

                CustomButton {
                    id: checkDriveButton
                    objectName: "checkDriveButton"
                    anchors.fill: parent
                    text: qsTr("CHECK DRIVE")
                    visible: page.checkable
                    onClicked: drive_check.start(page.dcp)
                }
            }

            // Files found corrupted or missing stay marked until downloaded again, also
            // after a restart.
            CustomButton {
                objectName: "downloadAgainButton"
                preferredWidth: 170
                text: qsTr("DOWNLOAD AGAIN")
                visible: page.statusTick >= 0 && page.dcp !== null && !drive_check.running
                         && !page.driveMissing && drive_check.damagedCount(page.dcp) > 0
                onClicked: drive_check.redownloadDamaged(page.dcp)
            }

            Text {
                visible: page.driveMissing
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
                visible: page.canEject || ejecting
                enabled: !ejecting
                onClicked: {
                    ejecting = true;
                    drive_eject.eject(page.dcp);
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
                text: page.unplugText
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
            Component.onCompleted: page.refreshQueueInfo()

            CustomButton {
                objectName: "pauseDcpButton"
                preferredWidth: 160
                height: 30
                text: page.dcpPaused ? qsTr("RESUME THIS DCP") : qsTr("PAUSE THIS DCP")
                enabled: page.queuePlace >= 0
                opacity: enabled ? 1 : 0.4
                onClicked: page.dcpPaused ? download_mgr.resumeDcp(page.dcp) : download_mgr.pauseDcp(page.dcp)
            }
            CustomButton {
                objectName: "downloadNextButton"
                preferredWidth: 150
                height: 30
                text: qsTr("DOWNLOAD NEXT")
                enabled: page.queuePlace > 0 || (page.queuePlace === 0 && page.dcpPaused)
                opacity: enabled ? 1 : 0.4
                onClicked: download_mgr.downloadNext(page.dcp)
            }
            CustomButton {
                objectName: "moveUpButton"
                preferredWidth: 100
                height: 30
                text: qsTr("MOVE UP")
                enabled: page.queuePlace > 0
                opacity: enabled ? 1 : 0.4
                onClicked: download_mgr.moveUp(page.dcp)
            }
            CustomButton {
                objectName: "moveDownButton"
                preferredWidth: 110
                height: 30
                text: qsTr("MOVE DOWN")
                enabled: page.queuePlace >= 0 && page.queuePlace < page.queueCount - 1
                opacity: enabled ? 1 : 0.4
                onClicked: download_mgr.moveDown(page.dcp)
            }

            Column {
                leftPadding: 15
                Text {
                    objectName: "driveLine"
                    text: page.driveLine
                    color: "white"
                    font.pixelSize: 13
                }
                Text {
                    objectName: "roomLine"
                    visible: text !== ""
                    text: page.roomLine
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
                source: page.coverSource
            }

            Text {
                id: cardTitle
                anchors.top: pageCover.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                text: page.dcp ? page.dcp.friendly_title : ""
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
                onClicked: page.openFolder()
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
            visible: page.checkShown
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
            property int unchecked: page.statusTick >= 0 && page.dcp !== null
                                    ? download_mgr.keptUnchecked(page.dcp) : 0
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
                onClicked: download_mgr.stopCheckingKept(page.dcp)
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
            model: page.dcp ? page.dcp.reels : []
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
