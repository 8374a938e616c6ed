import QtQuick 2.9
import "globals.js" as Globals

// A flat progress bar with a text over it. value() shows the size reached, content()
// any text.
Rectangle {
    id: root

    property real max: 100
    property real initial_value: 0
    property real current: 0
    property alias text: label.text

    function clamp(val) {
        var v = Number(val);
        if (!(v > 0))
            return 0;
        return Math.min(v, root.max);
    }

    function value(val) {
        root.current = clamp(val);
        label.text = Globals.getUnit(Number(val) > 0 ? Number(val) : 0, 2).join(" ");
    }

    function content(val, txt) {
        root.current = clamp(val);
        label.text = txt;
    }

    width: 300
    height: 30
    color: "#424242"

    Rectangle {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: root.max > 0 ? root.width * root.current / root.max : 0
        color: "#a0a0a0"
    }

    Text {
        id: label
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width - 14
        // A status longer than the bar (some languages run long) shrinks a little rather than
        // running out of it.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
        minimumPointSize: 7
        color: "black"
    }

    // A user that already set a text (content()) keeps it.
    Component.onCompleted: if (label.text === "") value(initial_value)
}
