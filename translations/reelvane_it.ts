<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AlertsDialog</name>
    <message>
        <source>Send a test alert</source>
        <translation>Invia un avviso di prova</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Avvisi</translation>
    </message>
    <message>
        <source>When a DCP is ready, a reel is corrupted, a drive is not connected or the server has not answered for ten minutes, a short message in JSON is posted to this web address: a chat channel, a text-message gateway or your own monitoring. Leave it empty for no alerts.</source>
        <translation>Quando un DCP è pronto, un rullo è danneggiato, un disco non è collegato o il server non risponde da dieci minuti, viene inviato un breve messaggio JSON a questo indirizzo web: un canale di chat, un gateway SMS o il vostro sistema di monitoraggio. Lasciare vuoto per non ricevere avvisi.</translation>
    </message>
    <message>
        <source>Sending a test alert…</source>
        <translation>Invio dell&apos;avviso di prova…</translation>
    </message>
</context>
<context>
    <name>AttentionEvents</name>
    <message>
        <source>DCP ready</source>
        <translation>DCP pronto</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified</source>
        <translation>%1 è pronto: tutti i rulli verificati</translation>
    </message>
    <message>
        <source>Reel corrupted</source>
        <translation>Rullo danneggiato</translation>
    </message>
    <message>
        <source>%1: reel %2 is corrupted</source>
        <translation>%1: il rullo %2 è danneggiato</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disco non collegato</translation>
    </message>
    <message>
        <source>%1: the drive is not connected, the download waits</source>
        <translation>%1: il disco non è collegato, il download è in attesa</translation>
    </message>
    <message>
        <source>Server not answering</source>
        <translation>Il server non risponde</translation>
    </message>
    <message>
        <source>%1: the server has not answered since %2</source>
        <translation>%1: il server non risponde dalle %2</translation>
    </message>
    <message>
        <source>The server has not answered since %1</source>
        <translation>Il server non risponde dalle %1</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified. The drive %2 can be unplugged.</source>
        <translation>%1 è pronto: tutti i rulli verificati. Il disco %2 può essere scollegato.</translation>
    </message>
</context>
<context>
    <name>DcpDelegate</name>
    <message>
        <source>Ejecting…</source>
        <translation>Espulsione…</translation>
    </message>
    <message>
        <source>RESUME THIS DCP</source>
        <translation>RIPRENDI DCP</translation>
    </message>
    <message>
        <source>PAUSE THIS DCP</source>
        <translation>SOSPENDI DCP</translation>
    </message>
    <message>
        <source>DOWNLOAD NEXT</source>
        <translation>METTI IN TESTA</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>SPOSTA SU</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>SPOSTA GIÙ</translation>
    </message>
    <message>
        <source>Close details</source>
        <translation>Chiudi i dettagli</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Chiudi (Esc)</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Mostra la cartella del DCP nel gestore file</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Rulli</translation>
    </message>
</context>
<context>
    <name>DcpMenu</name>
    <message>
        <source>Resume this DCP</source>
        <translation>Riprendi questo DCP</translation>
    </message>
    <message>
        <source>Pause this DCP</source>
        <translation>Sospendi questo DCP</translation>
    </message>
    <message>
        <source>Download next</source>
        <translation>Scarica subito dopo</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Sposta su</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Sposta giù</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Mostra</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Il proxy richiede l&apos;autenticazione (%1), nuovo tentativo…</translation>
    </message>
</context>
<context>
    <name>DriveRoom</name>
    <message>
        <source>%1 needs %2 more than the drive %3 holds</source>
        <translation>A %1 servono %2 in più di quanti ne contenga il disco %3</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>On %1: %2 free</source>
        <translation>Su %1: %2 liberi</translation>
    </message>
    <message>
        <source>Needs %1 more</source>
        <translation>Servono %1 in più</translation>
    </message>
</context>
<context>
    <name>EjectAction</name>
    <message>
        <source>Ready to unplug: every DCP on this drive is verified and confirmed.</source>
        <translation>Pronto da scollegare: ogni DCP su questo disco è verificato e confermato.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: a few seconds.</source>
        <translation>I file restano nascosti finché il portale non li conferma: pochi secondi.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 s.</source>
        <translation>I file restano nascosti finché il portale non li conferma: circa %1 s.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 min.</source>
        <translation>I file restano nascosti finché il portale non li conferma: circa %1 min.</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Login</source>
        <translation>Accesso</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Please login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Effettua l&apos;accesso&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Nome utente</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>LOG IN</source>
        <translation>ACCEDI</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Password&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Password dimenticata&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Username&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Nome utente dimenticato&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Il file delle autorità di certificazione «%1» (ORV_EXTRA_CA_FILE) non può essere letto: %2</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) is not a regular file.</source>
        <translation>Il file delle autorità di certificazione «%1» (ORV_EXTRA_CA_FILE) non è un file normale.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds %2 bytes; a certificate bundle is well under 1 MB.</source>
        <translation>Il file delle autorità di certificazione «%1» (ORV_EXTRA_CA_FILE) occupa %2 byte; un pacchetto di certificati è ben sotto 1 MB.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds no PEM certificate.</source>
        <translation>Il file delle autorità di certificazione «%1» (ORV_EXTRA_CA_FILE) non contiene alcun certificato PEM.</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Rimuovi il rullo %1 ed elimina i suoi file (Canc)</translation>
    </message>
