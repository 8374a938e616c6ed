import QtQuick 2.9
import "globals.js" as Globals

// A rounded button outlined in its colour: "active" fills it, and so does hovering;
// leaving restores the fill of the current state. Reached with Tab and pressed with Return,
// Enter or Space; named for screen readers by its text unless given a name of its own.
Item {
    id: root

    property alias text: label.text
    property alias image: icon.source
    property int image_size: 30
    property color color: Globals.BTN_ACTIVE_BG_COLOR
    property bool hovered: false
    property string tooltip: ""
    property string accessibleName: label.text

    signal clicked()

    function click() {
        if (root.enabled)
            root.clicked();
    }

    // The width asked for, grown to hold the label (and icon) when a translation runs longer.
    property real preferredWidth: 215
    readonly property real neededWidth: label.implicitWidth + (icon.visible ? root.image_size + 24 : 20)

    width: Math.max(preferredWidth, neededWidth)
    height: 35
    state: Globals.BTN_DEFAULT_STATE
    opacity: enabled ? 1 : 0.5
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: root.accessibleName
    Accessible.description: root.tooltip
    Accessible.onPressAction: root.click()

    Keys.onReturnPressed: root.click()
    Keys.onEnterPressed: root.click()
    Keys.onSpacePressed: root.click()

    Rectangle {
        anchors.fill: parent
        radius: 8
        border.width: 2
        border.color: root.color
        color: (root.hovered || root.state === Globals.BTN_ACTIVE_STATE) ? root.color : "transparent"
    }

    Image {
        id: icon
        visible: source != ""
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        width: root.image_size
        height: root.image_size
        sourceSize.width: root.image_size
        sourceSize.height: root.image_size
        fillMode: Image.PreserveAspectFit
    }

    Text {
        id: label
        anchors.centerIn: parent
        anchors.horizontalCenterOffset: icon.visible ? root.image_size / 2 : 0
        color: "white"
        font.pixelSize: 14
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onEntered: root.hovered = true
        onExited: root.hovered = false
        onClicked: root.click()
    }

    HoverTip {
        area: mouse
        text: root.tooltip
    }

    FocusRing {}

    states: [
        State { name: Globals.BTN_DEFAULT_STATE },
        State { name: Globals.BTN_ACTIVE_STATE }
    ]
}
