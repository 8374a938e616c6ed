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
    <name>DCPManager</name>
    <message>
        <source>The ORVDCP file could not be loaded.</source>
        <translation>Impossibile caricare il file ORVDCP.</translation>
    </message>
</context>
<context>
    <name>DCPXMLReader</name>
    <message>
        <source>Could not open the ORVDCP file.</source>
        <translation>Impossibile aprire il file ORVDCP.</translation>
    </message>
    <message>
        <source>Please check to see if you have read permission for the file.</source>
        <translation>Verificare di avere il permesso di lettura sul file.</translation>
    </message>
    <message>
        <source>Your software is out of date. Unfortunately an update is required in order to load the DCP.</source>
        <translation>Il programma non è aggiornato. Per caricare il DCP è necessario un aggiornamento.</translation>
    </message>
    <message>
        <source>Would you like to download new version?</source>
        <translation>Scaricare la nuova versione?</translation>
    </message>
    <message>
        <source>Your ORVDCP file is out of date. Unfortunately an update is required in order to load this DCP.</source>
        <translation>Il file ORVDCP non è aggiornato. Per caricare questo DCP ne serve uno nuovo.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Scaricare di nuovo il file adesso?</translation>
    </message>
    <message>
        <source>Select download location for your DCP</source>
        <translation>Scegliere dove scaricare il DCP</translation>
    </message>
    <message>
        <source>Select directory for DCP</source>
        <translation>Scegli questa cartella</translation>
    </message>
    <message>
        <source>Not enough disk space</source>
        <translation>Spazio su disco insufficiente</translation>
    </message>
    <message>
        <source>You don&apos;t have enough disk space to download full DCP.<byte value="xd"/>
<byte value="xd"/>
Do you want to continue anyway?</source>
        <translation>Lo spazio su disco non basta per scaricare il DCP completo.<byte value="xd"/>
<byte value="xd"/>
Continuare comunque?</translation>
    </message>
</context>
<context>
    <name>DCPXMLReaderException</name>
    <message>
        <source>Could not decode the content of ORVDCP file. File might be damaged or its content missing. Please redownload the file from OSKAN.</source>
        <translation>Impossibile decodificare il contenuto del file ORVDCP. Il file potrebbe essere danneggiato o incompleto. Scaricarlo di nuovo da OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Scaricare di nuovo il file adesso?</translation>
    </message>
    <message>
        <source>Main data in the ORVDCP missing. File might be damaged. Please redownload the file from OSKAN.</source>
        <translation>Mancano i dati principali del file ORVDCP. Il file potrebbe essere danneggiato. Scaricarlo di nuovo da OSKAN.</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database of the Reelvane Downloader cannot be written.</source>
        <translation>Impossibile scrivere nel database di Reelvane Downloader.</translation>
    </message>
    <message>
        <source>File: %1
Reason: %2

The program keeps every download in this file and cannot run without writing to it. Close any other program that uses the file, or make the file and its folder writable, then start the Reelvane Downloader again.</source>
        <translation>File: %1
Motivo: %2

Il programma conserva ogni download in questo file e non può funzionare senza scriverci. Chiudere ogni altro programma che usa il file, oppure rendere scrivibili il file e la sua cartella, quindi riavviare Reelvane Downloader.</translation>
    </message>
