import QtQuick 2.9

// A small square icon button. Its tooltip says what it does, and names it for screen readers.
Item {
    id: root

    property alias image: icon.source
    property string tooltip: ""

    signal clicked()

    width: 30
    height: 30
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: root.tooltip
    Accessible.onPressAction: root.clicked()

    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()
    Keys.onSpacePressed: root.clicked()

    Image {
        id: icon
        anchors.fill: parent
        anchors.margins: 5
        sourceSize.width: width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
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

    FocusRing {}
}
