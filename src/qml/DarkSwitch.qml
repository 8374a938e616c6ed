import QtQuick 2.9
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import "globals.js" as Globals

// An on/off switch, dark like the rest of the window.
Switch {
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
}