</context>
<context>
    <name>DcpFolderAudit</name>
    <message>
        <source>The DCP folder holds %1 %2 (%3): a cinema server reads only one of them.</source>
        <translation>La cartella del DCP contiene %1 %2 (%3): un server del cinema ne legge uno solo.</translation>
    </message>
    <message>
        <source>%1 has a malformed identifier &quot;%2&quot;: cinema servers expect urn:uuid: followed by a UUID.</source>
        <translation>%1 ha un identificativo non valido «%2»: i server del cinema si aspettano urn:uuid: seguito da un UUID.</translation>
    </message>
    <message>
        <source>ASSETMAP is missing.</source>
        <translation>Manca l’ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>Impossibile leggere %1: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: not an asset map</source>
        <translation>Impossibile leggere %1: non è un ASSETMAP</translation>
    </message>
    <message>
        <source>VOLINDEX is missing.</source>
        <translation>Manca il VOLINDEX.</translation>
    </message>
    <message>
        <source>%1 cannot be read: not a volume index</source>
        <translation>Impossibile leggere %1: non è un VOLINDEX</translation>
    </message>
    <message>
        <source>The PKL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>La PKL indicata nell’ASSETMAP manca o non è leggibile.</translation>
    </message>
    <message>
        <source>The PKL %1 cannot be read: %2</source>
        <translation>Impossibile leggere la PKL %1: %2</translation>
    </message>
    <message>
        <source>The ASSETMAP gives no path for %1.</source>
        <translation>L’ASSETMAP non indica alcun percorso per %1.</translation>
    </message>
    <message>
        <source>The ASSETMAP splits %1 into %2 chunks: cinema servers expect one.</source>
        <translation>L’ASSETMAP divide %1 in %2 parti: i server del cinema se ne aspettano una.</translation>
    </message>
    <message>
        <source>The ASSETMAP&apos;s path %1 leaves the DCP folder.</source>
        <translation>Il percorso %1 dell’ASSETMAP esce dalla cartella del DCP.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 an offset of %2: cinema servers expect 0.</source>
        <translation>L’ASSETMAP assegna a %1 un offset di %2: i server del cinema si aspettano 0.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes, the PKL says %3 bytes.</source>
        <translation>L’ASSETMAP assegna a %1 una lunghezza di %2 byte, la PKL indica %3 byte.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes; it holds %3 bytes.</source>
        <translation>L’ASSETMAP assegna a %1 una lunghezza di %2 byte; il file ne contiene %3.</translation>
    </message>
    <message>
        <source>The CPL %1 cannot be read: %2</source>
        <translation>Impossibile leggere la CPL %1: %2</translation>
    </message>
    <message>
        <source>The CPL %1 is not listed in the PKL: a cinema server does not ingest it.</source>
        <translation>La CPL %1 non è elencata nella PKL: un server del cinema non la importa.</translation>
    </message>
    <message>
        <source>Reel %1 of %2 is not on the drive: this composition will not play.</source>
        <translation>Il rullo %1 di %2 non è sul disco: questa composizione non verrà riprodotta.</translation>
    </message>
    <message>
        <source>The composition %1 plays %2 that this package does not carry: it needs its original version on the cinema server.</source>
        <translation>La composizione %1 riproduce %2 che questo pacchetto non contiene: serve la sua versione originale sul server del cinema.</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 file</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 file</translation>
    </message>
    <message>
        <source>%1 is in the PKL but not in the ASSETMAP.</source>
        <translation>%1 è nella PKL ma non nell’ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 is listed in the ASSETMAP but missing from the drive.</source>
        <translation>%1 è elencato nell’ASSETMAP ma manca sul disco.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, the PKL says %3 bytes.</source>
        <translation>%1 contiene %2 byte, la PKL indica %3 byte.</translation>
    </message>
    <message>
        <source>The folder %1 is empty and not part of the DCP: remove it.</source>
        <translation>La cartella %1 è vuota e non fa parte del DCP: eliminarla.</translation>
    </message>
    <message>
        <source>A hidden file is left: %1</source>
        <translation>È rimasto un file nascosto: %1</translation>
    </message>
    <message>
        <source>%1 is not part of the DCP (the ASSETMAP does not list it): cinema servers copy it or refuse the folder. Remove it.</source>
        <translation>%1 non fa parte del DCP (l’ASSETMAP non lo elenca): i server del cinema lo copiano o rifiutano la cartella. Eliminarlo.</translation>
    </message>
    <message>
        <source>The DCP folder %1 cannot be read.</source>
        <translation>Impossibile leggere la cartella del DCP %1.</translation>
    </message>
    <message>
        <source>The DCP folder %1 is not on the drive.</source>
        <translation>La cartella del DCP %1 non è sul disco.</translation>
    </message>
    <message>
        <source>asset maps</source>
        <translation>ASSETMAP</translation>
    </message>
    <message>
        <source>volume indexes</source>
        <translation>VOLINDEX</translation>
    </message>
    <message>
        <source>The CPL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>La CPL indicata nell’ASSETMAP manca o non è leggibile.</translation>
    </message>
</context>
<context>
    <name>DcpGrid</name>
    <message>
        <source>DCPs</source>
        <translation>DCP</translation>
    </message>
