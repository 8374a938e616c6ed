import QtQuick 2.9
import "globals.js" as Globals

// The bar down the left of the window: the logo, and the buttons that load a package, pause or
// resume the downloads and open the portal.
Rectangle {
    id: navBar
    width: 100
    color: Globals.NAV_BAR_BG_COLOR

    Column {
        anchors.fill: parent
        anchors.topMargin: 15

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 80
            height: 80
            sourceSize.width: 80
            source: "qrc:/images/reelvane_logo.svg"
            fillMode: Image.PreserveAspectFit
        }

        Item {
            width: parent.width
            height: 15
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Globals.SPACER_COLOR
            }
        }

        NavButton {
            objectName: "loadButton"
            width: parent.width
            text: qsTr("LOAD FILE")
            tooltip: qsTr("Open a package file (Ctrl+O)")
            image: "qrc:/images/folder.svg"
            image_size: 45
            onClicked: mainWindow.openPackageDialog()
        }

        NavButton {
            id: pauseButton
            objectName: "pauseButton"

            property bool pausedSetting: false

            // Paused by the user, or held by the bandwidth schedule: a click resumes.
            function refresh() {
                pausedSetting = settings_mgr.get("download_paused") === "1" || download_mgr.paused;
            }

            width: parent.width
            text: pausedSetting ? qsTr("RESUME") : qsTr("PAUSE")
            image: pausedSetting ? "qrc:/images/play.svg" : "qrc:/images/pause.svg"
            image_size: 40
            tooltip: pausedSetting ? qsTr("Resume the downloads (Space)") : qsTr("Pause the downloads (Space)")
            onClicked: mainWindow.togglePause()
            Component.onCompleted: refresh()

            Connections {
                target: settings_mgr
                function onChanged() { pauseButton.refresh(); }
            }

            Connections {
                target: download_mgr
                function onPausedChanged() { pauseButton.refresh(); }
            }
        }

        NavButton {
            objectName: "portalButton"
            width: parent.width
            text: qsTr("LAUNCH OSKAN")
            tooltip: qsTr("Open the OSKAN portal in your web browser")
            image: "qrc:/images/globe.svg"
            image_size: 45
            onClicked: mainWindow.openPage(mainWindow.portalUrl())
        }
    }
}
