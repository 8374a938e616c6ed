import QtQuick 2.9
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.2
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

    function refreshStatus() {
        if (!pkg.dcp || !tileBar)
            return;
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

    function openFolder() {
        if (!pkg.dcp)
            return;
        Qt.openUrlExternally(Globals.localFileUrl(pkg.dcp.download_path + "/" + pkg.dcp.title));
    }

    Component.onCompleted: probeCover()
    Component.onDestruction: probeToken.alive = false

    Connections {
        target: pkg.dcp
        ignoreUnknownSignals: true
        function onFinishedChanged() { pkg.refreshStatus(); }
        function onReelsChanged() { pkg.refreshStatus(); }
        function onStatusChanged() { pkg.refreshStatus(); }
        function onDownloadProgress(speed) { pkg.refreshStatus(); }
        function onDownloadFinished() { pkg.refreshStatus(); }
        function onDriveConnectedChanged() { pkg.refreshStatus(); }
    }

    Connections {
        target: download_mgr
        function onCurrentDcpChanged() { pkg.refreshStatus(); }
        function onPausedChanged() { pkg.refreshStatus(); }
        function onServerFileDiffers(dcp, message) { pkg.refreshStatus(); }
    }

    Item {
        id: tile
        Package.name: "browser"
        width: 210
        height: 435

        Rectangle {
            width: 200
            height: 400
            color: Globals.DCP_BG_COLOR

            Image {
                id: tileCover
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                height: 303
                fillMode: Image.PreserveAspectCrop
                clip: true
                asynchronous: true
                source: pkg.coverSource
            }

            Text {
                anchors.top: tileCover.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                height: 40
                text: pkg.dcp ? pkg.dcp.friendly_title : ""
                color: Globals.DCP_TITLE_COLOR
                font.pixelSize: 15
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                elide: Text.ElideMiddle
                maximumLineCount: 2
            }

            CustomProgressBar {
                id: tileBar
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
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: mainWindow.showDetails(index)
            }
        }
    }

    Rectangle {
        id: page
        Package.name: "fullscreen"
        width: ListView.view ? ListView.view.width : 0
        height: ListView.view ? ListView.view.height : 0
        visible: ListView.isCurrentItem
        color: Globals.DCP_DETAILS_BG_COLOR

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

            Row {
                id: actions
                anchors.left: parent.left
                anchors.top: header.bottom
                anchors.leftMargin: 20
                height: 50
                spacing: 5

                CustomButton {
                    width: 150
                    text: "START DOWNLOAD"
                    visible: pkg.dcp !== null && !pkg.isCurrent && !pkg.dcp.finished && !pkg.driveMissing
                    onClicked: download_mgr.startDownloading(pkg.dcp)
                }

                CustomButton {
                    width: 100
                    text: "DELETE"
                    onClicked: deleteDialog.open()
                }

                Text {
                    visible: pkg.driveMissing
                    height: 35
                    verticalAlignment: Text.AlignVCenter
                    leftPadding: 10
                    text: Globals.DRIVE_NOT_CONNECTED
                    color: Globals.ORANGE
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 15
                }
            }

            Rectangle {
                id: card
                anchors.left: parent.left
                anchors.top: actions.bottom
                anchors.leftMargin: 20
                width: 200
                height: 350
                color: Globals.DCP_BG_COLOR

                Image {
                    id: pageCover
                    anchors.top: parent.top
                    anchors.left: parent.left
                    anchors.right: parent.right
                    height: 303
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
                    anchors.top: cardTitle.bottom
                    anchors.topMargin: 50
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 140
                    text: "GO TO FILES"
                    image: "qrc:/images/folder.svg"
                    onClicked: pkg.openFolder()
                }
            }

            ListView {
                id: reelList
                anchors.left: card.right
                anchors.right: parent.right
                anchors.top: actions.bottom
                anchors.bottom: parent.bottom
                anchors.margins: 10
                clip: true
                model: pkg.dcp ? pkg.dcp.reels : []
                header: Item { height: 10 }
                delegate: ReelDelagate {}
            }
        }

        Rectangle {
            anchors.right: panel.left
            anchors.top: parent.top
            anchors.topMargin: 10
            width: 50
            height: 50
            color: Globals.DCP_DETAILS_BTN_CLOSE_BG_COLOR

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
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: {
                    body.state = "all";
                    if (pkg.dcp)
                        pkg.dcp_total_size = pkg.dcp.getTotalSize();
                    pkg.refreshStatus();
                }
            }
        }

        MessageDialog {
            id: deleteDialog
            title: "Warning..."
            text: "You are about to delete a DCP.\r\n\r\nThis will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader."
            informativeText: "Would you like to continue ?"
            icon: StandardIcon.Warning
            standardButtons: StandardButton.Yes | StandardButton.Cancel
            onYes: {
                var dcp = pkg.dcp;
                body.state = "all";
                if (dcp)
                    download_mgr.removeDownload(dcp);
            }
        }
    }
}