</context>
<context>
    <name>DcpIngestCheck</name>
    <message>
        <source>%1 cannot be read from the drive.</source>
        <translation>Impossibile leggere %1 dal disco.</translation>
    </message>
    <message>
        <source>The PKL&apos;s hash for the CPL %1 does not match it: a cinema server refuses the composition.</source>
        <translation>L’hash della PKL per la CPL %1 non corrisponde: un server del cinema rifiuta la composizione.</translation>
    </message>
    <message>
        <source>%1 is corrupted: its SHA-1 differs from the PKL.</source>
        <translation>%1 è danneggiato: il suo SHA-1 è diverso da quello della PKL.</translation>
    </message>
    <message>
        <source>Ready for the cinema: %1 files, %2 GB</source>
        <translation>Pronto per il cinema: %1 file, %2 GB</translation>
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
    <name>DcpPage</name>
    <message>
        <source>Close details</source>
        <translation>Chiudi i dettagli</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Chiudi (Esc)</translation>
    </message>
    <message>
        <source>START DOWNLOAD</source>
        <translation>SCARICA</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>ELIMINA</translation>
    </message>
    <message>
        <source>CHECK DRIVE</source>
        <translation>VERIFICA DISCO</translation>
    </message>
    <message>
        <source>DOWNLOAD AGAIN</source>
        <translation>SCARICA DI NUOVO</translation>
    </message>
    <message>
        <source>Ejecting…</source>
        <translation>Espulsione…</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Espelli disco</translation>
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
        <source>GO TO FILES</source>
        <translation>VAI AI FILE</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Mostra la cartella del DCP nel gestore file</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULLA</translation>
    </message>
    <message>
        <source>Checking the file kept on the drive…</source>
        <translation>Verifica del file conservato sul disco…</translation>
    </message>
    <message>
        <source>Checking the %1 files kept on the drive…</source>
        <translation>Verifica dei %1 file conservati sul disco…</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Rulli</translation>
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
        <source>Unable to update the download queue.</source>
        <translation>Impossibile aggiornare la coda dei download.</translation>
    </message>
    <message>
        <source>Unable to start downloading the DCP.</source>
        <translation>Impossibile avviare il download del DCP.</translation>
    </message>
    <message>
        <source>Unable to pause the downloads.</source>
        <translation>Impossibile mettere in pausa i download.</translation>
    </message>
    <message>
        <source>Unable to resume the downloads.</source>
        <translation>Impossibile riprendere i download.</translation>
    </message>
    <message>
        <source>Unable to download a corrupted file again.</source>
        <translation>Impossibile scaricare di nuovo un file danneggiato.</translation>
    </message>
    <message>
        <source>Unable to remove the DCP.</source>
        <translation>Impossibile rimuovere il DCP.</translation>
    </message>
    <message>
        <source>Unable to remove the reel.</source>
        <translation>Impossibile eliminare il rullo.</translation>
    </message>
    <message>
        <source>Unable to restart the download.</source>
        <translation>Impossibile riavviare il download.</translation>
    </message>
    <message>
        <source>Unable to store the download order.</source>
        <translation>Impossibile salvare l’ordine dei download.</translation>
    </message>
    <message>
        <source>Unable to pause the DCP.</source>
        <translation>Impossibile mettere in pausa il DCP.</translation>
    </message>
    <message>
        <source>Unable to change the download order.</source>
        <translation>Impossibile cambiare l’ordine dei download.</translation>
    </message>
</context>
<context>
    <name>DownloadPrompts</name>
    <message>
        <source>Not enough disk space</source>
        <translation>Spazio su disco insufficiente</translation>
    </message>
    <message>
        <source>You have ran out of disk space so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please free up some space and hit the resume button once you&apos;re ready.</source>
        <translation>Lo spazio su disco è esaurito e il download è stato messo in pausa.<byte value="xd"/>
<byte value="xd"/>
Liberare spazio e premere RIPRENDI quando pronti.</translation>
    </message>
    <message>
        <source>Unable to write the download</source>
        <translation>Impossibile scrivere il download</translation>
    </message>
    <message>
        <source>The folder %1 is missing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, then hit the resume button.</source>
        <translation>Manca la cartella %1 e il download è stato messo in pausa.<byte value="xd"/>
<byte value="xd"/>
Verificare che il disco sia collegato, poi premere RIPRENDI.</translation>
    </message>
    <message>
        <source>The file %1 can not be opened for writing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected and writable, then hit the resume button.</source>
        <translation>Impossibile aprire in scrittura il file %1: il download è stato messo in pausa.<byte value="xd"/>
<byte value="xd"/>
Verificare che il disco sia collegato e scrivibile, poi premere RIPRENDI.</translation>
    </message>
    <message>
        <source>Unable to save the download</source>
        <translation>Impossibile salvare il download</translation>
    </message>
    <message>
        <source>The progress of your download can not be saved (%1), so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the program&apos;s folder is writable, then hit the resume button.</source>
        <translation>Impossibile salvare l’avanzamento del download (%1): il download è stato messo in pausa.<byte value="xd"/>
<byte value="xd"/>
Verificare che la cartella del programma sia scrivibile, poi premere RIPRENDI.</translation>
    </message>
    <message>
        <source>The current Reel is in validation(checksum) process, please wait until this is finished and try again.</source>
        <translation>Il rullo corrente è in verifica (checksum). Attendere la fine della verifica e riprovare.</translation>
    </message>
    <message>
        <source>Download links expired</source>
        <translation>Link di download scaduti</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Do you want to remove outdated DCP?<byte value="xd"/>
