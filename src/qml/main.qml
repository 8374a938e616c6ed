import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.2
import "globals.js" as Globals

ApplicationWindow {
    id: mainWindow

    // Whether data is arriving right now; the title shows the current DCP's progress then.
    property bool downloading: false
    property real currentDownloaded: 0
    property real currentTotal: 0
    property string currentName: ""
    property bool created: false
    property QtObject shownDcp: null

    // The package dialog opens in the Downloads folder, where the portal's file usually is.
    function openPackageDialog() {
        if (!actions()) {
            packageDialog.open();
            return;
        }
        var path = actions().choosePackage();
        if (path !== "")
            importPackage(path);
    }

    function togglePause() {
        if (settings_mgr.get("download_paused") === "1")
            download_mgr.resumeDownloading();
        else
            download_mgr.pauseDownloading();
    }

    // The dialog's choice and a dropped file take the same road into the catalogue, as a
    // plain path: file names with "#", "%" or blanks stay whole.
    function importPackage(url) {
        if (url === "")
            return;
        body.state = "all";
        dcp_mgr.loadDCPFromFile(Globals.localPathFromUrl(url));
    }

    function portalUrl() {
        return typeof portal_url !== "undefined" ? portal_url : Globals.PORTAL_URL;
    }

    // Confirmations and desktop links go through the program's prompt layer.
    function actions() {
        return typeof window_actions !== "undefined" ? window_actions : null;
    }

    function openPage(url) {
        if (actions())
            actions().openPage(url);
        else
            Qt.openUrlExternally(url);
    }

    // A DCP's menu at a point of the item that was right-clicked.
    function openDcpMenu(dcp, item, x, y) {
        var point = item.mapToItem(dcpMenu, x, y);
        dcpMenu.openAt(dcp, point.x, point.y);
    }

    function showAbout() {
        if (actions())
            actions().showAbout();
        else
            aboutDialog.open();
    }

    function openSchedule() {
        scheduleDialog.open();
    }

    function openFolder(path) {
        if (actions())
            actions().openFolder(path);
        else
            Qt.openUrlExternally(Globals.localFileUrl(path));
    }

    // Asks first; nothing is removed without a confirmation. The objects are checked again
    // afterwards: the catalogue may have changed while the box was open.
    function removeDcp(dcp) {
        if (!dcp || !actions() || !actions().confirmDcpRemoval() || !dcp)
            return;
        body.state = "all";
        download_mgr.removeDownload(dcp);
    }

    function removeReel(reel, lastRow) {
        if (!reel || !actions() || !actions().confirmReelRemoval() || !reel)
            return;
        // The last reel takes its DCP with it: back to the grid before that happens.
        if (lastRow)
            body.state = "all";
        download_mgr.removeDownloadReel(reel);
    }

    // The status bar while no data arrives: paused, reels waiting for the portal, or ready.
    // A progress line or a server problem stays until the engine reports something else.
    function refreshIdleStatus() {
        if (downloading || statusBar.text === Globals.serverNotAnsweringText() ||
                (statusBar.proxyText !== "" && statusBar.text === statusBar.proxyText))
            return;
        statusBar.text = Globals.idleStatus(download_mgr.paused, Globals.confirmingReels(dcp_mgr.dcps));
    }

    // Raised when the details page of dcp closes, so its tile reads its sizes again.
    signal detailsClosed(QtObject dcp)

    // The details page shows one DCP object, not a position in the grid: a search, a sort
    // or a catalogue change while it is open never puts another film under the user's hand.
    // Takes the DCP or its index in the grid.
    function showDetails(which) {
        var dcp = typeof which === "number" ? dcp_mgr.dcps[which] : which;
        if (!dcp)
            return;
        var list = dcp_mgr.dcps;
        for (var i = 0; i < list.length; ++i) {
            if (list[i] === dcp)
                dcpGrid.view.currentIndex = i;
        }
        shownDcp = dcp;
        body.state = "details";
        // Built now: whoever opened it may act on the page at once, from the keyboard too.
        detailsList.forceLayout();
        if (detailsList.currentItem)
            detailsList.currentItem.takeFocus();
    }

    function closeDetails() {
        var dcp = shownDcp;
        body.state = "all";
        if (dcp)
            detailsClosed(dcp);
    }

    // A click on a desktop notification: the page of the DCP it was about.
    function showDcpById(id) {
        var list = dcp_mgr.dcps;
        for (var i = 0; i < list.length; ++i) {
            if (list[i].id === id) {
                showDetails(list[i]);
                return;
            }
        }
    }

    // Every change of the catalogue rebuilds the grid; the open page closes when its DCP
    // has gone.
    function followShownDcp() {
        if (body.state !== "details")
            return;
        var list = dcp_mgr.dcps;
        for (var i = 0; i < list.length; ++i) {
            if (list[i] === shownDcp)
                return;
        }
        body.state = "all";
    }

    // Escape closes the details page wherever the keyboard is, but the schedule's dialog
    // over it first.
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: body.state === "details" && !scheduleDialog.visible
        onActivated: mainWindow.closeDetails()
    }

    // The page of a closed DCP is let go once the grid shows.
    function releasePage() {
        if (body.state === "all")
            shownDcp = null;
    }

    title: Globals.windowTitle(downloading, currentDownloaded, currentTotal, currentName)
    // 1200 x 750, or what a smaller screen has room for.
    width: window_fit.initialWidth
    height: window_fit.initialHeight
    minimumWidth: window_fit.minimumWidth
    minimumHeight: window_fit.minimumHeight
    visible: true
    color: Globals.MAIN_BG_COLOR


    menuBar: WindowMenu {}

    FileDialog {
        id: packageDialog
        title: qsTr("Please choose a file")
        nameFilters: [qsTr("DCP Package (*.orvdcp)")]
        selectMultiple: false
        onAccepted: mainWindow.importPackage(fileUrl.toString())
    }

    MessageDialog {
        id: aboutDialog
        title: "Reelvane Downloader"
        text: qsTr("Reelvane Downloader\nVersion 1.4.0")
        icon: StandardIcon.Information
        standardButtons: StandardButton.Ok
    }

    DropArea {
        id: packageDrop
        objectName: "packageDrop"

        // Taken when the drag enters: a source that goes away at the drop leaves the
        // drop itself without data.
        property string enteredUrl: ""

        anchors.fill: parent
        keys: ["text/uri-list"]
        onEntered: {
            enteredUrl = Globals.packageUrl(drag.urls);
            drag.accepted = enteredUrl !== "";
        }
        onExited: enteredUrl = ""
        onDropped: {
            var url = Globals.packageUrl(drop.urls);
            if (url === "")
                url = enteredUrl;
            enteredUrl = "";
            if (url === "")
                return;
            drop.acceptProposedAction();
            console.log("[MainWindow] Package dropped:", Globals.localPathFromUrl(url));
            // After the drop has completed: the import may ask questions, and the file
            // manager the file came from should not wait for them.
            Qt.callLater(mainWindow.importPackage, url);
        }
    }

    NavBar {
        id: navBar
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
    }

    Item {
        id: body
        objectName: "body"
        anchors.left: navBar.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        state: "all"
        onStateChanged: {
            if (state !== "all")
                return;
            Qt.callLater(mainWindow.releasePage);
            // Back from a page: the keyboard goes on from the tile that was opened.
            if (mainWindow.created && (!mainWindow.activeFocusItem || detailsList.activeFocus))
                dcpGrid.view.forceActiveFocus();
        }

        states: [
            State {
                name: "all"
                PropertyChanges { target: topBar; visible: true }
                PropertyChanges { target: dcpGrid; visible: true }
                PropertyChanges { target: detailsList; visible: false }
            },
            State {
                name: "details"
                PropertyChanges { target: topBar; visible: false }
                PropertyChanges { target: dcpGrid; visible: false }
                PropertyChanges { target: detailsList; visible: true }
            }
        ]

        TopBar {
            id: topBar
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
        }

        DcpGrid {
            id: dcpGrid
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: topBar.bottom
            anchors.bottom: parent.bottom
            anchors.margins: 10
            // Any change in the number of DCPs sorts by date again.
            onCountSettled: topBar.sortByDate()
        }

        EmptyCatalogue {
            anchors.left: dcpGrid.left
            anchors.right: dcpGrid.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.topMargin: 150
            visible: dcpGrid.visible && dcpGrid.view.count === 0
        }

        // The page of the one DCP shown, built for that object alone.
        ListView {
            id: detailsList
            objectName: "detailsList"
            anchors.fill: parent
            model: mainWindow.shownDcp ? [mainWindow.shownDcp] : []
            delegate: DcpPage {}
            interactive: false
            visible: false
        }
    }

    // While a package is dragged over the window: where it goes when dropped.
    Rectangle {
        objectName: "dropHighlight"
        anchors.fill: parent
        visible: packageDrop.enteredUrl !== ""
        color: "#40000000"
        border.width: 4
        border.color: Globals.ORANGE
        z: 10

        Text {
            anchors.centerIn: parent
            text: qsTr("Drop the package to load it")
            color: "white"
            font.pixelSize: 24
            font.weight: Font.DemiBold
        }
    }

    statusBar: WindowStatusBar {
        id: statusBar
    }

    Connections {
        target: dcp_mgr
        function onDcpsChanged() {
            Qt.callLater(mainWindow.followShownDcp);
            Qt.callLater(mainWindow.refreshIdleStatus);
        }
    }

    Connections {
        target: download_mgr
        ignoreUnknownSignals: true
        function onDownloadProgress(speed) {
            var dcp = download_mgr.getCurrentDownloadingDCP();
            if (!dcp)
                return;
            var total = dcp.getTotalSize();
            var downloaded = dcp.getDownloadedSize();
            statusBar.text = Globals.remainingTimeText(total - downloaded, speed);
            mainWindow.currentTotal = total;
            mainWindow.currentDownloaded = downloaded;
            mainWindow.currentName = dcp.friendly_title || dcp.title;
            mainWindow.downloading = !download_mgr.paused;
        }
        function onDownloadPaused() {
            statusBar.text = Globals.idleStatus(true, 0);
            mainWindow.downloading = false;
        }
        function onDownloadStandBy() {
            mainWindow.downloading = false;
            statusBar.text = Globals.idleStatus(download_mgr.paused, Globals.confirmingReels(dcp_mgr.dcps));
        }
        function onPausedChanged() {
            if (download_mgr.paused)
                mainWindow.downloading = false;
            mainWindow.refreshIdleStatus();
        }
        function onServerNotAnswering(reason) {
            statusBar.text = Globals.serverNotAnsweringText();
            statusBar.detail = reason;
        }
        // From the first failed attempt on: a remaining time no longer counts down.
        function onServerFault(reason) {
            mainWindow.downloading = false;
            statusBar.text = Globals.SERVER_NOT_ANSWERING;
            statusBar.detail = reason;
        }
        function onServerFileDiffers(dcp, message) { statusBar.text = message; }
        function onProxyRefused(message) {
            statusBar.proxyText = message;
            statusBar.text = message;
        }
    }

    Connections {
        target: schedule_mgr
        function onApplied() { statusBar.followSchedule(); }
    }

    // Over the whole window: a DCP's menu, and the schedule's dialog.
    DcpMenu {
        id: dcpMenu
        anchors.fill: parent
    }

    ScheduleDialog {
        id: scheduleDialog
        anchors.fill: parent
    }

    function afterCreation() {
        created = true;
        // The schedule applied itself before the slider and the switch read their settings.
        if (schedule_mgr.enabled)
            statusBar.followSchedule();
        refreshIdleStatus();
        console.log("[MainWindow] Speed limit:", statusBar.limit, statusBar.noLimit ? "(no limit on)" : "(no limit off)");
        if (dcp_mgr.dcps.length > 0 && parseInt(settings_mgr.get("download_paused"))
                && window_actions.askResume())
            download_mgr.resumeDownloading();
    }

    // After every child has read its settings.
    Component.onCompleted: Qt.callLater(afterCreation)
}
