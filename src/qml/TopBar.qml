import QtQuick 2.9
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import "globals.js" as Globals

// Over the grid: the search field and the buttons that sort the DCPs by date or by name.
Rectangle {
    id: topBar

    // As a click on DATE would.
    function sortByDate() {
        dateButton.click();
    }

    height: 133
    color: Globals.NAV_TOP_BG_COLOR

    Rectangle {
        id: searchBox
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        anchors.topMargin: 13
        height: 60
        color: Globals.SEARCH_INPUT_BG_COLOR

        Image {
            id: searchIcon
            anchors.left: parent.left
            anchors.leftMargin: 15
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 40
            sourceSize.width: 40
            sourceSize.height: 40
            source: "qrc:/images/search.svg"
        }

        Rectangle {
            id: searchSpacer
            anchors.left: searchIcon.right
            anchors.leftMargin: 15
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 1
            color: Globals.SEARCH_SPACER_COLOR
        }

        TextField {
            id: searchField
            objectName: "searchField"
            anchors.left: searchSpacer.right
            anchors.right: parent.right
            anchors.leftMargin: 10
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            height: 40
            placeholderText: qsTr("Search DCPs...")
            focus: true
            Accessible.name: qsTr("Search DCPs")
            font.pixelSize: 18
            textColor: "white"
            style: TextFieldStyle {
                textColor: "white"
                placeholderTextColor: "#8a8a8a"
                background: Item {}
            }
            Keys.onReleased: dcp_mgr.setSearchFilter(searchField.text)
        }
    }

    CustomButton {
        id: dateButton
        objectName: "sortByDate"
        anchors.right: azButton.left
        anchors.rightMargin: 15
        anchors.top: azButton.top
        preferredWidth: 60
        text: qsTr("DATE", "sort by date")
        accessibleName: qsTr("Sort by date")
        state: Globals.BTN_ACTIVE_STATE
        onClicked: {
            dateButton.state = Globals.BTN_ACTIVE_STATE;
            azButton.state = Globals.BTN_DEFAULT_STATE;
            dcp_mgr.sortDCPsBy("date");
        }
    }

    CustomButton {
        id: azButton
        objectName: "sortByName"
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.top: searchBox.bottom
        anchors.topMargin: 15
        preferredWidth: 60
        text: qsTr("A-Z", "sort by name")
        accessibleName: qsTr("Sort by name")
        onClicked: {
            azButton.state = Globals.BTN_ACTIVE_STATE;
            dateButton.state = Globals.BTN_DEFAULT_STATE;
            dcp_mgr.sortDCPsBy("name");
        }
    }
}
