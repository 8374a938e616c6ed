import QtQuick 2.9
import "globals.js" as Globals

// A DCP's menu, opened by a right click on its tile: its own pause and its place in the
// download order. Drawn in the scene over the whole window; a click elsewhere or Escape
// closes it.
Item {
    id: root

    property QtObject dcp: null
    // Read when the menu opens: the DCP's place among the DCPs with work left (-1: none).
    property int place: -1
    property int count: 0
    property bool dcpPaused: false

    function openAt(which, x, y) {
        dcp = which;
        place = download_mgr.queuePlace(which);
        count = download_mgr.queueLength();
        dcpPaused = download_mgr.isDcpPaused(which);
        panel.x = Math.max(0, Math.min(x, width - panel.width));
        panel.y = Math.max(0, Math.min(y, height - panel.height));
        visible = true;
        forceActiveFocus();
    }

    function entryText(index) {
        return [root.dcpPaused ? qsTr("Resume this DCP") : qsTr("Pause this DCP"), qsTr("Download next"),
                qsTr("Move up"), qsTr("Move down")][index];
    }

    function entryEnabled(index) {
        if (index === 0)
            return place >= 0;
        if (index === 1)
            return place > 0 || (place === 0 && dcpPaused);
        if (index === 2)
            return place > 0;
        return place >= 0 && place < count - 1;
    }

    function close() {
        visible = false;
        dcp = null;
    }

    // Closes first: the action may change the catalogue under the menu.
    function run(action) {
        var which = dcp;
        close();
        if (which)
            action(which);
    }

    visible: false
    z: 20
    Keys.onEscapePressed: close()

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: root.close()
    }

    Rectangle {
        id: panel
        objectName: "dcpMenu"
        width: 200
        height: entries.implicitHeight + 8
        color: Globals.NAV_BAR_BG_COLOR
        border.color: Globals.BTN_ACTIVE_BG_COLOR

        Column {
            id: entries
            anchors.fill: parent
            anchors.margins: 4

            // Four fixed entries, so that none is built again while the menu is open.
            Repeater {
                model: 4

                Rectangle {
                    objectName: ["menuPause", "menuNext", "menuUp", "menuDown"][index]
                    width: entries.width
                    height: 30
                    enabled: root.entryEnabled(index)
                    color: entryArea.containsMouse && enabled ? Globals.BTN_ACTIVE_BG_COLOR : "transparent"

                    Text {
                        anchors.left: parent.left
                        anchors.leftMargin: 10
                        anchors.verticalCenter: parent.verticalCenter
                        text: root.entryText(index)
                        color: parent.enabled ? "white" : Globals.NAV_BAR_BTN_COLOR
                        font.pixelSize: 14
                    }

                    MouseArea {
                        id: entryArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: root.run(function(which) {
                            if (index === 0)
                                root.dcpPaused ? download_mgr.resumeDcp(which) : download_mgr.pauseDcp(which);
                            else if (index === 1)
                                download_mgr.downloadNext(which);
                            else if (index === 2)
                                download_mgr.moveUp(which);
                            else
                                download_mgr.moveDown(which);
                        })
                    }
                }
            }
        }
    }
}
