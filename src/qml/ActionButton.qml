import QtQuick 2.9

// A small square icon button.
Item {
    id: root

    property alias image: icon.source

    signal clicked()

    width: 30
    height: 30

    Image {
        id: icon
        anchors.fill: parent
        anchors.margins: 5
        sourceSize.width: width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }
}
