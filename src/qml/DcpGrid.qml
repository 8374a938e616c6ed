import QtQuick 2.9
import QtQuick.Controls 1.4

// The DCPs as tiles, with a scroll bar when they overflow.
ScrollView {
    id: gridScroll
    objectName: "gridScroll"

    // The tiles' view: its current tile is the one the keyboard is on.
    property alias view: grid

    // Once the number of DCPs has changed and stayed so.
    signal countSettled()

    horizontalScrollBarPolicy: Qt.ScrollBarAlwaysOff
    style: DarkScrollStyle {}

    // Arrow keys move between the tiles, Return opens one, Delete asks to delete it,
    // Space pauses or resumes the downloads.
    GridView {
        id: grid
        objectName: "grid"
        activeFocusOnTab: true
        Accessible.role: Accessible.List
        Accessible.name: qsTr("DCPs")
        Keys.onReturnPressed: if (currentItem) mainWindow.showDetails(currentItem.dcp)
        Keys.onEnterPressed: if (currentItem) mainWindow.showDetails(currentItem.dcp)
        Keys.onDeletePressed: if (currentItem) mainWindow.removeDcp(currentItem.dcp)
        Keys.onSpacePressed: mainWindow.togglePause()
        // The keyboard arrives on a tile, never on nothing.
        onActiveFocusChanged: {
            if (activeFocus && currentIndex < 0 && count > 0)
                currentIndex = 0;
        }
        cellWidth: 210
        // A whole tile in view however short the window: 400 high (the cell 435), or
        // what there is.
        cellHeight: Math.max(285, Math.min(435, gridScroll.viewport.height))
        clip: true
        model: dcp_mgr.dcps
        delegate: DcpTile {}

        property int settledCount: -1

        // Deferred, so the model reset that a sort causes is seen settled and starts no loop.
        function settle() {
            if (count === settledCount)
                return;
            settledCount = count;
            gridScroll.countSettled();
        }

        onCountChanged: Qt.callLater(settle)
    }
}
