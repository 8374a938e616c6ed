import QtQuick 2.9
import QtQuick.Controls 1.4

// The window's menu: loading a package, the alerts, the language, and leaving.
MenuBar {
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
            onTriggered: mainWindow.showAbout()
        }
        MenuItem {
            text: qsTr("Exit")
            shortcut: "Ctrl+Q"
            onTriggered: Qt.quit()
        }
    }
}
