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
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
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
</context>
</TS>
