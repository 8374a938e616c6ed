import QtQuick 2.9
import "globals.js" as Globals

// Drawn around its parent while the parent has the keyboard focus, or while shown is set.
Rectangle {
    property bool shown: parent ? parent.activeFocus : false

    anchors.fill: parent
    anchors.margins: -3
    visible: shown
    color: "transparent"
    radius: 4
    border.width: 2
    border.color: Globals.FOCUS_COLOR
    z: 100
}
