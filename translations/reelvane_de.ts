<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AlertsDialog</name>
    <message>
        <source>Send a test alert</source>
        <translation>Testmeldung senden</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>When a DCP is ready, a reel is corrupted, a drive is not connected or the server has not answered for ten minutes, a short message in JSON is posted to this web address: a chat channel, a text-message gateway or your own monitoring. Leave it empty for no alerts.</source>
        <translation>Wenn ein DCP bereit ist, ein Reel beschädigt ist, ein Laufwerk nicht angeschlossen ist oder der Server seit zehn Minuten nicht antwortet, wird eine kurze JSON-Nachricht an diese Webadresse gesendet: an einen Chat-Kanal, ein SMS-Gateway oder Ihre eigene Überwachung. Leer lassen, um keine Meldungen zu erhalten.</translation>
    </message>
    <message>
        <source>Sending a test alert…</source>
        <translation>Testmeldung wird gesendet…</translation>
    </message>
</context>
<context>
    <name>AttentionEvents</name>
    <message>
        <source>DCP ready</source>
        <translation>DCP bereit</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified</source>
        <translation>%1 ist bereit: alle Reels geprüft</translation>
    </message>
    <message>
        <source>Reel corrupted</source>
        <translation>Reel beschädigt</translation>
    </message>
    <message>
        <source>%1: reel %2 is corrupted</source>
        <translation>%1: Reel %2 ist beschädigt</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Laufwerk nicht angeschlossen</translation>
    </message>
    <message>
        <source>%1: the drive is not connected, the download waits</source>
        <translation>%1: Das Laufwerk ist nicht angeschlossen, der Download wartet</translation>
    </message>
    <message>
        <source>Server not answering</source>
        <translation>Server antwortet nicht</translation>
    </message>
    <message>
        <source>%1: the server has not answered since %2</source>
        <translation>%1: Der Server antwortet seit %2 nicht</translation>
    </message>
    <message>
        <source>The server has not answered since %1</source>
        <translation>Der Server antwortet seit %1 nicht</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified. The drive %2 can be unplugged.</source>
        <translation>%1 ist bereit: alle Reels geprüft. Das Laufwerk %2 kann abgezogen werden.</translation>
    </message>
</context>
<context>
    <name>DCPManager</name>
    <message>
        <source>The ORVDCP file could not be loaded.</source>
        <translation>Die ORVDCP-Datei konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>DCPXMLReader</name>
    <message>
        <source>Could not open the ORVDCP file.</source>
        <translation>Die ORVDCP-Datei lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>Please check to see if you have read permission for the file.</source>
        <translation>Bitte prüfen Sie, ob Sie die Datei lesen dürfen.</translation>
    </message>
    <message>
        <source>Your software is out of date. Unfortunately an update is required in order to load the DCP.</source>
        <translation>Ihre Software ist veraltet. Um das DCP zu laden, ist leider ein Update nötig.</translation>
    </message>
    <message>
        <source>Would you like to download new version?</source>
        <translation>Möchten Sie die neue Version herunterladen?</translation>
    </message>
    <message>
        <source>Your ORVDCP file is out of date. Unfortunately an update is required in order to load this DCP.</source>
        <translation>Ihre ORVDCP-Datei ist veraltet. Um dieses DCP zu laden, brauchen Sie leider eine neue Datei.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Möchten Sie die Datei jetzt erneut herunterladen?</translation>
    </message>
    <message>
        <source>Select download location for your DCP</source>
        <translation>Speicherort für Ihr DCP wählen</translation>
    </message>
    <message>
        <source>Select directory for DCP</source>
        <translation>Diesen Ordner wählen</translation>
    </message>
    <message>
        <source>Not enough disk space</source>
        <translation>Nicht genug Speicherplatz</translation>
    </message>
    <message>
        <source>You don&apos;t have enough disk space to download full DCP.<byte value="xd"/>
<byte value="xd"/>
Do you want to continue anyway?</source>
        <translation>Es ist nicht genug Speicherplatz frei, um das ganze DCP herunterzuladen.<byte value="xd"/>
<byte value="xd"/>
Möchten Sie trotzdem fortfahren?</translation>
    </message>
</context>
<context>
    <name>DCPXMLReaderException</name>
    <message>
        <source>Could not decode the content of ORVDCP file. File might be damaged or its content missing. Please redownload the file from OSKAN.</source>
        <translation>Der Inhalt der ORVDCP-Datei lässt sich nicht entschlüsseln. Die Datei ist vielleicht beschädigt oder unvollständig. Bitte laden Sie sie erneut von OSKAN herunter.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Möchten Sie die Datei jetzt erneut herunterladen?</translation>
    </message>
    <message>
        <source>Main data in the ORVDCP missing. File might be damaged. Please redownload the file from OSKAN.</source>
        <translation>In der ORVDCP-Datei fehlen die Hauptdaten. Die Datei ist vielleicht beschädigt. Bitte laden Sie sie erneut von OSKAN herunter.</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database of the Reelvane Downloader cannot be written.</source>
        <translation>Die Datenbank des Reelvane Downloader kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>File: %1
Reason: %2

The program keeps every download in this file and cannot run without writing to it. Close any other program that uses the file, or make the file and its folder writable, then start the Reelvane Downloader again.</source>
        <translation>Datei: %1
Grund: %2

Das Programm speichert jeden Download in dieser Datei und kann ohne Schreibzugriff nicht laufen. Schließen Sie jedes andere Programm, das die Datei nutzt, oder machen Sie Datei und Ordner beschreibbar, und starten Sie den Reelvane Downloader dann neu.</translation>
    </message>