</context>
<context>
    <name>ScheduleDialog</name>
    <message>
        <source>No limit</source>
        <translation>Nessun limite</translation>
    </message>
    <message>
        <source>Limit (%1 Mbps)</source>
        <translation>Limite (%1 Mbit/s)</translation>
    </message>
    <message>
        <source>Alternative limit</source>
        <translation>Limite alternativo</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>In pausa</translation>
    </message>
    <message>
        <source>Bandwidth schedule</source>
        <translation>Programmazione della banda</translation>
    </message>
    <message>
        <source>On: the rules below apply at each hour</source>
        <translation>Attiva: le regole qui sotto valgono ora per ora</translation>
    </message>
    <message>
        <source>Off: the slider and the switch alone apply</source>
        <translation>Disattiva: valgono solo il cursore e l’interruttore</translation>
    </message>
    <message>
        <source>Alternative limit:</source>
        <translation>Limite alternativo:</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>Full speed at night, 22:00–08:00</source>
        <translation>Piena velocità di notte, 22:00–08:00</translation>
    </message>
    <message>
        <source>Weekdays limited by day</source>
        <translation>Feriali limitati di giorno</translation>
    </message>
    <message>
        <source>Paint hours with the mouse, or move with the arrow keys and press Space; keys 1 to 4 pick the rule. Moving the slider or the switch by hand overrides the schedule until its next change.</source>
        <translation>Colora le ore con il mouse, oppure spostati con le frecce e premi Spazio; i tasti da 1 a 4 scelgono la regola. Spostare a mano il cursore o l’interruttore prevale sulla programmazione fino al suo prossimo cambio.</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULLA</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SALVA</translation>
    </message>
</context>
<context>
    <name>ScheduleEngine</name>
    <message>
        <source>Schedule overridden by hand until %1</source>
        <translation>Programmazione cambiata a mano fino a %1</translation>
    </message>
    <message>
        <source>Schedule overridden by hand</source>
        <translation>Programmazione cambiata a mano</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>nessun limite</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>%1 Mbps (alternative)</source>
        <translation>%1 Mbit/s (alternativo)</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>in pausa</translation>
    </message>
    <message>
        <source>Schedule: %1 until %2</source>
        <translation>Programmazione: %1 fino a %2</translation>
    </message>
    <message>
        <source>Schedule: %1</source>
        <translation>Programmazione: %1</translation>
    </message>
</context>
<context>
    <name>UpdaterDialog</name>
    <message>
        <source>Checking for updates...</source>
        <translation>Ricerca di aggiornamenti...</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Attendere prego...</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Non ora</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aggiorna</translation>
    </message>
</context>
<context>
    <name>WebAlerts</name>
    <message>
        <source>Enter a web address that starts with https:// or http://.</source>
        <translation>Inserire un indirizzo web che inizi con https:// o http://.</translation>
    </message>
    <message>
        <source>Test alert from Reelvane Downloader: alerts reach this address.</source>
        <translation>Avviso di prova da Reelvane Downloader: gli avvisi arrivano a questo indirizzo.</translation>
    </message>
    <message>
        <source>The address answered: alerts will arrive there.</source>
        <translation>L&apos;indirizzo ha risposto: gli avvisi arriveranno lì.</translation>
    </message>
    <message>
        <source>The address did not answer: %1</source>
        <translation>L&apos;indirizzo non ha risposto: %1</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>il server ha risposto %1 %2</translation>
    </message>
    <message>
        <source>nothing came back within %1 seconds</source>
        <translation>nessuna risposta entro %1 secondi</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Alerts…</source>
        <translation>Avvisi…</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>System language</source>
        <translation>Lingua di sistema</translation>
    </message>
    <message>
        <source>Schedule…</source>
        <translation>Programmazione…</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Apri un file di pacchetto (Ctrl+O)</translation>
    </message>
    <message>
        <source>Resume the downloads (Space)</source>
        <translation>Riprendi i download (Spazio)</translation>
    </message>
    <message>
        <source>Pause the downloads (Space)</source>
        <translation>Metti in pausa i download (Spazio)</translation>
    </message>
    <message>
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Apri il portale OSKAN nel browser</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Cerca DCP</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Ordina per data</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Ordina per nome</translation>
    </message>
    <message>
        <source>DCPs</source>
        <translation>DCP</translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Limite di velocità</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Nessun limite</translation>
    </message>
</context>
</TS>
