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
    <name>DcpDelegate</name>
    <message>
        <source>Ejecting…</source>
        <translation>Wird ausgeworfen…</translation>
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
        <source>Close details</source>
        <translation>Details schließen</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Den Ordner des DCP im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Reels</translation>
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
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Der Proxy verlangt eine Anmeldung (%1), neuer Versuch…</translation>
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
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Die Zertifizierungsstellen-Datei „%1“ (ORV_EXTRA_CA_FILE) kann nicht gelesen werden: %2</translation>
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
        <translation>Die Zertifizierungsstellen-Datei „%1“ (ORV_EXTRA_CA_FILE) enthält kein PEM-Zertifikat.</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Reel %1 entfernen und seine Dateien löschen (Entf)</translation>
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
    <name>main</name>
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
        <source>Schedule…</source>
        <translation>Zeitplan…</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Eine Paketdatei öffnen (Strg+O)</translation>
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
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Das OSKAN-Portal im Webbrowser öffnen</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>DCPs suchen</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Nach Datum sortieren</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Nach Name sortieren</translation>
    </message>
    <message>
        <source>DCPs</source>
        <translation>DCPs</translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Geschwindigkeitsbegrenzung</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Keine Begrenzung</translation>
    </message>
</context>
</TS>