</context>
<context>
    <name>DcpFolderAudit</name>
    <message>
        <source>The DCP folder holds %1 %2 (%3): a cinema server reads only one of them.</source>
        <translation>Der DCP-Ordner enthält %1 %2 (%3): Ein Kinoserver liest nur eine davon.</translation>
    </message>
    <message>
        <source>%1 has a malformed identifier &quot;%2&quot;: cinema servers expect urn:uuid: followed by a UUID.</source>
        <translation>%1 hat eine fehlerhafte Kennung „%2“: Kinoserver erwarten urn:uuid: gefolgt von einer UUID.</translation>
    </message>
    <message>
        <source>ASSETMAP is missing.</source>
        <translation>Die ASSETMAP fehlt.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: not an asset map</source>
        <translation>%1 kann nicht gelesen werden: keine ASSETMAP</translation>
    </message>
    <message>
        <source>VOLINDEX is missing.</source>
        <translation>Der VOLINDEX fehlt.</translation>
    </message>
    <message>
        <source>%1 cannot be read: not a volume index</source>
        <translation>%1 kann nicht gelesen werden: kein VOLINDEX</translation>
    </message>
    <message>
        <source>The PKL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>Die in der ASSETMAP genannte PKL fehlt oder ist nicht lesbar.</translation>
    </message>
    <message>
        <source>The PKL %1 cannot be read: %2</source>
        <translation>Die PKL %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The ASSETMAP gives no path for %1.</source>
        <translation>Die ASSETMAP nennt keinen Pfad für %1.</translation>
    </message>
    <message>
        <source>The ASSETMAP splits %1 into %2 chunks: cinema servers expect one.</source>
        <translation>Die ASSETMAP teilt %1 in %2 Teile: Kinoserver erwarten einen.</translation>
    </message>
    <message>
        <source>The ASSETMAP&apos;s path %1 leaves the DCP folder.</source>
        <translation>Der ASSETMAP-Pfad %1 führt aus dem DCP-Ordner heraus.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 an offset of %2: cinema servers expect 0.</source>
        <translation>Die ASSETMAP gibt %1 einen Versatz von %2: Kinoserver erwarten 0.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes, the PKL says %3 bytes.</source>
        <translation>Die ASSETMAP gibt %1 eine Länge von %2 Byte, die PKL nennt %3 Byte.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes; it holds %3 bytes.</source>
        <translation>Die ASSETMAP gibt %1 eine Länge von %2 Byte; die Datei enthält %3 Byte.</translation>
    </message>
    <message>
        <source>The CPL %1 cannot be read: %2</source>
        <translation>Die CPL %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The CPL %1 is not listed in the PKL: a cinema server does not ingest it.</source>
        <translation>Die CPL %1 steht nicht in der PKL: Ein Kinoserver ingestet sie nicht.</translation>
    </message>
    <message>
        <source>Reel %1 of %2 is not on the drive: this composition will not play.</source>
        <translation>Reel %1 von %2 ist nicht auf dem Laufwerk: Diese Komposition wird nicht abgespielt.</translation>
    </message>
    <message>
        <source>The composition %1 plays %2 that this package does not carry: it needs its original version on the cinema server.</source>
        <translation>Die Komposition %1 spielt %2, die dieses Paket nicht enthält: Sie braucht ihre Originalfassung auf dem Kinoserver.</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1 is in the PKL but not in the ASSETMAP.</source>
        <translation>%1 steht in der PKL, aber nicht in der ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 is listed in the ASSETMAP but missing from the drive.</source>
        <translation>%1 steht in der ASSETMAP, fehlt aber auf dem Laufwerk.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, the PKL says %3 bytes.</source>
        <translation>%1 enthält %2 Byte, die PKL nennt %3 Byte.</translation>
    </message>
    <message>
        <source>The folder %1 is empty and not part of the DCP: remove it.</source>
        <translation>Der Ordner %1 ist leer und gehört nicht zum DCP: Entfernen Sie ihn.</translation>
    </message>
    <message>
        <source>A hidden file is left: %1</source>
        <translation>Eine versteckte Datei ist übrig: %1</translation>
    </message>
    <message>
        <source>%1 is not part of the DCP (the ASSETMAP does not list it): cinema servers copy it or refuse the folder. Remove it.</source>
        <translation>%1 gehört nicht zum DCP (die ASSETMAP nennt es nicht): Kinoserver kopieren es mit oder lehnen den Ordner ab. Entfernen Sie es.</translation>
    </message>
    <message>
        <source>The DCP folder %1 cannot be read.</source>
        <translation>Der DCP-Ordner %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The DCP folder %1 is not on the drive.</source>
        <translation>Der DCP-Ordner %1 ist nicht auf dem Laufwerk.</translation>
    </message>
    <message>
        <source>asset maps</source>
        <translation>ASSETMAPs</translation>
    </message>
    <message>
        <source>volume indexes</source>
        <translation>VOLINDEX-Dateien</translation>
    </message>
    <message>
        <source>The CPL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>Die in der ASSETMAP genannte CPL fehlt oder ist nicht lesbar.</translation>
    </message>
</context>
<context>
    <name>DcpGrid</name>
    <message>
        <source>DCPs</source>
        <translation>DCPs</translation>
    </message>
</context>
<context>
    <name>DcpIngestCheck</name>
    <message>
        <source>%1 cannot be read from the drive.</source>
        <translation>%1 kann vom Laufwerk nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The PKL&apos;s hash for the CPL %1 does not match it: a cinema server refuses the composition.</source>
        <translation>Der Hash der PKL für die CPL %1 passt nicht: Ein Kinoserver lehnt die Komposition ab.</translation>
    </message>
    <message>
        <source>%1 is corrupted: its SHA-1 differs from the PKL.</source>
        <translation>%1 ist beschädigt: Sein SHA-1 weicht von der PKL ab.</translation>
    </message>
    <message>
        <source>Ready for the cinema: %1 files, %2 GB</source>
        <translation>Bereit fürs Kino: %1 Dateien, %2 GB</translation>
    </message>
</context>
<context>
    <name>DcpMenu</name>
    <message>
        <source>Resume this DCP</source>
        <translation>Dieses DCP fortsetzen</translation>
    </message>
    <message>
        <source>Pause this DCP</source>
        <translation>Dieses DCP pausieren</translation>
    </message>
    <message>
        <source>Download next</source>
        <translation>Als Nächstes laden</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
