import QtQuick 2.9
import QtQuick.Controls.Styles 1.4
import "globals.js" as Globals

// The scroll bars of the window's dark views: a grey handle on the bar's colour, no arrows.
ScrollViewStyle {
    transientScrollBars: false
    handle: Item {
        implicitWidth: 12
        Rectangle {
            anchors.fill: parent
            anchors.margins: 2
            radius: 4
            color: styleData.pressed || styleData.hovered ? "#6e6e6e" : Globals.BTN_ACTIVE_BG_COLOR
        }
    }
    scrollBarBackground: Rectangle { implicitWidth: 12; color: Globals.NAV_BAR_BG_COLOR }
    incrementControl: Item {}
    decrementControl: Item {}
    corner: Item {}
    frame: Item {}
}
