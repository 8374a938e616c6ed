import QtQuick 2.9
import QtQuick.Controls 1.4
import "globals.js" as Globals

// The weekly bandwidth schedule: 7 days of 24 hours, each painted with one rule, with the
// mouse (press and drag) or the keyboard (arrows move, Space paints, 1 to 4 pick the rule).
// Drawn in the scene over the whole window; nothing is kept until SAVE.
Item {
    id: root

    // The week being edited, in the schedule's letters (N, L, A, P), Monday 00:00 first.
    property string week: ""
    property string brush: "N"
    property bool on: false
    property int alternative: 10
    property int cursorIndex: 0

    readonly property var rules: ["N", "L", "A", "P"]
    readonly property var colours: ({ "N": "#2e7d32", "L": "#1f5f99", "A": "#b36b00", "P": Globals.RED })

    function ruleName(rule) {
        if (rule === "N")
            return qsTr("No limit");
        if (rule === "L") {
            var limit = parseInt(settings_mgr.get("download_limit"));
            return qsTr("Limit (%1 Mbps)").arg(isNaN(limit) || limit < 1 ? 200 : limit);
        }
        if (rule === "A")
            return qsTr("Alternative limit");
        return qsTr("Paused");
    }

    function open() {
        week = schedule_mgr.week;
        on = schedule_mgr.enabled;
        alternative = schedule_mgr.alternative_limit;
        altSlider.value = alternative;
        onSwitch.checked = on;
        visible = true;
        grid.forceActiveFocus();
    }

    function close() {
        visible = false;
    }

    function save() {
        schedule_mgr.save(on, week, alternative);
        close();
    }

    function paint(index) {
        if (index < 0 || index >= 168 || week.charAt(index) === brush)
            return;
        week = week.substring(0, index) + brush + week.substring(index + 1);
    }

    visible: false
    z: 30

    // Escape cancels from any control of the dialog, as CANCEL does.
    Keys.onEscapePressed: close()

    // Nothing under the dialog takes a click while it is open.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        color: "#b0000000"
    }

    Rectangle {
        id: panel
        objectName: "scheduleDialog"
        anchors.centerIn: parent
        // As wide as it needs, no wider than the window leaves: the hours shrink on a small one.
        width: Math.min(960, root.width - 20)
        height: content.implicitHeight + 40
        color: Globals.DCP_DETAILS_BODY_COLOR
        border.color: Globals.BTN_ACTIVE_BG_COLOR

        Column {
            id: content
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 20
            spacing: 14

            Row {
                spacing: 20
                Text {
                    text: qsTr("Bandwidth schedule")
                    color: "white"
                    font.pixelSize: 22
                }
                DarkSwitch {
                    id: onSwitch
                    objectName: "scheduleOnSwitch"
                    anchors.verticalCenter: parent.verticalCenter
                    checked: root.on
                    onCheckedChanged: root.on = checked
                    Accessible.name: qsTr("Bandwidth schedule")
                    // Tab goes round the dialog's controls, never to the window behind it.
                    KeyNavigation.backtab: saveButton
                    FocusRing {}
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.on ? qsTr("On: the rules below apply at each hour")
                                  : qsTr("Off: the slider and the switch alone apply")
                    color: root.on ? "white" : Globals.NAV_BAR_BTN_COLOR
                    font.pixelSize: 14
                }
            }

            // The brushes.
            Row {
                spacing: 10
                Repeater {
                    model: root.rules
                    Rectangle {
                        objectName: "brush" + modelData
                        // Picked with keys 1 to 4 while the hours have the focus.
                        Accessible.role: Accessible.RadioButton
                        Accessible.name: brushLabel.text
                        Accessible.checked: root.brush === modelData
                        Accessible.onPressAction: root.brush = modelData
                        width: brushLabel.implicitWidth + 44
                        height: 30
                        radius: 6
                        color: root.brush === modelData ? Globals.BTN_ACTIVE_BG_COLOR : "transparent"
                        border.color: root.brush === modelData ? "white" : Globals.BTN_ACTIVE_BG_COLOR
                        Rectangle {
                            x: 8
                            anchors.verticalCenter: parent.verticalCenter
                            width: 18
                            height: 18
                            color: root.colours[modelData]
                        }
                        Text {
                            id: brushLabel
                            x: 34
                            anchors.verticalCenter: parent.verticalCenter
                            text: (index + 1) + "  " + root.ruleName(modelData)
                            color: "white"
                            font.pixelSize: 14
                        }
                        MouseArea {
                            anchors.fill: parent
                            cursorShape: Qt.PointingHandCursor
                            onClicked: {
                                root.brush = modelData;
                                grid.forceActiveFocus();
                            }
                        }
                    }
                }
            }

            Flow {
                width: parent.width
                spacing: 10
                Text {
                    height: 30
                    verticalAlignment: Text.AlignVCenter
                    text: qsTr("Alternative limit:")
                    color: "white"
                    font.pixelSize: 14
                }
                Slider {
                    id: altSlider
                    objectName: "alternativeSlider"
                    width: 220
                    height: 30
                    minimumValue: 1
                    maximumValue: 200
                    stepSize: 1
                    onValueChanged: root.alternative = value
                    Accessible.name: qsTr("Alternative limit")
                    FocusRing {}
                }
                Text {
                    objectName: "alternativeLabel"
                    height: 30
                    verticalAlignment: Text.AlignVCenter
                    text: qsTr("%1 Mbps").arg(root.alternative)
                    color: "white"
                    font.family: "Courier"
                    font.pixelSize: 14
                }
                Item { width: 30; height: 1 }
                CustomButton {
                    objectName: "presetNight"
                    preferredWidth: 250
                    height: 30
                    text: qsTr("Full speed at night, 22:00\u201308:00")
                    onClicked: root.week = schedule_mgr.presetWeek("night")
                }
                CustomButton {
                    objectName: "presetWeekdays"
                    preferredWidth: 210
                    height: 30
                    text: qsTr("Weekdays limited by day")
                    onClicked: root.week = schedule_mgr.presetWeek("weekdays")
                }
            }

            // Hours across, days down.
            Item {
                id: grid
                objectName: "scheduleGrid"

                readonly property int labelWidth: 60
                readonly property int cell: Math.max(20, Math.min(34, Math.floor((content.width - labelWidth) / 24)))
                readonly property int rowHeight: Math.max(20, Math.min(30, cell - 4))

                function indexAt(x, y) {
                    var hour = Math.floor((x - labelWidth) / cell);
                    var day = Math.floor((y - rowHeight) / rowHeight);
                    if (hour < 0 || hour > 23 || day < 0 || day > 6)
                        return -1;
                    return day * 24 + hour;
                }

                width: labelWidth + 24 * cell
                height: 8 * rowHeight
                activeFocusOnTab: true
                // Read out as the hour under the cursor and its rule, as the cursor moves.
                Accessible.role: Accessible.Table
                Accessible.name: Qt.locale().dayName((Math.floor(root.cursorIndex / 24) + 1) % 7)
                                 + " " + (root.cursorIndex % 24 < 10 ? "0" : "") + root.cursorIndex % 24
                                 + ":00, " + root.ruleName(root.week.charAt(root.cursorIndex))
                Accessible.description: hint.text

                Keys.onPressed: {
                    var i = root.cursorIndex;
                    if (event.key === Qt.Key_Left)
                        i = i % 24 === 0 ? i + 23 : i - 1;
                    else if (event.key === Qt.Key_Right)
                        i = i % 24 === 23 ? i - 23 : i + 1;
                    else if (event.key === Qt.Key_Up)
                        i = (i + 168 - 24) % 168;
                    else if (event.key === Qt.Key_Down)
                        i = (i + 24) % 168;
                    else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return)
                        root.paint(i);
                    else if (event.key >= Qt.Key_1 && event.key <= Qt.Key_4)
                        root.brush = root.rules[event.key - Qt.Key_1];
                    else if (event.key === Qt.Key_Escape)
                        root.close();
                    else
                        return;
                    root.cursorIndex = i;
                    event.accepted = true;
                }

                Repeater {
                    model: 24
                    Text {
                        x: grid.labelWidth + index * grid.cell
                        width: grid.cell
                        height: grid.rowHeight
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        text: (index < 10 ? "0" : "") + index
                        color: Globals.DCP_DETAILS_REEL_NUMBER_COLOR
                        font.pixelSize: 12
                    }
                }

                Repeater {
                    model: 7
                    Text {
                        y: (index + 1) * grid.rowHeight
                        width: grid.labelWidth
                        height: grid.rowHeight
                        verticalAlignment: Text.AlignVCenter
                        text: Qt.locale().dayName((index + 1) % 7, Locale.ShortFormat)
                        color: "white"
                        font.pixelSize: 14
                    }
                }

                Repeater {
                    model: 168
                    Rectangle {
                        x: grid.labelWidth + (index % 24) * grid.cell + 1
                        y: (Math.floor(index / 24) + 1) * grid.rowHeight + 1
                        width: grid.cell - 2
                        height: grid.rowHeight - 2
                        color: root.colours[root.week.charAt(index)] || "black"
                        border.width: grid.activeFocus && root.cursorIndex === index ? 2 : 0
                        border.color: "white"
                    }
                }

                MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        grid.forceActiveFocus();
                        var i = grid.indexAt(mouse.x, mouse.y);
                        if (i >= 0) {
                            root.cursorIndex = i;
                            root.paint(i);
                        }
                    }
                    onPositionChanged: root.paint(grid.indexAt(mouse.x, mouse.y))
                }
            }

            Text {
                id: hint
                text: qsTr("Paint hours with the mouse, or move with the arrow keys and press Space; keys 1 to 4 pick the rule. Moving the slider or the switch by hand overrides the schedule until its next change.")
                width: parent.width
                wrapMode: Text.WordWrap
                color: Globals.DCP_DETAILS_REEL_NUMBER_COLOR
                font.pixelSize: 13
            }

            Row {
                spacing: 10
                anchors.right: parent.right
                CustomButton {
                    objectName: "scheduleCancel"
                    preferredWidth: 120
                    text: qsTr("CANCEL")
                    onClicked: root.close()
                }
                CustomButton {
                    id: saveButton
                    objectName: "scheduleSave"
                    preferredWidth: 120
                    text: qsTr("SAVE")
                    state: Globals.BTN_ACTIVE_STATE
                    onClicked: root.save()
                    KeyNavigation.tab: onSwitch
                }
            }
        }
    }
}