</context>
<context>
    <name>DcpPage</name>
    <message>
        <source>Close details</source>
        <translation>Details schließen</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>START DOWNLOAD</source>
        <translation>DOWNLOAD STARTEN</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>LÖSCHEN</translation>
    </message>
    <message>
        <source>CHECK DRIVE</source>
        <translation>LAUFWERK PRÜFEN</translation>
    </message>
    <message>
        <source>DOWNLOAD AGAIN</source>
        <translation>ERNEUT LADEN</translation>
    </message>
    <message>
        <source>Ejecting…</source>
        <translation>Wird ausgeworfen…</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Laufwerk auswerfen</translation>
    </message>
    <message>
        <source>RESUME THIS DCP</source>
        <translation>DCP FORTSETZEN</translation>
    </message>
    <message>
        <source>PAUSE THIS DCP</source>
        <translation>DCP PAUSIEREN</translation>
    </message>
    <message>
        <source>DOWNLOAD NEXT</source>
        <translation>ALS NÄCHSTES</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>NACH OBEN</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>NACH UNTEN</translation>
    </message>
    <message>
        <source>GO TO FILES</source>
        <translation>ZU DEN DATEIEN</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Den Ordner des DCP im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>Checking the file kept on the drive…</source>
        <translation>Die auf dem Laufwerk behaltene Datei wird geprüft…</translation>
    </message>
    <message>
        <source>Checking the %1 files kept on the drive…</source>
        <translation>Die %1 auf dem Laufwerk behaltenen Dateien werden geprüft…</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Reels</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Unable to update the download queue.</source>
        <translation>Die Download-Warteschlange kann nicht aktualisiert werden.</translation>
    </message>
    <message>
        <source>Unable to start downloading the DCP.</source>
        <translation>Der Download des DCP kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Unable to pause the downloads.</source>
        <translation>Die Downloads können nicht angehalten werden.</translation>
    </message>
    <message>
        <source>Unable to resume the downloads.</source>
        <translation>Die Downloads können nicht fortgesetzt werden.</translation>
    </message>
    <message>
        <source>Unable to download a corrupted file again.</source>
        <translation>Eine beschädigte Datei kann nicht erneut heruntergeladen werden.</translation>
    </message>
    <message>
        <source>Unable to remove the DCP.</source>
        <translation>Das DCP kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Unable to remove the reel.</source>
        <translation>Das Reel kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Unable to restart the download.</source>
        <translation>Der Download kann nicht neu gestartet werden.</translation>
    </message>
    <message>
        <source>Unable to store the download order.</source>
        <translation>Die Download-Reihenfolge kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Unable to pause the DCP.</source>
        <translation>Das DCP kann nicht angehalten werden.</translation>
    </message>
    <message>
        <source>Unable to change the download order.</source>
        <translation>Die Download-Reihenfolge kann nicht geändert werden.</translation>
    </message>
</context>
<context>
    <name>DownloadPrompts</name>
    <message>
        <source>Not enough disk space</source>
        <translation>Nicht genug Speicherplatz</translation>
    </message>
    <message>
        <source>You have ran out of disk space so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please free up some space and hit the resume button once you&apos;re ready.</source>
        <translation>Der Speicherplatz ist voll, daher wurde Ihr Download angehalten.<byte value="xd"/>
<byte value="xd"/>
Bitte schaffen Sie Platz und klicken Sie dann auf FORTSETZEN.</translation>
    </message>
    <message>
        <source>Unable to write the download</source>
        <translation>Download kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The folder %1 is missing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, then hit the resume button.</source>
        <translation>Der Ordner %1 fehlt, daher wurde Ihr Download angehalten.<byte value="xd"/>
<byte value="xd"/>
Bitte prüfen Sie, ob das Laufwerk angeschlossen ist, und klicken Sie dann auf FORTSETZEN.</translation>
    </message>
    <message>
        <source>The file %1 can not be opened for writing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected and writable, then hit the resume button.</source>
        <translation>Die Datei %1 lässt sich nicht zum Schreiben öffnen, daher wurde Ihr Download angehalten.<byte value="xd"/>
<byte value="xd"/>
Bitte prüfen Sie, ob das Laufwerk angeschlossen und beschreibbar ist, und klicken Sie dann auf FORTSETZEN.</translation>
    </message>
    <message>
        <source>Unable to save the download</source>
        <translation>Download kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The progress of your download can not be saved (%1), so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the program&apos;s folder is writable, then hit the resume button.</source>
        <translation>Der Fortschritt Ihres Downloads kann nicht gespeichert werden (%1), daher wurde er angehalten.<byte value="xd"/>
<byte value="xd"/>
Bitte prüfen Sie, ob der Ordner des Programms beschreibbar ist, und klicken Sie dann auf FORTSETZEN.</translation>
    </message>
    <message>
        <source>The current Reel is in validation(checksum) process, please wait until this is finished and try again.</source>
        <translation>Das aktuelle Reel wird gerade geprüft (Prüfsumme). Bitte warten Sie, bis die Prüfung fertig ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Download links expired</source>
        <translation>Download-Links abgelaufen</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Do you want to remove outdated DCP?<byte value="xd"/>
(This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader)</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Möchten Sie das veraltete DCP entfernen?<byte value="xd"/>
(Die Dateien auf Ihrer Festplatte werden NICHT GELÖSCHT, das DCP wird nur aus dem Reelvane Downloader entfernt)</translation>
    </message>
    <message>
        <source>One of the files for DCP %1 is missing and can not be downloaded. You won&apos;t be able to finish the given download.</source>
        <translation>Eine Datei des DCP %1 fehlt und kann nicht heruntergeladen werden. Dieser Download kann nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>Download links for DCP %1 expired. You won&apos;t be able to finish the given download.</source>
        <translation>Die Download-Links für das DCP %1 sind abgelaufen. Dieser Download kann nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>Stop checking the files kept on the drive?</source>
        <translation>Prüfung der behaltenen Dateien auf dem Laufwerk abbrechen?</translation>
    </message>
    <message>
        <source>The file not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Die noch nicht geprüfte Datei wird stattdessen erneut vom Server geladen und ersetzt die Datei auf dem Laufwerk.</translation>
    </message>
    <message>
        <source>The %1 files not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Die %1 noch nicht geprüften Dateien werden stattdessen erneut vom Server geladen und ersetzen die Dateien auf dem Laufwerk.</translation>
    </message>