(This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader)</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Rimuovere il DCP scaduto?<byte value="xd"/>
(I file sul disco NON VERRANNO ELIMINATI: il DCP viene solo tolto da Reelvane Downloader)</translation>
    </message>
    <message>
        <source>One of the files for DCP %1 is missing and can not be downloaded. You won&apos;t be able to finish the given download.</source>
        <translation>Manca uno dei file del DCP %1 e non può essere scaricato. Questo download non potrà essere completato.</translation>
    </message>
    <message>
        <source>Download links for DCP %1 expired. You won&apos;t be able to finish the given download.</source>
        <translation>I link di download del DCP %1 sono scaduti. Questo download non potrà essere completato.</translation>
    </message>
    <message>
        <source>Stop checking the files kept on the drive?</source>
        <translation>Interrompere la verifica dei file conservati sul disco?</translation>
    </message>
    <message>
        <source>The file not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Il file non ancora verificato verrà invece scaricato di nuovo dal server, sostituendo quello sul disco.</translation>
    </message>
    <message>
        <source>The %1 files not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>I %1 file non ancora verificati verranno invece scaricati di nuovo dal server, sostituendo quelli sul disco.</translation>
    </message>
</context>
<context>
    <name>DriveCheck</name>
    <message>
        <source>The folder is on a network or temporary file system (%1), not on the drive itself. Most cinema servers cannot read it.</source>
        <translation>La cartella si trova su un file system di rete o temporaneo (%1), non sul disco stesso. La maggior parte dei server del cinema non può leggerla.</translation>
    </message>
    <message>
        <source>The drive uses %1. Most cinema servers cannot read %1 drives.</source>
        <translation>Il disco usa %1. La maggior parte dei server del cinema non legge i dischi %1.</translation>
    </message>
    <message>
        <source>The drive uses FAT32, which cannot store files of 4 GB or more. Larger DCP files cannot be downloaded to it.</source>
        <translation>Il disco usa FAT32, che non può contenere file da 4 GB o più. I file di DCP più grandi non potranno esservi scaricati.</translation>
    </message>
    <message>
        <source>The drive uses ext4. Some cinema servers only read ext2 or ext3 drives.</source>
        <translation>Il disco usa ext4. Alcuni server del cinema leggono solo dischi ext2 o ext3.</translation>
    </message>
    <message>
        <source>The inode size of the drive&apos;s ext%1 file system could not be read without administrator rights. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>Non è stato possibile leggere la dimensione degli inode del file system ext%1 senza diritti di amministratore. Alcuni server del cinema leggono solo dischi con inode da 128 byte.</translation>
    </message>
    <message>
        <source>The drive&apos;s ext%1 file system has an inode size of %2 bytes. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>Il file system ext%1 del disco ha inode da %2 byte. Alcuni server del cinema leggono solo dischi con inode da 128 byte.</translation>
    </message>
    <message>
        <source>The drive has a GPT partition table. Some cinema servers only read drives with an MBR partition table.</source>
        <translation>Il disco ha una tabella delle partizioni GPT. Alcuni server del cinema leggono solo dischi con tabella delle partizioni MBR.</translation>
    </message>
    <message>
        <source>The DCP folder would not be at the top level of the drive (%1). Cinema servers look for DCPs at the top level; choose the drive itself.</source>
        <translation>La cartella del DCP non sarebbe nella radice del disco (%1). I server del cinema cercano i DCP nella radice: scegliere il disco stesso.</translation>
    </message>
    <message>
        <source>Drive check</source>
        <translation>Verifica del disco</translation>
    </message>
    <message>
        <source>Most cinema servers cannot read this drive.</source>
        <translation>La maggior parte dei server del cinema non può leggere questo disco.</translation>
    </message>
    <message>
        <source>Please check the drive before it goes to the cinema.</source>
        <translation>Verificare il disco prima che vada al cinema.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continua</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Scegli un’altra cartella</translation>
    </message>
