import QtQuick 2.9
import "globals.js" as Globals

// A navigation bar entry: icon above a small label, highlighted while hovered. Reached with
// Tab and pressed with Return, Enter or Space.
Rectangle {
    id: root

    property alias text: label.text
    property alias image: icon.source
    property int image_size: 50
    property string tooltip: ""

    signal clicked()

    height: 80
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: label.text
    Accessible.description: root.tooltip
    Accessible.onPressAction: root.clicked()

    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()
    Keys.onSpacePressed: root.clicked()
    color: mouse.containsMouse ? "#141415" : "transparent"

    Image {
        id: icon
        anchors.top: parent.top
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
        width: root.image_size
        height: root.image_size
        sourceSize.width: root.image_size
        sourceSize.height: root.image_size
        fillMode: Image.PreserveAspectFit
    }

    Text {
        id: label
        anchors.top: icon.bottom
        anchors.topMargin: 4
        anchors.horizontalCenter: parent.horizontalCenter
        width: root.width - 4
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: 13
        // A label wider than the bar shrinks a little rather than being cut.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
        color: mouse.containsMouse ? Globals.RED : Globals.NAV_BAR_BTN_COLOR
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }

    HoverTip {
        area: mouse
        text: root.tooltip
    }

    FocusRing {
        anchors.margins: 2
    }
}