</context>
<context>
    <name>DriveCheck</name>
    <message>
        <source>The folder is on a network or temporary file system (%1), not on the drive itself. Most cinema servers cannot read it.</source>
        <translation>Der Ordner liegt auf einem Netzwerk- oder temporären Dateisystem (%1), nicht auf dem Laufwerk selbst. Die meisten Kinoserver können ihn nicht lesen.</translation>
    </message>
    <message>
        <source>The drive uses %1. Most cinema servers cannot read %1 drives.</source>
        <translation>Das Laufwerk nutzt %1. Die meisten Kinoserver können %1-Laufwerke nicht lesen.</translation>
    </message>
    <message>
        <source>The drive uses FAT32, which cannot store files of 4 GB or more. Larger DCP files cannot be downloaded to it.</source>
        <translation>Das Laufwerk nutzt FAT32, das keine Dateien ab 4 GB speichern kann. Größere DCP-Dateien lassen sich nicht darauf herunterladen.</translation>
    </message>
    <message>
        <source>The drive uses ext4. Some cinema servers only read ext2 or ext3 drives.</source>
        <translation>Das Laufwerk nutzt ext4. Manche Kinoserver lesen nur ext2- oder ext3-Laufwerke.</translation>
    </message>
    <message>
        <source>The inode size of the drive&apos;s ext%1 file system could not be read without administrator rights. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>Die Inode-Größe des ext%1-Dateisystems konnte ohne Administratorrechte nicht gelesen werden. Manche Kinoserver lesen nur Laufwerke mit einer Inode-Größe von 128 Byte.</translation>
    </message>
    <message>
        <source>The drive&apos;s ext%1 file system has an inode size of %2 bytes. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>Das ext%1-Dateisystem des Laufwerks hat eine Inode-Größe von %2 Byte. Manche Kinoserver lesen nur Laufwerke mit einer Inode-Größe von 128 Byte.</translation>
    </message>
    <message>
        <source>The drive has a GPT partition table. Some cinema servers only read drives with an MBR partition table.</source>
        <translation>Das Laufwerk hat eine GPT-Partitionstabelle. Manche Kinoserver lesen nur Laufwerke mit MBR-Partitionstabelle.</translation>
    </message>
    <message>
        <source>The DCP folder would not be at the top level of the drive (%1). Cinema servers look for DCPs at the top level; choose the drive itself.</source>
        <translation>Der DCP-Ordner läge nicht in der obersten Ebene des Laufwerks (%1). Kinoserver suchen DCPs in der obersten Ebene; wählen Sie das Laufwerk selbst.</translation>
    </message>
    <message>
        <source>Drive check</source>
        <translation>Laufwerksprüfung</translation>
    </message>
    <message>
        <source>Most cinema servers cannot read this drive.</source>
        <translation>Die meisten Kinoserver können dieses Laufwerk nicht lesen.</translation>
    </message>
    <message>
        <source>Please check the drive before it goes to the cinema.</source>
        <translation>Bitte prüfen Sie das Laufwerk, bevor es ins Kino geht.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Anderen Ordner wählen</translation>
    </message>
</context>
<context>
    <name>DriveEject</name>
    <message>
        <source>It is now safe to remove the drive</source>
        <translation>Das Laufwerk kann jetzt sicher entfernt werden</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because it is busy. Close every window and program that uses files on it, then try again.</source>
        <translation>Das Laufwerk kann nicht ausgeworfen werden, weil es belegt ist. Schließen Sie alle Fenster und Programme, die Dateien darauf nutzen, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because this user is not permitted to eject it.</source>
        <translation>Das Laufwerk kann nicht ausgeworfen werden, weil dieser Benutzer es nicht auswerfen darf.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because this desktop has no disk service (UDisks2). Eject it from the file manager before removing it.</source>
        <translation>Das Laufwerk kann hier nicht ausgeworfen werden, weil dieser Desktop keinen Laufwerksdienst (UDisks2) hat. Werfen Sie es im Dateimanager aus, bevor Sie es abziehen.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because the desktop&apos;s disk service does not know it. Eject it from the file manager before removing it.</source>
        <translation>Das Laufwerk kann hier nicht ausgeworfen werden, weil der Laufwerksdienst des Desktops es nicht kennt. Werfen Sie es im Dateimanager aus, bevor Sie es abziehen.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected: %1</source>
        <translation>Das Laufwerk kann nicht ausgeworfen werden: %1</translation>
    </message>
</context>
<context>
    <name>DriveRoom</name>
    <message>
        <source>%1 needs %2 more than the drive %3 holds</source>
        <translation>%1 braucht %2 mehr, als das Laufwerk %3 fasst</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>On %1: %2 free</source>
        <translation>Auf %1: %2 frei</translation>
    </message>
    <message>
        <source>Needs %1 more</source>
        <translation>Braucht %1 mehr</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
