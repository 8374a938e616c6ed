import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
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

    function openSchedule() {
        scheduleDialog.open();
    }

    // While the bandwidth schedule rules, the slider and the switch show what it applies;
    // moving them then is not a choice of the user's and stores nothing.
    property bool followingSchedule: false

    function followSchedule() {
        followingSchedule = true;
        limitSlider.value = schedule_mgr.shown_limit;
        noLimitSwitch.checked = schedule_mgr.shown_no_limit;
        limitSlider.apply(limitSlider.value);
        followingSchedule = false;
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
        if (downloading || statusLabel.text === Globals.serverNotAnsweringText() ||
                (statusLabel.proxyText !== "" && statusLabel.text === statusLabel.proxyText))
            return;
        statusLabel.text = Globals.idleStatus(download_mgr.paused, Globals.confirmingReels(dcp_mgr.dcps));
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
                grid.currentIndex = i;
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

    menuBar: MenuBar {
        Menu {
            // Alt+F opens it, also from the search field, which would otherwise take the "f".
            title: qsTr("&File")
            MenuItem {
                text: qsTr("&Load File")
                shortcut: "Ctrl+O"
                onTriggered: mainWindow.openPackageDialog()
            }
            MenuItem {
                text: qsTr("Alerts…")
                onTriggered: {
                    if (mainWindow.actions())
                        mainWindow.actions().editAlerts();
                }
            }
            Menu {
                id: languageMenu
                objectName: "languageMenu"
                title: qsTr("Language")

                ExclusiveGroup { id: languageGroup }
                Instantiator {
                    // Each language by its own name; the first follows the system.
                    model: [["", qsTr("System language")], ["en", "English"], ["fr", "Français"],
                            ["de", "Deutsch"], ["es", "Español"], ["it", "Italiano"]]
                    MenuItem {
                        text: modelData[1]
                        checkable: true
                        exclusiveGroup: languageGroup
                        checked: typeof translations !== "undefined" && translations.choice === modelData[0]
                        onTriggered: translations.choose(modelData[0])
                    }
                    onObjectAdded: languageMenu.insertItem(index, object)
                    onObjectRemoved: languageMenu.removeItem(object)
                }
            }
            MenuItem {
                text: qsTr("&About")
                onTriggered: {
                    if (mainWindow.actions())
                        mainWindow.actions().showAbout();
                    else
                        aboutDialog.open();
                }
            }
            MenuItem {
                text: qsTr("Exit")
                shortcut: "Ctrl+Q"
                onTriggered: Qt.quit()
            }
        }
    }

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

    Rectangle {
        id: navBar
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 100
        color: Globals.NAV_BAR_BG_COLOR

        Column {
            anchors.fill: parent
            anchors.topMargin: 15

            Image {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 80
                height: 80
                sourceSize.width: 80
                source: "qrc:/images/reelvane_logo.svg"
                fillMode: Image.PreserveAspectFit
            }

            Item {
                width: parent.width
                height: 15
                Rectangle {
                    anchors.bottom: parent.bottom
                    width: parent.width
                    height: 1
                    color: Globals.SPACER_COLOR
                }
            }

            NavButton {
                objectName: "loadButton"
                width: parent.width
                text: qsTr("LOAD FILE")
                tooltip: qsTr("Open a package file (Ctrl+O)")
                image: "qrc:/images/folder.svg"
                image_size: 45
                onClicked: mainWindow.openPackageDialog()
            }

            NavButton {
                id: pauseButton
                objectName: "pauseButton"

                property bool pausedSetting: false

                // Paused by the user, or held by the bandwidth schedule: a click resumes.
                function refresh() {
                    pausedSetting = settings_mgr.get("download_paused") === "1" || download_mgr.paused;
                }

                width: parent.width
                text: pausedSetting ? qsTr("RESUME") : qsTr("PAUSE")
                image: pausedSetting ? "qrc:/images/play.svg" : "qrc:/images/pause.svg"
                image_size: 40
                tooltip: pausedSetting ? qsTr("Resume the downloads (Space)") : qsTr("Pause the downloads (Space)")
                onClicked: mainWindow.togglePause()
                Component.onCompleted: refresh()

                Connections {
                    target: settings_mgr
                    function onChanged() { pauseButton.refresh(); }
                }

                Connections {
                    target: download_mgr
                    function onPausedChanged() { pauseButton.refresh(); }
                }
            }

            NavButton {
                objectName: "portalButton"
                width: parent.width
                text: qsTr("LAUNCH OSKAN")
                tooltip: qsTr("Open the OSKAN portal in your web browser")
                image: "qrc:/images/globe.svg"
                image_size: 45
                onClicked: mainWindow.openPage(mainWindow.portalUrl())
            }
        }
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
                grid.forceActiveFocus();
        }

        states: [
            State {
                name: "all"
                PropertyChanges { target: topBar; visible: true }
                PropertyChanges { target: gridScroll; visible: true }
                PropertyChanges { target: detailsList; visible: false }
            },
            State {
                name: "details"
                PropertyChanges { target: topBar; visible: false }
                PropertyChanges { target: gridScroll; visible: false }
                PropertyChanges { target: detailsList; visible: true }
            }
        ]

        Rectangle {
            id: topBar
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
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

        Component {
            id: darkScrollStyle
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
        }

        // A scroll bar shows when the tiles overflow.
        ScrollView {
            id: gridScroll
            objectName: "gridScroll"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: topBar.bottom
            anchors.bottom: parent.bottom
            anchors.margins: 10
            horizontalScrollBarPolicy: Qt.ScrollBarAlwaysOff
            style: darkScrollStyle

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

                // Any change in the number of DCPs sorts by date again. Deferred, so the
                // model reset that the sort itself causes is seen settled and starts no loop.
                function resortByDate() {
                    if (count === settledCount)
                        return;
                    settledCount = count;
                    dateButton.click();
                }

                onCountChanged: Qt.callLater(resortByDate)
            }
        }

        // Scrolls when the window is too short for the steps.
        ScrollView {
            id: emptyView
            anchors.left: gridScroll.left
            anchors.right: gridScroll.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.topMargin: 150
            visible: gridScroll.visible && grid.count === 0
            horizontalScrollBarPolicy: Qt.ScrollBarAlwaysOff
            style: darkScrollStyle

            Text {
              id: emptyText
              objectName: "emptyText"
              x: 20
              width: emptyView.viewport.width - 40
              color: "white"
              font.pixelSize: 14
              wrapMode: Text.WordWrap
              textFormat: Text.RichText
              text: dcp_mgr.haveSearchFilter
                    ? "<h2>" + qsTr("No DCP(s) found") + "</h2>"
                    : "<h2>" + qsTr("You are not downloading any DCPs yet. To start downloading please complete the following steps:") + "</h2>"
                      + "<ul>"
                      + "<li>" + qsTr("Click on \"Load File\" on the left.") + "</li>"
                      + "<li>" + qsTr("Select the small .orvdcp file you downloaded from the OSKAN web portal (usually in your"
                                      + " Downloads folder). If you do not have one yet, click \"LAUNCH  OSKAN\", log in, select"
                                      + " the film and hit \"Download\", then return to the first step.") + "</li>"
                      + "<li>" + qsTr("You will be asked where you want to save your DCP file to. Select your download location"
                                      + " and hit save. Your download will begin.") + "</li>"
                      + "<li><b>" + qsTr("IMPORTANT:") + "</b> "
                      + qsTr("if you will ingest from a USB hard drive, download directly onto that drive rather than onto"
                             + " this computer's local drive first, so that Reelvane can verify the download and fix"
                             + " corruptions before ingest.") + "</li>"
                      + "<li>" + qsTr("You can pause the download at any time by hitting pause or just quitting this application."
                                      + " When you open the application again the download will resume from where it left off.") + "</li>"
                      + "<li>" + qsTr("Need help? Write to %1 and we will get back to you.").arg("support@reelvane.example") + "</li>"
                      + "</ul>"
            }
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

    statusBar: StatusBar {
        id: statusBar

        style: StatusBarStyle {
            background: Rectangle { color: Globals.NAV_BAR_BG_COLOR }
        }

        // The limit at the left and the status at the right, on one line where the window is
        // wide enough for both; on a narrow window the status takes a line of its own.
        Item {
            id: statusRow

            readonly property bool oneLine: width >= limitRow.width + 20 + statusRoom.width

            anchors.fill: parent
            implicitWidth: limitRow.width
            readonly property real firstLines: oneLine ? Math.max(limitRow.height, statusLabel.height)
                                                       : limitRow.height + 4 + statusLabel.height
            implicitHeight: firstLines + (noticeRow.visible ? noticeRow.height + 2 : 0)

            TextMetrics {
                id: statusMeasure
                font: statusLabel.font
                text: statusLabel.text
            }

            // The longest line the status shows while data arrives.
            TextMetrics {
                id: statusRoom
                font: statusLabel.font
                text: Globals.remainingTimeText(999 * 3600 * Globals.MEGA_BIT, Globals.MEGA_BIT)
            }

            Row {
                id: limitRow
                spacing: 6
                y: statusRow.oneLine ? (statusRow.firstLines - height) / 2 : 0

                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Speed limit: ")
                    color: "white"
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 13
                }

                Slider {
                    id: limitSlider
                    objectName: "limitSlider"

                    // Applies a slider position: the engine's limit and the label.
                    function apply(limit) {
                        var speed = limit * Globals.MEGA_BIT;
                        download_mgr.read_chunk_size = speed;
                        var s = Globals.getSpeedAsMbps(speed, 2);
                        limitLabel.text = Globals.pad(s[0], 7) + " " + s[1];
                    }

                    anchors.verticalCenter: parent.verticalCenter
                    width: 220
                    minimumValue: 1
                    maximumValue: 200
                    stepSize: 1
                    enabled: !noLimitSwitch.checked
                    onValueChanged: apply(value)
                    // Kept when the handle is let go, and when a key moved it.
                    function save() {
                        if (!mainWindow.created)
                            return;
                        if (schedule_mgr.enabled) {
                            schedule_mgr.limitSetByHand(value);
                            return;
                        }
                        if (settings_mgr.get("download_limit") === String(value))
                            return;
                        settings_mgr.set("download_limit", String(value));
                        settings_mgr.save();
                        console.log("[MainWindow] Speed limit saved:", value);
                    }

                    Accessible.name: qsTr("Speed limit")
                    onPressedChanged: if (!pressed) save()
                    Keys.onReleased: {
                        var moves = [Qt.Key_Left, Qt.Key_Right, Qt.Key_Up, Qt.Key_Down, Qt.Key_PageUp,
                                     Qt.Key_PageDown, Qt.Key_Home, Qt.Key_End];
                        event.accepted = moves.indexOf(event.key) >= 0;
                        if (event.accepted)
                            save();
                    }

                    FocusRing {}
                    Component.onCompleted: {
                        var stored = parseInt(settings_mgr.get("download_limit"));
                        value = (isNaN(stored) || stored === 0) ? 200 : stored;
                        // A start at the minimum signals no change; apply it in every case.
                        apply(value);
                    }
                }

                Text {
                    id: limitLabel
                    objectName: "limitLabel"
                    anchors.verticalCenter: parent.verticalCenter
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    // Greyed with the slider while no limit applies.
                    color: noLimitSwitch.checked ? Globals.NAV_BAR_BTN_COLOR : "white"
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 13
                }

                Item { width: 6; height: 1 }

                Switch {
                    id: noLimitSwitch
                    objectName: "noLimitSwitch"

                    function applyLimitOff(on) {
                        if (typeof download_mgr.limit_off !== "undefined")
                            download_mgr.limit_off = on;
                        // Back under a limit: the slider's value applies again.
                        if (!on)
                            limitSlider.apply(limitSlider.value);
                    }

                    anchors.verticalCenter: parent.verticalCenter
                    Accessible.name: qsTr("No limit")
                    // Dark, like the rest of the window.
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

                    FocusRing {}
                    onCheckedChanged: {
                        applyLimitOff(checked);
                        if (!mainWindow.created || mainWindow.followingSchedule)
                            return;
                        if (schedule_mgr.enabled) {
                            schedule_mgr.noLimitSetByHand(checked);
                            return;
                        }
                        settings_mgr.set("download_limit_off", checked ? "1" : "0");
                        settings_mgr.save();
                        console.log("[MainWindow] No limit:", checked ? "on" : "off");
                    }
                    Component.onCompleted: checked = settings_mgr.get("download_limit_off") === "1"
                }

                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("No limit")
                    color: noLimitSwitch.checked ? "white" : Globals.NAV_BAR_BTN_COLOR
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 13
                    MouseArea {
                        objectName: "noLimitLabel"
                        anchors.fill: parent
                        onClicked: noLimitSwitch.checked = !noLimitSwitch.checked
                    }
                }

                Item { width: 6; height: 1 }

                CustomButton {
                    objectName: "scheduleButton"
                    anchors.verticalCenter: parent.verticalCenter
                    preferredWidth: 100
                    height: 22
                    text: qsTr("Schedule…")
                    onClicked: mainWindow.openSchedule()
                }
            }

            Text {
                id: statusLabel
                objectName: "statusLabel"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                // At the right, never narrower than its line, so the remaining time is never
                // cut; under the limit on a narrow window.
                x: statusRow.oneLine ? statusRow.width - width : 0
                y: statusRow.oneLine ? (statusRow.firstLines - height) / 2 : limitRow.height + 4
                width: statusRow.oneLine
                       ? Math.min(statusRow.width - limitRow.width - 20, Math.max(300, statusMeasure.width))
                       : statusRow.width
                text: Globals.idleStatus(false, 0)
                color: "white"
                elide: Text.ElideRight
                font.family: "Courier"
                font.weight: Font.Medium
                font.pixelSize: 13
                // Why the server is not answering (a refused certificate, a proxy...), shown
                // while the pointer rests on the line.
                property string detail: ""
                // The last "Proxy requires authentication" line; it stays like a server problem.
                property string proxyText: ""
                onTextChanged: if (text !== Globals.serverNotAnsweringText()) detail = ""
                MouseArea {
                    id: statusHover
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.NoButton
                }
                Rectangle {
                    visible: statusHover.containsMouse && statusLabel.detail !== ""
                    z: 10
                    anchors.bottom: parent.top
                    anchors.right: parent.right
                    width: statusDetail.implicitWidth + 12
                    height: statusDetail.implicitHeight + 8
                    color: "#202020"
                    border.color: "white"
                    Text {
                        id: statusDetail
                        anchors.centerIn: parent
                        text: statusLabel.detail
                        color: "white"
                        font.pixelSize: 12
                    }
                }
            }

            // What the bandwidth schedule applies now, and a DCP whose drive lacks room.
            Row {
                id: noticeRow
                y: statusRow.firstLines + 2
                width: statusRow.width
                spacing: 20
                visible: scheduleStatus.text !== "" || roomStatus.text !== ""

                Text {
                    id: scheduleStatus
                    objectName: "scheduleStatus"
                    visible: text !== ""
                    text: schedule_mgr.status
                    color: "white"
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 13
                }

                Text {
                    id: roomStatus
                    objectName: "roomStatus"
                    width: noticeRow.width - (scheduleStatus.visible ? scheduleStatus.width + noticeRow.spacing : 0)
                    visible: text !== ""
                    text: download_mgr.room_warning
                    color: Globals.ORANGE
                    elide: Text.ElideRight
                    font.family: "Courier"
                    font.weight: Font.Medium
                    font.pixelSize: 13
                }
            }
        }
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
            statusLabel.text = Globals.remainingTimeText(total - downloaded, speed);
            mainWindow.currentTotal = total;
            mainWindow.currentDownloaded = downloaded;
            mainWindow.currentName = dcp.friendly_title || dcp.title;
            mainWindow.downloading = !download_mgr.paused;
        }
        function onDownloadPaused() {
            statusLabel.text = Globals.idleStatus(true, 0);
            mainWindow.downloading = false;
        }
        function onDownloadStandBy() {
            mainWindow.downloading = false;
            statusLabel.text = Globals.idleStatus(download_mgr.paused, Globals.confirmingReels(dcp_mgr.dcps));
        }
        function onPausedChanged() {
            if (download_mgr.paused)
                mainWindow.downloading = false;
            mainWindow.refreshIdleStatus();
        }
        function onServerNotAnswering(reason) {
            statusLabel.text = Globals.serverNotAnsweringText();
            statusLabel.detail = reason;
        }
        // From the first failed attempt on: a remaining time no longer counts down.
        function onServerFault(reason) {
            mainWindow.downloading = false;
            statusLabel.text = Globals.SERVER_NOT_ANSWERING;
            statusLabel.detail = reason;
        }
        function onServerFileDiffers(dcp, message) { statusLabel.text = message; }
        function onProxyRefused(message) {
            statusLabel.proxyText = message;
            statusLabel.text = message;
        }
    }

    Connections {
        target: schedule_mgr
        function onApplied() { mainWindow.followSchedule(); }
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
            followSchedule();
        refreshIdleStatus();
        console.log("[MainWindow] Speed limit:", limitSlider.value, noLimitSwitch.checked ? "(no limit on)" : "(no limit off)");
        if (dcp_mgr.dcps.length > 0 && parseInt(settings_mgr.get("download_paused"))
                && window_actions.askResume())
            download_mgr.resumeDownloading();
    }

    // After every child has read its settings.
    Component.onCompleted: Qt.callLater(afterCreation)
}
