import QtQuick 2.5
import QtQuick.Window 2.2

// Minimal main window until the full scene lands.
Window {
    visible: true
    width: 1024
    height: 700
    title: "Reelvane Downloader 1.4.0"
    color: "#0c0c0d"
}
