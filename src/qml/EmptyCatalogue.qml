import QtQuick 2.9
import QtQuick.Controls 1.4

// In place of the grid while it has no tile: the first steps, or that a search found nothing.
// Scrolls when the window is too short for the steps.
ScrollView {
    id: emptyView
    horizontalScrollBarPolicy: Qt.ScrollBarAlwaysOff
    style: DarkScrollStyle {}

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