</context>
<context>
    <name>DriveEject</name>
    <message>
        <source>It is now safe to remove the drive</source>
        <translation>Ora è possibile rimuovere il disco in sicurezza</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because it is busy. Close every window and program that uses files on it, then try again.</source>
        <translation>Impossibile espellere il disco perché è occupato. Chiudere tutte le finestre e i programmi che usano file del disco, poi riprovare.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because this user is not permitted to eject it.</source>
        <translation>Impossibile espellere il disco perché questo utente non ha il permesso di farlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because this desktop has no disk service (UDisks2). Eject it from the file manager before removing it.</source>
        <translation>Impossibile espellere il disco da qui perché questo desktop non ha un servizio dischi (UDisks2). Espellerlo dal gestore dei file prima di rimuoverlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because the desktop&apos;s disk service does not know it. Eject it from the file manager before removing it.</source>
        <translation>Impossibile espellere il disco da qui perché il servizio dischi del desktop non lo conosce. Espellerlo dal gestore dei file prima di rimuoverlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected: %1</source>
        <translation>Impossibile espellere il disco: %1</translation>
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
        <translation>Verifica del disco…</translation>
    </message>
    <message>
        <source>About %1 min left</source>
        <translation>Circa %1 min rimanenti</translation>
    </message>
    <message>
        <source>About %1 s left</source>
        <translation>Circa %1 s rimanenti</translation>
    </message>
    <message>
        <source>The drive was disconnected during the check.</source>
        <translation>Il disco è stato scollegato durante la verifica.</translation>
    </message>
    <message>
        <source>Check cancelled.</source>
        <translation>Verifica annullata.</translation>
    </message>
    <message>
        <source>%1 checked at %2</source>
        <comment>the drive check&apos;s result: the files and size, then a time</comment>
        <translation>%1, verificato alle %2</translation>
    </message>
    <message>
        <source>The damaged files were downloaded again and verified. Check the drive again before it goes to the cinema.</source>
        <translation>I file danneggiati sono stati scaricati di nuovo e verificati. Verificare ancora il disco prima che vada al cinema.</translation>
    </message>
    <message>
        <source>1 problem found on the drive:</source>
        <translation>1 problema trovato sul disco:</translation>
    </message>
    <message>
        <source>%1 problems found on the drive:</source>
        <translation>%1 problemi trovati sul disco:</translation>
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
    <message>
        <source>Eject drive</source>
        <translation>Espelli disco</translation>
    </message>
</context>
<context>
    <name>EmptyCatalogue</name>
    <message>
        <source>No DCP(s) found</source>
        <translation>Nessun DCP trovato</translation>
    </message>
    <message>
        <source>You are not downloading any DCPs yet. To start downloading please complete the following steps:</source>
        <translation>Nessun DCP in download. Per iniziare, seguire questi passaggi:</translation>
    </message>
    <message>
        <source>Click on &quot;Load File&quot; on the left.</source>
        <translation>Fare clic su «CARICA» a sinistra.</translation>
    </message>
    <message>
        <source>Select the small .orvdcp file you downloaded from the OSKAN web portal (usually in your Downloads folder). If you do not have one yet, click &quot;LAUNCH  OSKAN&quot;, log in, select the film and hit &quot;Download&quot;, then return to the first step.</source>
        <translation>Selezionare il piccolo file .orvdcp scaricato dal portale web OSKAN (di solito nella cartella Download). Se non se ne ha ancora uno, fare clic su «APRI OSKAN», accedere, scegliere il film e premere «Download», poi tornare al primo passaggio.</translation>
    </message>
    <message>
        <source>You will be asked where you want to save your DCP file to. Select your download location and hit save. Your download will begin.</source>
        <translation>Verrà chiesto dove salvare il DCP. Scegliere la posizione e confermare: il download inizierà.</translation>
    </message>
    <message>
        <source>IMPORTANT:</source>
        <translation>IMPORTANTE:</translation>
    </message>
    <message>
        <source>if you will ingest from a USB hard drive, download directly onto that drive rather than onto this computer&apos;s local drive first, so that Reelvane can verify the download and fix corruptions before ingest.</source>
        <translation>se l’ingest avverrà da un disco rigido USB, scaricare direttamente su quel disco e non prima sul disco di questo computer, così Reelvane potrà verificare il download e correggere i danni prima dell’ingest.</translation>
    </message>
    <message>
        <source>You can pause the download at any time by hitting pause or just quitting this application. When you open the application again the download will resume from where it left off.</source>
        <translation>È possibile mettere in pausa il download in qualsiasi momento con PAUSA o chiudendo il programma. Alla successiva apertura riprenderà da dove si era fermato.</translation>
    </message>
    <message>
        <source>Need help? Write to %1 and we will get back to you.</source>
        <translation>Serve aiuto? Scrivere a %1, risponderemo al più presto.</translation>
    </message>