</context>
<context>
    <name>DriveVerifier</name>
    <message>
        <source>Checking the drive…</source>
        <translation>Laufwerk wird geprüft…</translation>
    </message>
    <message>
        <source>About %1 min left</source>
        <translation>Noch etwa %1 Min.</translation>
    </message>
    <message>
        <source>About %1 s left</source>
        <translation>Noch etwa %1 s</translation>
    </message>
    <message>
        <source>The drive was disconnected during the check.</source>
        <translation>Das Laufwerk wurde während der Prüfung getrennt.</translation>
    </message>
    <message>
        <source>Check cancelled.</source>
        <translation>Prüfung abgebrochen.</translation>
    </message>
    <message>
        <source>%1 checked at %2</source>
        <comment>the drive check&apos;s result: the files and size, then a time</comment>
        <translation>%1, geprüft um %2</translation>
    </message>
    <message>
        <source>The damaged files were downloaded again and verified. Check the drive again before it goes to the cinema.</source>
        <translation>Die beschädigten Dateien wurden erneut heruntergeladen und geprüft. Prüfen Sie das Laufwerk noch einmal, bevor es ins Kino geht.</translation>
    </message>
    <message>
        <source>1 problem found on the drive:</source>
        <translation>1 Problem auf dem Laufwerk gefunden:</translation>
    </message>
    <message>
        <source>%1 problems found on the drive:</source>
        <translation>%1 Probleme auf dem Laufwerk gefunden:</translation>
    </message>
</context>
<context>
    <name>EjectAction</name>
    <message>
        <source>Ready to unplug: every DCP on this drive is verified and confirmed.</source>
        <translation>Bereit zum Abziehen: jedes DCP auf diesem Laufwerk ist geprüft und bestätigt.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: a few seconds.</source>
        <translation>Die Dateien bleiben verborgen, bis das Portal sie bestätigt: wenige Sekunden.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 s.</source>
        <translation>Die Dateien bleiben verborgen, bis das Portal sie bestätigt: etwa %1 s.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 min.</source>
        <translation>Die Dateien bleiben verborgen, bis das Portal sie bestätigt: etwa %1 Min.</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Laufwerk auswerfen</translation>
    </message>
</context>
<context>
    <name>EmptyCatalogue</name>
    <message>
        <source>No DCP(s) found</source>
        <translation>Keine DCPs gefunden</translation>
    </message>
    <message>
        <source>You are not downloading any DCPs yet. To start downloading please complete the following steps:</source>
        <translation>Sie laden noch kein DCP herunter. So starten Sie einen Download:</translation>
    </message>
    <message>
        <source>Click on &quot;Load File&quot; on the left.</source>
        <translation>Klicken Sie links auf „LADEN“.</translation>
    </message>
    <message>
        <source>Select the small .orvdcp file you downloaded from the OSKAN web portal (usually in your Downloads folder). If you do not have one yet, click &quot;LAUNCH  OSKAN&quot;, log in, select the film and hit &quot;Download&quot;, then return to the first step.</source>
        <translation>Wählen Sie die kleine .orvdcp-Datei, die Sie vom OSKAN-Webportal heruntergeladen haben (meist im Ordner Downloads). Haben Sie noch keine, klicken Sie auf „OSKAN ÖFFNEN“, melden Sie sich an, wählen Sie den Film und klicken Sie auf „Download“; dann zurück zum ersten Schritt.</translation>
    </message>
    <message>
        <source>You will be asked where you want to save your DCP file to. Select your download location and hit save. Your download will begin.</source>
        <translation>Sie werden gefragt, wo Ihr DCP gespeichert werden soll. Wählen Sie den Speicherort und bestätigen Sie: Der Download beginnt.</translation>
    </message>
    <message>
        <source>IMPORTANT:</source>
        <translation>WICHTIG:</translation>
    </message>
    <message>
        <source>if you will ingest from a USB hard drive, download directly onto that drive rather than onto this computer&apos;s local drive first, so that Reelvane can verify the download and fix corruptions before ingest.</source>
        <translation>Wenn Sie von einer USB-Festplatte ingesten, laden Sie direkt auf diese Festplatte herunter und nicht zuerst auf die interne Festplatte dieses Computers. So kann Reelvane den Download prüfen und Beschädigungen vor dem Ingest beheben.</translation>
    </message>
    <message>
        <source>You can pause the download at any time by hitting pause or just quitting this application. When you open the application again the download will resume from where it left off.</source>
        <translation>Sie können den Download jederzeit mit PAUSE oder durch Beenden des Programms unterbrechen. Beim nächsten Start geht er dort weiter, wo er aufgehört hat.</translation>
    </message>
    <message>
        <source>Need help? Write to %1 and we will get back to you.</source>
        <translation>Brauchen Sie Hilfe? Schreiben Sie an %1, wir melden uns.</translation>
    </message>
