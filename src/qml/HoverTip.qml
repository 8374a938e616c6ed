import QtQuick 2.9
import QtQuick.Controls.Private 1.0

// The desktop's tooltip for a mouse area, shown once the pointer rested on it for a moment
// and hidden when it leaves.
QtObject {
    id: tip

    property MouseArea area: null
    property string text: ""

    property Connections follower: Connections {
        target: tip.area
        function onContainsMouseChanged() {
            if (tip.area.containsMouse) {
                delay.restart();
            } else {
                delay.stop();
                Tooltip.hideText();
            }
        }
    }

    property Timer delay: Timer {
        id: delay
        interval: 600
        onTriggered: {
            if (tip.area && tip.area.containsMouse && tip.text !== "")
                Tooltip.showText(tip.area, Qt.point(tip.area.mouseX, tip.area.mouseY), tip.text);
        }
    }
}