</context>
<context>
    <name>EnvironmentProxyFactory</name>
    <message>
        <source>The proxy &quot;%1&quot; (%2) cannot be used. It must be [http://][user:password@]host[:port] or a socks5:// address.</source>
        <translation>Impossibile usare il proxy «%1» (%2). Deve avere la forma [http://][utente:password@]host[:porta] oppure essere un indirizzo socks5://.</translation>
    </message>
</context>
<context>
    <name>KeptFiles</name>
    <message>
        <source>Unable to keep the files found on the drive.</source>
        <translation>Impossibile conservare i file trovati sul disco.</translation>
    </message>
    <message>
        <source>Unable to download the kept files instead.</source>
        <translation>Impossibile scaricare al loro posto i file conservati.</translation>
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
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Accedi&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
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
    <message>
        <source>Please login using the same username and password you use to login to OSKAN.</source>
        <translation>Accedere con lo stesso nome utente e la stessa password usati su OSKAN.</translation>
    </message>
    <message>
        <source>LOGGING IN...</source>
        <translation>ACCESSO IN CORSO...</translation>
    </message>
    <message>
        <source>Error. Please check your internet connection.</source>
        <translation>Errore. Verificare la connessione a Internet.</translation>
    </message>
    <message>
        <source>Service is temporarily not available. Please try again later.</source>
        <translation>Il servizio non è al momento disponibile. Riprovare più tardi.</translation>
    </message>
</context>
<context>
    <name>NavBar</name>
    <message>
        <source>LOAD FILE</source>
        <translation>CARICA</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Apri un file di pacchetto (Ctrl+O)</translation>
    </message>
    <message>
        <source>RESUME</source>
        <translation>RIPRENDI</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSA</translation>
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
        <source>LAUNCH OSKAN</source>
        <translation>APRI OSKAN</translation>
    </message>
    <message>
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Apri il portale OSKAN nel browser</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Impossibile leggere il file delle autorità di certificazione «%1» (ORV_EXTRA_CA_FILE): %2</translation>
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
    <name>NotificationManager</name>
    <message>
        <source>Downloaded files could not be given their final names.</source>
        <translation>Impossibile dare il nome definitivo ai file scaricati.</translation>
    </message>
    <message>
        <source>They keep their hidden names, so the DCP cannot be ingested yet. The Reelvane Downloader tries again after every report to the server and at the next start.

</source>
        <translation>Mantengono i nomi nascosti, quindi non è ancora possibile fare l’ingest del DCP. Reelvane Downloader riprova dopo ogni notifica al server e al prossimo avvio.

</translation>
    </message>
</context>
<context>
    <name>PackageEntryImporter</name>
    <message>
        <source>Drive not connected</source>
        <translation>Disco non collegato</translation>
    </message>
    <message>
        <source>The DCP %1 is downloaded to %2, which is not connected. Connect the drive, start the Reelvane Downloader again and open the file once more.</source>
        <translation>Il DCP %1 viene scaricato su %2, che non è collegato. Collegare il disco, riavviare Reelvane Downloader e aprire di nuovo il file.</translation>
    </message>
    <message>
        <source>The DCP %1 already exist and will be merged.</source>
        <translation>Il DCP %1 esiste già e verrà unito.</translation>
    </message>
    <message>
        <source>No reels detected in ORVDCP file. Select at least one reel to download. Please redownload the file from OSKAN.</source>
        <translation>Nessun rullo nel file ORVDCP. Scegliere almeno un rullo da scaricare e scaricare di nuovo il file da OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Scaricare di nuovo il file adesso?</translation>
    </message>
    <message>
        <source>The selected drive cannot hold this DCP</source>
        <translation>Il disco scelto non può contenere questo DCP</translation>
    </message>
    <message>
        <source>The drive uses the FAT32 file system, which cannot store files of 4 GB or more, and this DCP contains such files.<byte value="xd"/>
<byte value="xd"/>
Please choose a drive formatted as ext2, ext3, exFAT or NTFS.</source>
        <translation>Il disco usa il file system FAT32, che non può contenere file da 4 GB o più, e questo DCP ne contiene.<byte value="xd"/>
<byte value="xd"/>
Scegliere un disco formattato in ext2, ext3, exFAT o NTFS.</translation>
    </message>
    <message>
        <source>The DCP %1 could not be saved</source>
        <translation>Impossibile salvare il DCP %1</translation>
    </message>
    <message>
        <source>Unable to write the DCP folder %1.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, writable and has free space, then open the file again.</source>
        <translation>Impossibile scrivere la cartella del DCP %1.<byte value="xd"/>
<byte value="xd"/>
Verificare che il disco sia collegato, scrivibile e con spazio libero, poi aprire di nuovo il file.</translation>
    </message>
    <message>
        <source>Remove conflicting files?</source>
        <translation>Eliminare i file in conflitto?</translation>
    </message>
    <message>
        <source>The following files will be removed...<byte value="xd"/>
</source>
        <translation>Verranno eliminati i seguenti file...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>&amp;Check and keep</source>
        <translation>&amp;Verifica e conserva</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Rimuovi il rullo %1 ed elimina i suoi file (Canc)</translation>
    </message>
    <message>
        <source>Reel #%1</source>
        <translation>Rullo %1</translation>
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
    <name>Services</name>
    <message>
        <source>The portal address &quot;%1&quot; (ORV_PORTAL_URL) is refused. It must be an https:// address, or http:// on this computer (127.0.0.1, ::1 or localhost) only, since the password, the decoding key and the installer travel over it.</source>
        <translation>L’indirizzo del portale «%1» (ORV_PORTAL_URL) è rifiutato. Deve essere un indirizzo https://, oppure http:// solo su questo computer (127.0.0.1, ::1 o localhost), perché vi transitano la password, la chiave di decodifica e il programma di installazione.</translation>
    </message>
    <message>
        <source>The notification service address &quot;%1&quot; (ORV_NOTIFY_URL) is refused. It must be an http:// or https:// address with a host name.</source>
        <translation>L’indirizzo del servizio di notifica «%1» (ORV_NOTIFY_URL) è rifiutato. Deve essere un indirizzo http:// o https:// con un nome host.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Unable to save the settings.</source>
        <translation>Impossibile salvare le impostazioni.</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Downloading DCP</source>
        <translation>Download di un DCP</translation>
    </message>
</context>
<context>
    <name>TopBar</name>
    <message>
        <source>Search DCPs...</source>
        <translation>Cerca DCP...</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Cerca DCP</translation>
    </message>
    <message>
        <source>DATE</source>
        <comment>sort by date</comment>
        <translation>DATA</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Ordina per data</translation>
    </message>
    <message>
        <source>A-Z</source>
        <comment>sort by name</comment>
        <translation>A-Z</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Ordina per nome</translation>
    </message>
</context>
<context>
    <name>TransferOutcomes</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Il proxy richiede l&apos;autenticazione (%1), nuovo tentativo…</translation>
    </message>
    <message>
        <source>The server&apos;s file and the package disagree: %1 bytes on the server, %2 in the package. Downloads of this file wait.</source>
        <translation>Il file sul server e il pacchetto non coincidono: %1 byte sul server, %2 nel pacchetto. Il download di questo file resta in attesa.</translation>
    </message>
    <message>
        <source>Server %1 ≠ package %2</source>
        <translation>Server %1 ≠ pacchetto %2</translation>
    </message>
    <message>
        <source>Unable to handle a failed download.</source>
        <translation>Impossibile gestire un download non riuscito.</translation>
    </message>
    <message>
        <source>Unable to start the next download.</source>
        <translation>Impossibile avviare il download successivo.</translation>
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
    <message>
        <source>New version available</source>
        <translation>Nuova versione disponibile</translation>
    </message>
    <message>
        <source>New version available. Would you like to download updates now?</source>
        <translation>È disponibile una nuova versione. Scaricarla adesso?</translation>
    </message>
    <message>
        <source>Downloading updates ...</source>
        <translation>Download dell’aggiornamento ...</translation>
    </message>
    <message>
        <source>The update was downloaded but could not be opened.</source>
        <translation>L’aggiornamento è stato scaricato ma non è stato possibile aprirlo.</translation>
    </message>
    <message>
        <source>Open the installer yourself:
%1

The Reelvane Downloader goes on with this version for now.</source>
        <translation>Aprire manualmente il programma di installazione:
%1

Per ora Reelvane Downloader continua con questa versione.</translation>
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
    <name>WindowActions</name>
    <message>
        <source>Would you like to continue ?</source>
        <translation>Continuare?</translation>
    </message>
    <message>
        <source>Warning...</source>
        <translation>Attenzione...</translation>
    </message>
    <message>
        <source>You are about to delete a DCP.<byte value="xd"/>
<byte value="xd"/>
This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader.</source>
        <translation>Si sta per eliminare un DCP.<byte value="xd"/>
<byte value="xd"/>
I file sul disco NON VERRANNO ELIMINATI: il DCP viene solo tolto da Reelvane Downloader.</translation>
    </message>
    <message>
        <source>You are about to delete a Reel.<byte value="xd"/>
<byte value="xd"/>
This will DELETE the files on your hard drive. The Reel and all of it&apos;s assets will be removed.</source>
        <translation>Si sta per eliminare un rullo.<byte value="xd"/>
<byte value="xd"/>
I file sul disco VERRANNO ELIMINATI: il rullo e tutti i suoi file saranno rimossi.</translation>
    </message>
    <message>
        <source>No program on this computer could show the folder. The DCP&apos;s files are in:</source>
        <translation>Nessun programma su questo computer ha potuto mostrare la cartella. I file del DCP si trovano in:</translation>
    </message>
    <message>
        <source>No web browser on this computer could open OSKAN. Copy this address into your browser:</source>
        <translation>Nessun browser su questo computer ha potuto aprire OSKAN. Copiare questo indirizzo nel browser:</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Versione 1.4.0</translation>
    </message>
    <message>
        <source>Your downloads are paused.</source>
        <translation>I download sono in pausa.</translation>
    </message>
    <message>
        <source>Would you like to resume?</source>
        <translation>Riprenderli?</translation>
    </message>
    <message>
        <source>Downloads are paused</source>
        <translation>Download in pausa</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Load File</source>
        <translation>&amp;Carica file</translation>
    </message>
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
        <source>&amp;About</source>
        <translation>&amp;Informazioni</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>WindowStatusBar</name>
    <message>
        <source>Speed limit: </source>
        <translation>Limite di velocità: </translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Limite di velocità</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Senza limite</translation>
    </message>
    <message>
        <source>Schedule…</source>
        <translation>Programmazione…</translation>
    </message>
</context>
<context>
    <name>globals</name>
    <message>
        <source>Completed</source>
        <comment>status of a reel</comment>
        <translation>Completato</translation>
    </message>
    <message>
        <source>Notifying, please wait</source>
        <comment>status of a reel</comment>
        <translation>Notifica in corso, attendere</translation>
    </message>
    <message>
        <source>Downloading</source>
        <comment>status of a reel</comment>
        <translation>Download in corso</translation>
    </message>
    <message>
        <source>Pending</source>
        <comment>status of a reel</comment>
        <translation>In attesa</translation>
    </message>
    <message>
        <source>Validating, please wait</source>
        <comment>status of a reel</comment>
        <translation>Verifica in corso, attendere</translation>
    </message>
    <message>
        <source>Corrupted</source>
        <comment>status of a reel</comment>
        <translation>Danneggiato</translation>
    </message>
    <message>
        <source>Queued for redownload</source>
        <comment>status of a reel</comment>
        <translation>Da scaricare di nuovo</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disco non collegato</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>status of a DCP paused on its own</comment>
        <translation>In pausa</translation>
    </message>
    <message>
        <source>Server not answering, retrying…</source>
        <translation>Il server non risponde, nuovo tentativo…</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>byte</translation>
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
        <translation>Mbps</translation>
    </message>
    <message>
        <source>Gbps</source>
        <translation>Gbps</translation>
    </message>
    <message>
        <source>Failed</source>
        <comment>status of a DCP</comment>
        <translation>Non riuscito</translation>
    </message>
    <message>
        <source>Downloading reel %1</source>
        <translation>Download rullo %1</translation>
    </message>
    <message>
        <source>Validating reel %1</source>
        <translation>Verifica rullo %1</translation>
    </message>
    <message>
        <source>Notifying reel %1</source>
        <translation>Notifica rullo %1</translation>
    </message>
    <message>
        <source>Pending %1 reel</source>
        <translation>In attesa: %1 rullo</translation>
    </message>
    <message>
        <source>Pending %1 reels</source>
        <translation>In attesa: %1 rulli</translation>
    </message>
    <message>
        <source>Completed %1</source>
        <comment>status of a DCP, with its size</comment>
        <translation>Completato %1</translation>
    </message>
    <message>
        <source>Downloading %1 %2</source>
        <comment>status of a reel, with its speed</comment>
        <translation>Download %1 %2</translation>
    </message>
    <message>
        <source>Remaining time: unknown</source>
        <translation>Tempo rimanente: sconosciuto</translation>
    </message>
    <message>
        <source>Remaining time: %1h %2m %3s</source>
        <translation>Tempo rimanente: %1h %2min %3s</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>In pausa.</translation>
    </message>
    <message>
        <source>Confirming %1 reel with the portal…</source>
        <translation>Conferma di %1 rullo con il portale…</translation>
    </message>
    <message>
        <source>Confirming %1 reels with the portal…</source>
        <translation>Conferma di %1 rulli con il portale…</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Pronto.</translation>
    </message>
    <message>
        <source>Paused, %1 reel left</source>
        <translation>In pausa, manca %1 rullo</translation>
    </message>
    <message>
        <source>Paused, %1 reels left</source>
        <translation>In pausa, mancano %1 rulli</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Please choose a file</source>
        <translation>Scegliere un file</translation>
    </message>
    <message>
        <source>DCP Package (*.orvdcp)</source>
        <translation>Pacchetto DCP (*.orvdcp)</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Versione 1.4.0</translation>
    </message>
    <message>
        <source>Drop the package to load it</source>
        <translation>Rilasciare il pacchetto per caricarlo</translation>
    </message>
    <message>
        <source>You already have an instance of the Reelvane Downloader running.<byte value="xd"/>
Only one instance is allowed.</source>
        <translation>Reelvane Downloader è già aperto.<byte value="xd"/>
È consentita una sola istanza.</translation>
    </message>
</context>
</TS>