</context>
<context>
    <name>EnvironmentProxyFactory</name>
    <message>
        <source>The proxy &quot;%1&quot; (%2) cannot be used. It must be [http://][user:password@]host[:port] or a socks5:// address.</source>
        <translation>Der Proxy „%1“ (%2) kann nicht verwendet werden. Er muss die Form [http://][Benutzer:Passwort@]Host[:Port] haben oder eine socks5://-Adresse sein.</translation>
    </message>
</context>
<context>
    <name>KeptFiles</name>
    <message>
        <source>Unable to keep the files found on the drive.</source>
        <translation>Die auf dem Laufwerk gefundenen Dateien können nicht behalten werden.</translation>
    </message>
    <message>
        <source>Unable to download the kept files instead.</source>
        <translation>Die behaltenen Dateien können nicht stattdessen heruntergeladen werden.</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Login</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Please login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Bitte anmelden&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>LOG IN</source>
        <translation>ANMELDEN</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Password&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Passwort vergessen&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Username&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Benutzername vergessen&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Please login using the same username and password you use to login to OSKAN.</source>
        <translation>Bitte melden Sie sich mit demselben Benutzernamen und Passwort an wie bei OSKAN.</translation>
    </message>
    <message>
        <source>LOGGING IN...</source>
        <translation>ANMELDUNG...</translation>
    </message>
    <message>
        <source>Error. Please check your internet connection.</source>
        <translation>Fehler. Bitte prüfen Sie Ihre Internetverbindung.</translation>
    </message>
    <message>
        <source>Service is temporarily not available. Please try again later.</source>
        <translation>Der Dienst ist vorübergehend nicht verfügbar. Bitte versuchen Sie es später erneut.</translation>
    </message>
</context>
<context>
    <name>NavBar</name>
    <message>
        <source>LOAD FILE</source>
        <translation>LADEN</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Eine Paketdatei öffnen (Strg+O)</translation>
    </message>
    <message>
        <source>RESUME</source>
        <translation>FORTSETZEN</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>Resume the downloads (Space)</source>
        <translation>Downloads fortsetzen (Leertaste)</translation>
    </message>
    <message>
        <source>Pause the downloads (Space)</source>
        <translation>Downloads anhalten (Leertaste)</translation>
    </message>
    <message>
        <source>LAUNCH OSKAN</source>
        <translation>OSKAN ÖFFNEN</translation>
    </message>
    <message>
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Das OSKAN-Portal im Webbrowser öffnen</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Die Datei mit Zertifizierungsstellen „%1“ (ORV_EXTRA_CA_FILE) kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) is not a regular file.</source>
        <translation>Die Zertifizierungsstellen-Datei „%1“ (ORV_EXTRA_CA_FILE) ist keine normale Datei.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds %2 bytes; a certificate bundle is well under 1 MB.</source>
        <translation>Die Zertifizierungsstellen-Datei „%1“ (ORV_EXTRA_CA_FILE) ist %2 Byte groß; ein Zertifikatsbündel ist deutlich kleiner als 1 MB.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds no PEM certificate.</source>
        <translation>Die Datei mit Zertifizierungsstellen „%1“ (ORV_EXTRA_CA_FILE) enthält kein PEM-Zertifikat.</translation>
    </message>
</context>
<context>
    <name>NotificationManager</name>
    <message>
        <source>Downloaded files could not be given their final names.</source>
        <translation>Die heruntergeladenen Dateien konnten nicht endgültig benannt werden.</translation>
    </message>
    <message>
        <source>They keep their hidden names, so the DCP cannot be ingested yet. The Reelvane Downloader tries again after every report to the server and at the next start.

</source>
        <translation>Sie behalten ihre versteckten Namen, daher kann das DCP noch nicht ingestet werden. Der Reelvane Downloader versucht es nach jeder Meldung an den Server und beim nächsten Start erneut.

</translation>
    </message>
</context>
<context>
    <name>PackageEntryImporter</name>
    <message>
        <source>Drive not connected</source>
        <translation>Laufwerk nicht angeschlossen</translation>
    </message>
    <message>
        <source>The DCP %1 is downloaded to %2, which is not connected. Connect the drive, start the Reelvane Downloader again and open the file once more.</source>
        <translation>Das DCP %1 wird nach %2 heruntergeladen, das nicht angeschlossen ist. Schließen Sie das Laufwerk an, starten Sie den Reelvane Downloader neu und öffnen Sie die Datei erneut.</translation>
    </message>
    <message>
        <source>The DCP %1 already exist and will be merged.</source>
        <translation>Das DCP %1 ist schon vorhanden und wird zusammengeführt.</translation>
    </message>
    <message>
        <source>No reels detected in ORVDCP file. Select at least one reel to download. Please redownload the file from OSKAN.</source>
        <translation>Die ORVDCP-Datei enthält keine Reels. Wählen Sie mindestens ein Reel zum Download und laden Sie die Datei erneut von OSKAN herunter.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Möchten Sie die Datei jetzt erneut herunterladen?</translation>
    </message>
    <message>
        <source>The selected drive cannot hold this DCP</source>
        <translation>Das gewählte Laufwerk kann dieses DCP nicht aufnehmen</translation>
    </message>
    <message>
        <source>The drive uses the FAT32 file system, which cannot store files of 4 GB or more, and this DCP contains such files.<byte value="xd"/>
<byte value="xd"/>
Please choose a drive formatted as ext2, ext3, exFAT or NTFS.</source>
        <translation>Das Laufwerk nutzt das Dateisystem FAT32, das keine Dateien ab 4 GB speichern kann, und dieses DCP enthält solche Dateien.<byte value="xd"/>
<byte value="xd"/>
Bitte wählen Sie ein Laufwerk mit ext2, ext3, exFAT oder NTFS.</translation>
    </message>
    <message>
        <source>The DCP %1 could not be saved</source>
        <translation>Das DCP %1 konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Unable to write the DCP folder %1.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, writable and has free space, then open the file again.</source>
        <translation>Der DCP-Ordner %1 kann nicht geschrieben werden.<byte value="xd"/>
<byte value="xd"/>
Bitte prüfen Sie, ob das Laufwerk angeschlossen, beschreibbar und nicht voll ist, und öffnen Sie die Datei dann erneut.</translation>
    </message>
    <message>
        <source>Remove conflicting files?</source>
        <translation>Störende Dateien entfernen?</translation>
    </message>
    <message>
        <source>The following files will be removed...<byte value="xd"/>
</source>
        <translation>Die folgenden Dateien werden entfernt...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>&amp;Check and keep</source>
        <translation>&amp;Prüfen und behalten</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Reel %1 entfernen und seine Dateien löschen (Entf)</translation>
    </message>
    <message>
        <source>Reel #%1</source>
        <translation>Reel %1</translation>
    </message>
</context>
<context>
    <name>ScheduleDialog</name>
    <message>
        <source>No limit</source>
        <translation>Keine Begrenzung</translation>
    </message>
    <message>
        <source>Limit (%1 Mbps)</source>
        <translation>Begrenzung (%1 Mbit/s)</translation>
    </message>
    <message>
        <source>Alternative limit</source>
        <translation>Alternative Begrenzung</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Bandwidth schedule</source>
        <translation>Zeitplan für die Bandbreite</translation>
    </message>
    <message>
        <source>On: the rules below apply at each hour</source>
        <translation>Ein: Die Regeln unten gelten Stunde für Stunde</translation>
    </message>
    <message>
        <source>Off: the slider and the switch alone apply</source>
        <translation>Aus: Es gelten nur Regler und Schalter</translation>
    </message>
    <message>
        <source>Alternative limit:</source>
        <translation>Alternative Begrenzung:</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>Full speed at night, 22:00–08:00</source>
        <translation>Nachts volle Geschwindigkeit, 22:00–08:00</translation>
    </message>
    <message>
        <source>Weekdays limited by day</source>
        <translation>Werktags tagsüber begrenzt</translation>
    </message>
    <message>
        <source>Paint hours with the mouse, or move with the arrow keys and press Space; keys 1 to 4 pick the rule. Moving the slider or the switch by hand overrides the schedule until its next change.</source>
        <translation>Stunden mit der Maus markieren, oder mit den Pfeiltasten wählen und die Leertaste drücken; die Tasten 1 bis 4 wählen die Regel. Wer Regler oder Schalter von Hand bewegt, übersteuert den Zeitplan bis zu seinem nächsten Wechsel.</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SPEICHERN</translation>
    </message>
</context>
<context>
    <name>ScheduleEngine</name>
    <message>
        <source>Schedule overridden by hand until %1</source>
        <translation>Zeitplan von Hand übersteuert bis %1</translation>
    </message>
    <message>
        <source>Schedule overridden by hand</source>
        <translation>Zeitplan von Hand übersteuert</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>keine Begrenzung</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>%1 Mbps (alternative)</source>
        <translation>%1 Mbit/s (alternativ)</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>pausiert</translation>
    </message>
    <message>
        <source>Schedule: %1 until %2</source>
        <translation>Zeitplan: %1 bis %2</translation>
    </message>
    <message>
        <source>Schedule: %1</source>
        <translation>Zeitplan: %1</translation>
    </message>
</context>
<context>
    <name>Services</name>
    <message>
        <source>The portal address &quot;%1&quot; (ORV_PORTAL_URL) is refused. It must be an https:// address, or http:// on this computer (127.0.0.1, ::1 or localhost) only, since the password, the decoding key and the installer travel over it.</source>
        <translation>Die Portaladresse „%1“ (ORV_PORTAL_URL) wird abgelehnt. Sie muss eine https://-Adresse sein oder http:// nur auf diesem Computer (127.0.0.1, ::1 oder localhost), da Passwort, Entschlüsselungsschlüssel und Installationsprogramm darüber laufen.</translation>
    </message>
    <message>
        <source>The notification service address &quot;%1&quot; (ORV_NOTIFY_URL) is refused. It must be an http:// or https:// address with a host name.</source>
        <translation>Die Adresse des Benachrichtigungsdienstes „%1“ (ORV_NOTIFY_URL) wird abgelehnt. Sie muss eine http://- oder https://-Adresse mit Hostnamen sein.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Unable to save the settings.</source>
        <translation>Die Einstellungen können nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Downloading DCP</source>
        <translation>DCP wird heruntergeladen</translation>
    </message>
</context>
<context>
    <name>TopBar</name>
    <message>
        <source>Search DCPs...</source>
        <translation>DCPs suchen...</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>DCPs suchen</translation>
    </message>
    <message>
        <source>DATE</source>
        <comment>sort by date</comment>
        <translation>DATUM</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Nach Datum sortieren</translation>
    </message>
    <message>
        <source>A-Z</source>
        <comment>sort by name</comment>
        <translation>A-Z</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Nach Name sortieren</translation>
    </message>
</context>
<context>
    <name>TransferOutcomes</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Der Proxy verlangt eine Anmeldung (%1), neuer Versuch…</translation>
    </message>
    <message>
        <source>The server&apos;s file and the package disagree: %1 bytes on the server, %2 in the package. Downloads of this file wait.</source>
        <translation>Datei auf dem Server und Paket stimmen nicht überein: %1 Byte auf dem Server, %2 im Paket. Der Download dieser Datei wartet.</translation>
    </message>
    <message>
        <source>Server %1 ≠ package %2</source>
        <translation>Server %1 ≠ Paket %2</translation>
    </message>
    <message>
        <source>Unable to handle a failed download.</source>
        <translation>Ein fehlgeschlagener Download kann nicht behandelt werden.</translation>
    </message>
    <message>
        <source>Unable to start the next download.</source>
        <translation>Der nächste Download kann nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>UpdaterDialog</name>
    <message>
        <source>Checking for updates...</source>
        <translation>Suche nach Updates...</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Bitte warten...</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Nicht jetzt</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Neue Version verfügbar</translation>
    </message>
    <message>
        <source>New version available. Would you like to download updates now?</source>
        <translation>Eine neue Version ist verfügbar. Möchten Sie sie jetzt herunterladen?</translation>
    </message>
    <message>
        <source>Downloading updates ...</source>
        <translation>Update wird heruntergeladen ...</translation>
    </message>
    <message>
        <source>The update was downloaded but could not be opened.</source>
        <translation>Das Update wurde heruntergeladen, ließ sich aber nicht öffnen.</translation>
    </message>
    <message>
        <source>Open the installer yourself:
%1

The Reelvane Downloader goes on with this version for now.</source>
        <translation>Öffnen Sie das Installationsprogramm selbst:
%1

Der Reelvane Downloader läuft vorerst mit dieser Version weiter.</translation>
    </message>
</context>
<context>
    <name>WebAlerts</name>
    <message>
        <source>Enter a web address that starts with https:// or http://.</source>
        <translation>Geben Sie eine Webadresse ein, die mit https:// oder http:// beginnt.</translation>
    </message>
    <message>
        <source>Test alert from Reelvane Downloader: alerts reach this address.</source>
        <translation>Testmeldung von Reelvane Downloader: Meldungen kommen an dieser Adresse an.</translation>
    </message>
    <message>
        <source>The address answered: alerts will arrive there.</source>
        <translation>Die Adresse hat geantwortet: Meldungen kommen dort an.</translation>
    </message>
    <message>
        <source>The address did not answer: %1</source>
        <translation>Die Adresse hat nicht geantwortet: %1</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>der Server antwortete mit %1 %2</translation>
    </message>
    <message>
        <source>nothing came back within %1 seconds</source>
        <translation>keine Antwort innerhalb von %1 Sekunden</translation>
    </message>
</context>
<context>
    <name>WindowActions</name>
    <message>
        <source>Would you like to continue ?</source>
        <translation>Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>Warning...</source>
        <translation>Achtung...</translation>
    </message>
    <message>
        <source>You are about to delete a DCP.<byte value="xd"/>
<byte value="xd"/>
This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader.</source>
        <translation>Sie sind dabei, ein DCP zu löschen.<byte value="xd"/>
<byte value="xd"/>
Die Dateien auf Ihrer Festplatte werden NICHT GELÖSCHT, das DCP wird nur aus dem Reelvane Downloader entfernt.</translation>
    </message>
    <message>
        <source>You are about to delete a Reel.<byte value="xd"/>
<byte value="xd"/>
This will DELETE the files on your hard drive. The Reel and all of it&apos;s assets will be removed.</source>
        <translation>Sie sind dabei, ein Reel zu löschen.<byte value="xd"/>
<byte value="xd"/>
Die Dateien auf Ihrer Festplatte werden GELÖSCHT: Das Reel und alle seine Dateien werden entfernt.</translation>
    </message>
    <message>
        <source>No program on this computer could show the folder. The DCP&apos;s files are in:</source>
        <translation>Kein Programm auf diesem Computer konnte den Ordner anzeigen. Die Dateien des DCP liegen in:</translation>
    </message>
    <message>
        <source>No web browser on this computer could open OSKAN. Copy this address into your browser:</source>
        <translation>Kein Webbrowser auf diesem Computer konnte OSKAN öffnen. Kopieren Sie diese Adresse in Ihren Browser:</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Version 1.4.0</translation>
    </message>
    <message>
        <source>Your downloads are paused.</source>
        <translation>Ihre Downloads sind angehalten.</translation>
    </message>
    <message>
        <source>Would you like to resume?</source>
        <translation>Möchten Sie fortsetzen?</translation>
    </message>
    <message>
        <source>Downloads are paused</source>
        <translation>Downloads angehalten</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Load File</source>
        <translation>Datei &amp;laden</translation>
    </message>
    <message>
        <source>Alerts…</source>
        <translation>Meldungen…</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>System language</source>
        <translation>Systemsprache</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>WindowStatusBar</name>
    <message>
        <source>Speed limit: </source>
        <translation>Bandbreite: </translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Geschwindigkeitsbegrenzung</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Unbegrenzt</translation>
    </message>
    <message>
        <source>Schedule…</source>
        <translation>Zeitplan…</translation>
    </message>
</context>
<context>
    <name>globals</name>
    <message>
        <source>Completed</source>
        <comment>status of a reel</comment>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Notifying, please wait</source>
        <comment>status of a reel</comment>
        <translation>Wird gemeldet, bitte warten</translation>
    </message>
    <message>
        <source>Downloading</source>
        <comment>status of a reel</comment>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>Pending</source>
        <comment>status of a reel</comment>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>Validating, please wait</source>
        <comment>status of a reel</comment>
        <translation>Wird geprüft, bitte warten</translation>
    </message>
    <message>
        <source>Corrupted</source>
        <comment>status of a reel</comment>
        <translation>Beschädigt</translation>
    </message>
    <message>
        <source>Queued for redownload</source>
        <comment>status of a reel</comment>
        <translation>Wird erneut geladen</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Laufwerk nicht angeschlossen</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>status of a DCP paused on its own</comment>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Server not answering, retrying…</source>
        <translation>Server antwortet nicht, neuer Versuch…</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>kB</source>
        <translation>kB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Mbps</source>
        <translation>Mbit/s</translation>
    </message>
    <message>
        <source>Gbps</source>
        <translation>Gbit/s</translation>
    </message>
    <message>
        <source>Failed</source>
        <comment>status of a DCP</comment>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Downloading reel %1</source>
        <translation>Lädt Reel %1</translation>
    </message>
    <message>
        <source>Validating reel %1</source>
        <translation>Prüft Reel %1</translation>
    </message>
    <message>
        <source>Notifying reel %1</source>
        <translation>Meldet Reel %1</translation>
    </message>
    <message>
        <source>Pending %1 reel</source>
        <translation>Wartet: %1 Reel</translation>
    </message>
    <message>
        <source>Pending %1 reels</source>
        <translation>Wartet: %1 Reels</translation>
    </message>
    <message>
        <source>Completed %1</source>
        <comment>status of a DCP, with its size</comment>
        <translation>Fertig %1</translation>
    </message>
    <message>
        <source>Downloading %1 %2</source>
        <comment>status of a reel, with its speed</comment>
        <translation>Lädt %1 %2</translation>
    </message>
    <message>
        <source>Remaining time: unknown</source>
        <translation>Restzeit: unbekannt</translation>
    </message>
    <message>
        <source>Remaining time: %1h %2m %3s</source>
        <translation>Restzeit: %1h %2min %3s</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>Pausiert.</translation>
    </message>
    <message>
        <source>Confirming %1 reel with the portal…</source>
        <translation>%1 Reel wird beim Portal bestätigt…</translation>
    </message>
    <message>
        <source>Confirming %1 reels with the portal…</source>
        <translation>%1 Reels werden beim Portal bestätigt…</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <source>Paused, %1 reel left</source>
        <translation>Pausiert, %1 Reel übrig</translation>
    </message>
    <message>
        <source>Paused, %1 reels left</source>
        <translation>Pausiert, %1 Reels übrig</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Please choose a file</source>
        <translation>Bitte eine Datei wählen</translation>
    </message>
    <message>
        <source>DCP Package (*.orvdcp)</source>
        <translation>DCP-Paket (*.orvdcp)</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Version 1.4.0</translation>
    </message>
    <message>
        <source>Drop the package to load it</source>
        <translation>Paket hier ablegen, um es zu laden</translation>
    </message>
    <message>
        <source>You already have an instance of the Reelvane Downloader running.<byte value="xd"/>
Only one instance is allowed.</source>
        <translation>Der Reelvane Downloader läuft bereits.<byte value="xd"/>
Es ist nur eine Instanz erlaubt.</translation>
    </message>
</context>
</TS>
