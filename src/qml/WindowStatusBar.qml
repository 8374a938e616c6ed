import QtQuick 2.9
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import "globals.js" as Globals

// The window's status bar: the speed limit with its switch and the schedule's button, what
// the downloads are doing, and under them what the schedule applies and a drive short of room.
StatusBar {
    id: statusBar

    // The window writes the status line as the engine reports; it reads the limit and the switch.
    property alias text: statusLabel.text
    property alias detail: statusLabel.detail
    property alias proxyText: statusLabel.proxyText
    property alias limit: limitSlider.value
    property alias noLimit: noLimitSwitch.checked

    // While the bandwidth schedule rules, the slider and the switch show what it applies;
    // moving them then is not a choice of the user's and stores nothing.
    property bool followingSchedule: false

    function followSchedule() {
        followingSchedule = true;
        limitSlider.value = schedule_mgr.shown_limit;
        noLimitSwitch.checked = schedule_mgr.shown_no_limit;
        limitSlider.apply(limitSlider.value);
        followingSchedule = false;
    }

    style: StatusBarStyle {
        background: Rectangle { color: Globals.NAV_BAR_BG_COLOR }
    }

    // The limit at the left and the status at the right, on one line where the window is
    // wide enough for both; on a narrow window the status takes a line of its own.
    Item {
        id: statusRow

        readonly property bool oneLine: width >= limitRow.width + 20 + statusRoom.width

        anchors.fill: parent
        implicitWidth: limitRow.width
        readonly property real firstLines: oneLine ? Math.max(limitRow.height, statusLabel.height)
                                                   : limitRow.height + 4 + statusLabel.height
        implicitHeight: firstLines + (noticeRow.visible ? noticeRow.height + 2 : 0)

        TextMetrics {
            id: statusMeasure
            font: statusLabel.font
            text: statusLabel.text
        }

        // The longest line the status shows while data arrives.
        TextMetrics {
            id: statusRoom
            font: statusLabel.font
            text: Globals.remainingTimeText(999 * 3600 * Globals.MEGA_BIT, Globals.MEGA_BIT)
        }

        Row {
            id: limitRow
            spacing: 6
            y: statusRow.oneLine ? (statusRow.firstLines - height) / 2 : 0

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Speed limit: ")
                color: "white"
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
            }

            Slider {
                id: limitSlider
                objectName: "limitSlider"

                // Applies a slider position: the engine's limit and the label.
                function apply(limit) {
                    var speed = limit * Globals.MEGA_BIT;
                    download_mgr.read_chunk_size = speed;
                    var s = Globals.getSpeedAsMbps(speed, 2);
                    limitLabel.text = Globals.pad(s[0], 7) + " " + s[1];
                }

                anchors.verticalCenter: parent.verticalCenter
                width: 220
                minimumValue: 1
                maximumValue: 200
                stepSize: 1
                enabled: !noLimitSwitch.checked
                onValueChanged: apply(value)
                // Kept when the handle is let go, and when a key moved it.
                function save() {
                    if (!mainWindow.created)
                        return;
                    if (schedule_mgr.enabled) {
                        schedule_mgr.limitSetByHand(value);
                        return;
                    }
                    if (settings_mgr.get("download_limit") === String(value))
                        return;
                    settings_mgr.set("download_limit", String(value));
                    settings_mgr.save();
                    console.log("[MainWindow] Speed limit saved:", value);
                }

                Accessible.name: qsTr("Speed limit")
                onPressedChanged: if (!pressed) save()
                Keys.onReleased: {
                    var moves = [Qt.Key_Left, Qt.Key_Right, Qt.Key_Up, Qt.Key_Down, Qt.Key_PageUp,
                                 Qt.Key_PageDown, Qt.Key_Home, Qt.Key_End];
                    event.accepted = moves.indexOf(event.key) >= 0;
                    if (event.accepted)
                        save();
                }

                FocusRing {}
                Component.onCompleted: {
                    var stored = parseInt(settings_mgr.get("download_limit"));
                    value = (isNaN(stored) || stored === 0) ? 200 : stored;
                    // A start at the minimum signals no change; apply it in every case.
                    apply(value);
                }
            }

            Text {
                id: limitLabel
                objectName: "limitLabel"
                anchors.verticalCenter: parent.verticalCenter
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                // Greyed with the slider while no limit applies.
                color: noLimitSwitch.checked ? Globals.NAV_BAR_BTN_COLOR : "white"
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
            }

            Item { width: 6; height: 1 }

            Switch {
                id: noLimitSwitch
                objectName: "noLimitSwitch"

                function applyLimitOff(on) {
                    if (typeof download_mgr.limit_off !== "undefined")
                        download_mgr.limit_off = on;
                    // Back under a limit: the slider's value applies again.
                    if (!on)
                        limitSlider.apply(limitSlider.value);
                }

                anchors.verticalCenter: parent.verticalCenter
                Accessible.name: qsTr("No limit")
                // Dark, like the rest of the window.
                style: SwitchStyle {
                    groove: Rectangle {
                        implicitWidth: 44
                        implicitHeight: 18
                        radius: 9
                        color: control.checked ? Globals.BTN_ACTIVE_BG_COLOR : Globals.SEARCH_INPUT_BG_COLOR
                        border.color: Globals.BTN_ACTIVE_BG_COLOR
                    }
                    handle: Rectangle {
                        implicitWidth: 18
                        implicitHeight: 18
                        radius: 9
                        color: control.checked ? "white" : Globals.NAV_BAR_BTN_COLOR
                        border.color: Globals.SEARCH_SPACER_COLOR
                    }
                }

                FocusRing {}
                onCheckedChanged: {
                    applyLimitOff(checked);
                    if (!mainWindow.created || statusBar.followingSchedule)
                        return;
                    if (schedule_mgr.enabled) {
                        schedule_mgr.noLimitSetByHand(checked);
                        return;
                    }
                    settings_mgr.set("download_limit_off", checked ? "1" : "0");
                    settings_mgr.save();
                    console.log("[MainWindow] No limit:", checked ? "on" : "off");
                }
                Component.onCompleted: checked = settings_mgr.get("download_limit_off") === "1"
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("No limit")
                color: noLimitSwitch.checked ? "white" : Globals.NAV_BAR_BTN_COLOR
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
                MouseArea {
                    objectName: "noLimitLabel"
                    anchors.fill: parent
                    onClicked: noLimitSwitch.checked = !noLimitSwitch.checked
                }
            }

            Item { width: 6; height: 1 }

            CustomButton {
                objectName: "scheduleButton"
                anchors.verticalCenter: parent.verticalCenter
                preferredWidth: 100
                height: 22
                text: qsTr("Schedule…")
                onClicked: mainWindow.openSchedule()
            }
        }

        Text {
            id: statusLabel
            objectName: "statusLabel"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            // At the right, never narrower than its line, so the remaining time is never
            // cut; under the limit on a narrow window.
            x: statusRow.oneLine ? statusRow.width - width : 0
            y: statusRow.oneLine ? (statusRow.firstLines - height) / 2 : limitRow.height + 4
            width: statusRow.oneLine
                   ? Math.min(statusRow.width - limitRow.width - 20, Math.max(300, statusMeasure.width))
                   : statusRow.width
            text: Globals.idleStatus(false, 0)
            color: "white"
            elide: Text.ElideRight
            font.family: "Courier"
            font.weight: Font.Medium
            font.pixelSize: 13
            // Why the server is not answering (a refused certificate, a proxy...), shown
            // while the pointer rests on the line.
            property string detail: ""
            // The last "Proxy requires authentication" line; it stays like a server problem.
            property string proxyText: ""
            onTextChanged: if (text !== Globals.serverNotAnsweringText()) detail = ""
            MouseArea {
                id: statusHover
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.NoButton
            }
            Rectangle {
                visible: statusHover.containsMouse && statusLabel.detail !== ""
                z: 10
                anchors.bottom: parent.top
                anchors.right: parent.right
                width: statusDetail.implicitWidth + 12
                height: statusDetail.implicitHeight + 8
                color: "#202020"
                border.color: "white"
                Text {
                    id: statusDetail
                    anchors.centerIn: parent
                    text: statusLabel.detail
                    color: "white"
                    font.pixelSize: 12
                }
            }
        }

        // What the bandwidth schedule applies now, and a DCP whose drive lacks room.
        Row {
            id: noticeRow
            y: statusRow.firstLines + 2
            width: statusRow.width
            spacing: 20
            visible: scheduleStatus.text !== "" || roomStatus.text !== ""

            Text {
                id: scheduleStatus
                objectName: "scheduleStatus"
                visible: text !== ""
                text: schedule_mgr.status
                color: "white"
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
            }

            Text {
                id: roomStatus
                objectName: "roomStatus"
                width: noticeRow.width - (scheduleStatus.visible ? scheduleStatus.width + noticeRow.spacing : 0)
                visible: text !== ""
                text: download_mgr.room_warning
                color: Globals.ORANGE
                elide: Text.ElideRight
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
            }
        }
    }
}
