<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AlertsDialog</name>
    <message>
        <source>Send a test alert</source>
        <translation>Envoyer une alerte de test</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Alertes</translation>
    </message>
    <message>
        <source>When a DCP is ready, a reel is corrupted, a drive is not connected or the server has not answered for ten minutes, a short message in JSON is posted to this web address: a chat channel, a text-message gateway or your own monitoring. Leave it empty for no alerts.</source>
        <translation>Quand un DCP est prêt, qu&apos;une bobine est corrompue, qu&apos;un disque n&apos;est pas branché ou que le serveur ne répond plus depuis dix minutes, un court message JSON est envoyé à cette adresse web : un canal de discussion, une passerelle SMS ou votre propre supervision. Laissez-la vide pour ne recevoir aucune alerte.</translation>
    </message>
    <message>
        <source>Sending a test alert…</source>
        <translation>Envoi de l&apos;alerte de test…</translation>
    </message>
</context>
<context>
    <name>AttentionEvents</name>
    <message>
        <source>DCP ready</source>
        <translation>DCP prêt</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified</source>
        <translation>%1 est prêt : toutes les bobines sont vérifiées</translation>
    </message>
    <message>
        <source>Reel corrupted</source>
        <translation>Bobine corrompue</translation>
    </message>
    <message>
        <source>%1: reel %2 is corrupted</source>
        <translation>%1 : la bobine %2 est corrompue</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disque non branché</translation>
    </message>
    <message>
        <source>%1: the drive is not connected, the download waits</source>
        <translation>%1 : le disque n&apos;est pas branché, le téléchargement attend</translation>
    </message>
    <message>
        <source>Server not answering</source>
        <translation>Le serveur ne répond pas</translation>
    </message>
    <message>
        <source>%1: the server has not answered since %2</source>
        <translation>%1 : le serveur ne répond plus depuis %2</translation>
    </message>
    <message>
        <source>The server has not answered since %1</source>
        <translation>Le serveur ne répond plus depuis %1</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified. The drive %2 can be unplugged.</source>
        <translation>%1 est prêt : toutes les bobines sont vérifiées. Le disque %2 peut être débranché.</translation>
    </message>
</context>
<context>
    <name>DCPManager</name>
    <message>
        <source>The ORVDCP file could not be loaded.</source>
        <translation>Le fichier ORVDCP n’a pas pu être chargé.</translation>
    </message>
</context>
<context>
    <name>DCPXMLReader</name>
    <message>
        <source>Could not open the ORVDCP file.</source>
        <translation>Impossible d’ouvrir le fichier ORVDCP.</translation>
    </message>
    <message>
        <source>Please check to see if you have read permission for the file.</source>
        <translation>Vérifiez que vous avez le droit de lire ce fichier.</translation>
    </message>
    <message>
        <source>Your software is out of date. Unfortunately an update is required in order to load the DCP.</source>
        <translation>Votre logiciel n’est plus à jour. Une mise à jour est nécessaire pour charger ce DCP.</translation>
    </message>
    <message>
        <source>Would you like to download new version?</source>
        <translation>Voulez-vous télécharger la nouvelle version ?</translation>
    </message>
    <message>
        <source>Your ORVDCP file is out of date. Unfortunately an update is required in order to load this DCP.</source>
        <translation>Votre fichier ORVDCP est périmé. Il faut en télécharger un nouveau pour charger ce DCP.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Voulez-vous télécharger à nouveau le fichier maintenant ?</translation>
    </message>
    <message>
        <source>Select download location for your DCP</source>
        <translation>Choisissez où télécharger votre DCP</translation>
    </message>
    <message>
        <source>Select directory for DCP</source>
        <translation>Choisir ce dossier</translation>
    </message>
    <message>
        <source>Not enough disk space</source>
        <translation>Espace disque insuffisant</translation>
    </message>
    <message>
        <source>You don&apos;t have enough disk space to download full DCP.<byte value="xd"/>
<byte value="xd"/>
Do you want to continue anyway?</source>
        <translation>Il n’y a pas assez d’espace disque pour télécharger le DCP complet.<byte value="xd"/>
<byte value="xd"/>
Voulez-vous continuer quand même ?</translation>
    </message>
</context>
<context>
    <name>DCPXMLReaderException</name>
    <message>
        <source>Could not decode the content of ORVDCP file. File might be damaged or its content missing. Please redownload the file from OSKAN.</source>
        <translation>Impossible de décoder le contenu du fichier ORVDCP. Il est peut-être endommagé ou incomplet. Téléchargez-le à nouveau depuis OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Voulez-vous télécharger à nouveau le fichier maintenant ?</translation>
    </message>
    <message>
        <source>Main data in the ORVDCP missing. File might be damaged. Please redownload the file from OSKAN.</source>
        <translation>Les données principales manquent dans le fichier ORVDCP. Il est peut-être endommagé. Téléchargez-le à nouveau depuis OSKAN.</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database of the Reelvane Downloader cannot be written.</source>
        <translation>La base de données du Reelvane Downloader ne peut pas être écrite.</translation>
    </message>
    <message>
        <source>File: %1
Reason: %2

The program keeps every download in this file and cannot run without writing to it. Close any other program that uses the file, or make the file and its folder writable, then start the Reelvane Downloader again.</source>
        <translation>Fichier : %1
Raison : %2

Le programme garde chaque téléchargement dans ce fichier et ne peut pas fonctionner sans y écrire. Fermez tout autre programme qui l’utilise, ou rendez le fichier et son dossier accessibles en écriture, puis relancez le Reelvane Downloader.</translation>
    </message>
</context>
<context>
    <name>DcpFolderAudit</name>
    <message>
        <source>The DCP folder holds %1 %2 (%3): a cinema server reads only one of them.</source>
        <translation>Le dossier du DCP contient %1 %2 (%3) : un serveur de cinéma n’en lit qu’un.</translation>
    </message>
    <message>
        <source>%1 has a malformed identifier &quot;%2&quot;: cinema servers expect urn:uuid: followed by a UUID.</source>
        <translation>%1 a un identifiant mal formé « %2 » : les serveurs de cinéma attendent urn:uuid: suivi d’un UUID.</translation>
    </message>
    <message>
        <source>ASSETMAP is missing.</source>
        <translation>L’ASSETMAP est absent.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 est illisible : %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: not an asset map</source>
        <translation>%1 est illisible : ce n’est pas un ASSETMAP</translation>
    </message>
    <message>
        <source>VOLINDEX is missing.</source>
        <translation>Le VOLINDEX est absent.</translation>
    </message>
    <message>
        <source>%1 cannot be read: not a volume index</source>
        <translation>%1 est illisible : ce n’est pas un VOLINDEX</translation>
    </message>
    <message>
        <source>The PKL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>La PKL indiquée dans l’ASSETMAP est absente ou illisible.</translation>
    </message>
    <message>
        <source>The PKL %1 cannot be read: %2</source>
        <translation>La PKL %1 est illisible : %2</translation>
    </message>
    <message>
        <source>The ASSETMAP gives no path for %1.</source>
        <translation>L’ASSETMAP ne donne aucun chemin pour %1.</translation>
    </message>
    <message>
        <source>The ASSETMAP splits %1 into %2 chunks: cinema servers expect one.</source>
        <translation>L’ASSETMAP découpe %1 en %2 morceaux : les serveurs de cinéma en attendent un seul.</translation>
    </message>
    <message>
        <source>The ASSETMAP&apos;s path %1 leaves the DCP folder.</source>
        <translation>Le chemin %1 de l’ASSETMAP sort du dossier du DCP.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 an offset of %2: cinema servers expect 0.</source>
        <translation>L’ASSETMAP donne à %1 un décalage de %2 : les serveurs de cinéma attendent 0.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes, the PKL says %3 bytes.</source>
        <translation>L’ASSETMAP donne à %1 une longueur de %2 octets, la PKL indique %3 octets.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes; it holds %3 bytes.</source>
        <translation>L’ASSETMAP donne à %1 une longueur de %2 octets ; le fichier en contient %3.</translation>
    </message>
    <message>
        <source>The CPL %1 cannot be read: %2</source>
        <translation>La CPL %1 est illisible : %2</translation>
    </message>
    <message>
        <source>The CPL %1 is not listed in the PKL: a cinema server does not ingest it.</source>
        <translation>La CPL %1 n’est pas listée dans la PKL : un serveur de cinéma ne l’ingère pas.</translation>
    </message>
    <message>
        <source>Reel %1 of %2 is not on the drive: this composition will not play.</source>
        <translation>La bobine %1 sur %2 n’est pas sur le disque : cette composition ne sera pas jouée.</translation>
    </message>
    <message>
        <source>The composition %1 plays %2 that this package does not carry: it needs its original version on the cinema server.</source>
        <translation>La composition %1 utilise %2 absent(s) de ce paquet : il lui faut sa version originale sur le serveur du cinéma.</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 fichier</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 fichiers</translation>
    </message>
    <message>
        <source>%1 is in the PKL but not in the ASSETMAP.</source>
        <translation>%1 est dans la PKL mais pas dans l’ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 is listed in the ASSETMAP but missing from the drive.</source>
        <translation>%1 est listé dans l’ASSETMAP mais absent du disque.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, the PKL says %3 bytes.</source>
        <translation>%1 contient %2 octets, la PKL indique %3 octets.</translation>
    </message>
    <message>
        <source>The folder %1 is empty and not part of the DCP: remove it.</source>
        <translation>Le dossier %1 est vide et ne fait pas partie du DCP : supprimez-le.</translation>
    </message>
    <message>
        <source>A hidden file is left: %1</source>
        <translation>Il reste un fichier caché : %1</translation>
    </message>
    <message>
        <source>%1 is not part of the DCP (the ASSETMAP does not list it): cinema servers copy it or refuse the folder. Remove it.</source>
        <translation>%1 ne fait pas partie du DCP (l’ASSETMAP ne le liste pas) : les serveurs de cinéma le copient ou refusent le dossier. Supprimez-le.</translation>
    </message>
    <message>
        <source>The DCP folder %1 cannot be read.</source>
        <translation>Le dossier du DCP %1 est illisible.</translation>
    </message>
    <message>
        <source>The DCP folder %1 is not on the drive.</source>
        <translation>Le dossier du DCP %1 n’est pas sur le disque.</translation>
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
        <translation>La CPL indiquée dans l’ASSETMAP est absente ou illisible.</translation>
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
        <translation>%1 ne peut pas être lu sur le disque.</translation>
    </message>
    <message>
        <source>The PKL&apos;s hash for the CPL %1 does not match it: a cinema server refuses the composition.</source>
        <translation>L’empreinte de la CPL %1 dans la PKL ne correspond pas : un serveur de cinéma refuse la composition.</translation>
    </message>
    <message>
        <source>%1 is corrupted: its SHA-1 differs from the PKL.</source>
        <translation>%1 est corrompu : son SHA-1 diffère de celui de la PKL.</translation>
    </message>
    <message>
        <source>Ready for the cinema: %1 files, %2 GB</source>
        <translation>Prêt pour le cinéma : %1 fichiers, %2 Go</translation>
    </message>
</context>
<context>
    <name>DcpMenu</name>
    <message>
        <source>Resume this DCP</source>
        <translation>Reprendre ce DCP</translation>
    </message>
    <message>
        <source>Pause this DCP</source>
        <translation>Suspendre ce DCP</translation>
    </message>
    <message>
        <source>Download next</source>
        <translation>Télécharger ensuite</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Monter dans la file</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Descendre dans la file</translation>
    </message>
</context>
<context>
    <name>DcpPage</name>
    <message>
        <source>Close details</source>
        <translation>Fermer le détail</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Fermer (Échap)</translation>
    </message>
    <message>
        <source>START DOWNLOAD</source>
        <translation>TÉLÉCHARGER</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>SUPPRIMER</translation>
    </message>
    <message>
        <source>CHECK DRIVE</source>
        <translation>VÉRIFIER LE DISQUE</translation>
    </message>
    <message>
        <source>DOWNLOAD AGAIN</source>
        <translation>RETÉLÉCHARGER</translation>
    </message>
    <message>
        <source>Ejecting…</source>
        <translation>Éjection…</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Éjecter le disque</translation>
    </message>
    <message>
        <source>RESUME THIS DCP</source>
        <translation>REPRENDRE CE DCP</translation>
    </message>
    <message>
        <source>PAUSE THIS DCP</source>
        <translation>SUSPENDRE CE DCP</translation>
    </message>
    <message>
        <source>DOWNLOAD NEXT</source>
        <translation>EN TÊTE DE FILE</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>MONTER</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>DESCENDRE</translation>
    </message>
    <message>
        <source>GO TO FILES</source>
        <translation>VOIR LES FICHIERS</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Afficher le dossier du DCP dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULER</translation>
    </message>
    <message>
        <source>Checking the file kept on the drive…</source>
        <translation>Vérification du fichier gardé sur le disque…</translation>
    </message>
    <message>
        <source>Checking the %1 files kept on the drive…</source>
        <translation>Vérification des %1 fichiers gardés sur le disque…</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Bobines</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Unable to update the download queue.</source>
        <translation>Impossible de mettre à jour la file de téléchargement.</translation>
    </message>
    <message>
        <source>Unable to start downloading the DCP.</source>
        <translation>Impossible de lancer le téléchargement du DCP.</translation>
    </message>
    <message>
        <source>Unable to pause the downloads.</source>
        <translation>Impossible de mettre les téléchargements en pause.</translation>
    </message>
    <message>
        <source>Unable to resume the downloads.</source>
        <translation>Impossible de reprendre les téléchargements.</translation>
    </message>
    <message>
        <source>Unable to download a corrupted file again.</source>
        <translation>Impossible de télécharger à nouveau un fichier corrompu.</translation>
    </message>
    <message>
        <source>Unable to remove the DCP.</source>
        <translation>Impossible de retirer le DCP.</translation>
    </message>
    <message>
        <source>Unable to remove the reel.</source>
        <translation>Impossible de supprimer la bobine.</translation>
    </message>
    <message>
        <source>Unable to restart the download.</source>
        <translation>Impossible de relancer le téléchargement.</translation>
    </message>
    <message>
        <source>Unable to store the download order.</source>
        <translation>Impossible d’enregistrer l’ordre des téléchargements.</translation>
    </message>
    <message>
        <source>Unable to pause the DCP.</source>
        <translation>Impossible de mettre le DCP en pause.</translation>
    </message>
    <message>
        <source>Unable to change the download order.</source>
        <translation>Impossible de changer l’ordre des téléchargements.</translation>
    </message>
</context>
<context>
    <name>DownloadPrompts</name>
    <message>
        <source>Not enough disk space</source>
        <translation>Espace disque insuffisant</translation>
    </message>
    <message>
        <source>You have ran out of disk space so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please free up some space and hit the resume button once you&apos;re ready.</source>
        <translation>Le disque est plein : le téléchargement est en pause.<byte value="xd"/>
<byte value="xd"/>
Libérez de la place, puis cliquez sur REPRENDRE.</translation>
    </message>
    <message>
        <source>Unable to write the download</source>
        <translation>Impossible d’écrire le téléchargement</translation>
    </message>
    <message>
        <source>The folder %1 is missing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, then hit the resume button.</source>
        <translation>Le dossier %1 est introuvable : le téléchargement est en pause.<byte value="xd"/>
<byte value="xd"/>
Vérifiez que le disque est branché, puis cliquez sur REPRENDRE.</translation>
    </message>
    <message>
        <source>The file %1 can not be opened for writing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected and writable, then hit the resume button.</source>
        <translation>Le fichier %1 ne peut pas être ouvert en écriture : le téléchargement est en pause.<byte value="xd"/>
<byte value="xd"/>
Vérifiez que le disque est branché et accessible en écriture, puis cliquez sur REPRENDRE.</translation>
    </message>
    <message>
        <source>Unable to save the download</source>
        <translation>Impossible d’enregistrer le téléchargement</translation>
    </message>
    <message>
        <source>The progress of your download can not be saved (%1), so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the program&apos;s folder is writable, then hit the resume button.</source>
        <translation>L’avancement du téléchargement ne peut pas être enregistré (%1) : le téléchargement est en pause.<byte value="xd"/>
<byte value="xd"/>
Vérifiez que le dossier du programme est accessible en écriture, puis cliquez sur REPRENDRE.</translation>
    </message>
    <message>
        <source>The current Reel is in validation(checksum) process, please wait until this is finished and try again.</source>
        <translation>La bobine en cours est en vérification (somme de contrôle). Attendez la fin de la vérification, puis réessayez.</translation>
    </message>
    <message>
        <source>Download links expired</source>
        <translation>Liens de téléchargement expirés</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Do you want to remove outdated DCP?<byte value="xd"/>
(This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader)</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Voulez-vous retirer le DCP périmé ?<byte value="xd"/>
(Les fichiers sur votre disque ne seront PAS SUPPRIMÉS : le DCP est seulement retiré du Reelvane Downloader)</translation>
    </message>
    <message>
        <source>One of the files for DCP %1 is missing and can not be downloaded. You won&apos;t be able to finish the given download.</source>
        <translation>Un des fichiers du DCP %1 est introuvable et ne peut pas être téléchargé. Ce téléchargement ne pourra pas aboutir.</translation>
    </message>
    <message>
        <source>Download links for DCP %1 expired. You won&apos;t be able to finish the given download.</source>
        <translation>Les liens de téléchargement du DCP %1 ont expiré. Ce téléchargement ne pourra pas aboutir.</translation>
    </message>
    <message>
        <source>Stop checking the files kept on the drive?</source>
        <translation>Arrêter la vérification des fichiers gardés sur le disque ?</translation>
    </message>
    <message>
        <source>The file not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Le fichier pas encore vérifié sera plutôt téléchargé à nouveau depuis le serveur, à la place de celui du disque.</translation>
    </message>
    <message>
        <source>The %1 files not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Les %1 fichiers pas encore vérifiés seront plutôt téléchargés à nouveau depuis le serveur, à la place de ceux du disque.</translation>
    </message>
</context>
<context>
    <name>DriveCheck</name>
    <message>
        <source>The folder is on a network or temporary file system (%1), not on the drive itself. Most cinema servers cannot read it.</source>
        <translation>Le dossier est sur un système de fichiers réseau ou temporaire (%1), pas sur le disque lui-même. La plupart des serveurs de cinéma ne peuvent pas le lire.</translation>
    </message>
    <message>
        <source>The drive uses %1. Most cinema servers cannot read %1 drives.</source>
        <translation>Le disque est en %1. La plupart des serveurs de cinéma ne lisent pas les disques %1.</translation>
    </message>
    <message>
        <source>The drive uses FAT32, which cannot store files of 4 GB or more. Larger DCP files cannot be downloaded to it.</source>
        <translation>Le disque est en FAT32, qui ne peut pas stocker de fichiers de 4 Go ou plus. Les fichiers de DCP plus gros ne pourront pas y être téléchargés.</translation>
    </message>
    <message>
        <source>The drive uses ext4. Some cinema servers only read ext2 or ext3 drives.</source>
        <translation>Le disque est en ext4. Certains serveurs de cinéma ne lisent que les disques ext2 ou ext3.</translation>
    </message>
    <message>
        <source>The inode size of the drive&apos;s ext%1 file system could not be read without administrator rights. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>La taille d’inode du système de fichiers ext%1 du disque n’a pas pu être lue sans droits d’administrateur. Certains serveurs de cinéma ne lisent que les disques dont les inodes font 128 octets.</translation>
    </message>
    <message>
        <source>The drive&apos;s ext%1 file system has an inode size of %2 bytes. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>Le système de fichiers ext%1 du disque a des inodes de %2 octets. Certains serveurs de cinéma ne lisent que les disques dont les inodes font 128 octets.</translation>
    </message>
    <message>
        <source>The drive has a GPT partition table. Some cinema servers only read drives with an MBR partition table.</source>
        <translation>Le disque a une table de partitions GPT. Certains serveurs de cinéma ne lisent que les disques à table de partitions MBR.</translation>
    </message>
    <message>
        <source>The DCP folder would not be at the top level of the drive (%1). Cinema servers look for DCPs at the top level; choose the drive itself.</source>
        <translation>Le dossier du DCP ne serait pas à la racine du disque (%1). Les serveurs de cinéma cherchent les DCP à la racine : choisissez le disque lui-même.</translation>
    </message>
    <message>
        <source>Drive check</source>
        <translation>Vérification du disque</translation>
    </message>
    <message>
        <source>Most cinema servers cannot read this drive.</source>
        <translation>La plupart des serveurs de cinéma ne peuvent pas lire ce disque.</translation>
    </message>
    <message>
        <source>Please check the drive before it goes to the cinema.</source>
        <translation>Vérifiez le disque avant qu’il parte au cinéma.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Choisir un autre dossier</translation>
    </message>
</context>
<context>
    <name>DriveEject</name>
    <message>
        <source>It is now safe to remove the drive</source>
        <translation>Vous pouvez maintenant retirer le disque en toute sécurité</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because it is busy. Close every window and program that uses files on it, then try again.</source>
        <translation>Le disque ne peut pas être éjecté car il est occupé. Fermez toutes les fenêtres et tous les programmes qui utilisent ses fichiers, puis réessayez.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because this user is not permitted to eject it.</source>
        <translation>Le disque ne peut pas être éjecté car cet utilisateur n’a pas le droit de l’éjecter.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because this desktop has no disk service (UDisks2). Eject it from the file manager before removing it.</source>
        <translation>Le disque ne peut pas être éjecté d’ici car ce bureau n’a pas de service de disques (UDisks2). Éjectez-le depuis le gestionnaire de fichiers avant de le retirer.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because the desktop&apos;s disk service does not know it. Eject it from the file manager before removing it.</source>
        <translation>Le disque ne peut pas être éjecté d’ici car le service de disques du bureau ne le connaît pas. Éjectez-le depuis le gestionnaire de fichiers avant de le retirer.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected: %1</source>
        <translation>Le disque ne peut pas être éjecté : %1</translation>
    </message>
</context>
<context>
    <name>DriveRoom</name>
    <message>
        <source>%1 needs %2 more than the drive %3 holds</source>
        <translation>Il manque %2 sur le disque %3 pour %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>On %1: %2 free</source>
        <translation>Sur %1 : %2 libres</translation>
    </message>
    <message>
        <source>Needs %1 more</source>
        <translation>Il manque %1</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
</context>
<context>
    <name>DriveVerifier</name>
    <message>
        <source>Checking the drive…</source>
        <translation>Vérification du disque…</translation>
    </message>
    <message>
        <source>About %1 min left</source>
        <translation>Environ %1 min restantes</translation>
    </message>
    <message>
        <source>About %1 s left</source>
        <translation>Environ %1 s restantes</translation>
    </message>
    <message>
        <source>The drive was disconnected during the check.</source>
        <translation>Le disque a été débranché pendant la vérification.</translation>
    </message>
    <message>
        <source>Check cancelled.</source>
        <translation>Vérification annulée.</translation>
    </message>
    <message>
        <source>%1 checked at %2</source>
        <comment>the drive check&apos;s result: the files and size, then a time</comment>
        <translation>%1, vérifié à %2</translation>
    </message>
    <message>
        <source>The damaged files were downloaded again and verified. Check the drive again before it goes to the cinema.</source>
        <translation>Les fichiers endommagés ont été téléchargés à nouveau et vérifiés. Vérifiez encore le disque avant qu’il parte au cinéma.</translation>
    </message>
    <message>
        <source>1 problem found on the drive:</source>
        <translation>1 problème trouvé sur le disque :</translation>
    </message>
    <message>
        <source>%1 problems found on the drive:</source>
        <translation>%1 problèmes trouvés sur le disque :</translation>
    </message>
</context>
<context>
    <name>EjectAction</name>
    <message>
        <source>Ready to unplug: every DCP on this drive is verified and confirmed.</source>
        <translation>Prêt à débrancher : chaque DCP de ce disque est vérifié et confirmé.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: a few seconds.</source>
        <translation>Les fichiers restent masqués jusqu’à la confirmation du portail : quelques secondes.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 s.</source>
        <translation>Les fichiers restent masqués jusqu’à la confirmation du portail : environ %1 s.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 min.</source>
        <translation>Les fichiers restent masqués jusqu’à la confirmation du portail : environ %1 min.</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Éjecter le disque</translation>
    </message>
</context>
<context>
    <name>EmptyCatalogue</name>
    <message>
        <source>No DCP(s) found</source>
        <translation>Aucun DCP trouvé</translation>
    </message>
    <message>
        <source>You are not downloading any DCPs yet. To start downloading please complete the following steps:</source>
        <translation>Vous ne téléchargez encore aucun DCP. Pour commencer un téléchargement, suivez ces étapes :</translation>
    </message>
    <message>
        <source>Click on &quot;Load File&quot; on the left.</source>
        <translation>Cliquez sur « CHARGER » à gauche.</translation>
    </message>
    <message>
        <source>Select the small .orvdcp file you downloaded from the OSKAN web portal (usually in your Downloads folder). If you do not have one yet, click &quot;LAUNCH  OSKAN&quot;, log in, select the film and hit &quot;Download&quot;, then return to the first step.</source>
        <translation>Choisissez le petit fichier .orvdcp téléchargé depuis le portail web OSKAN (en général dans votre dossier Téléchargements). Si vous n’en avez pas encore, cliquez sur « OUVRIR OSKAN », connectez-vous, choisissez le film et cliquez sur « Download », puis revenez à la première étape.</translation>
    </message>
    <message>
        <source>You will be asked where you want to save your DCP file to. Select your download location and hit save. Your download will begin.</source>
        <translation>On vous demandera où enregistrer votre DCP. Choisissez l’emplacement et validez : le téléchargement commence.</translation>
    </message>
    <message>
        <source>IMPORTANT:</source>
        <translation>IMPORTANT :</translation>
    </message>
    <message>
        <source>if you will ingest from a USB hard drive, download directly onto that drive rather than onto this computer&apos;s local drive first, so that Reelvane can verify the download and fix corruptions before ingest.</source>
        <translation>si l’ingest se fait depuis un disque dur USB, téléchargez directement sur ce disque plutôt que sur le disque de cet ordinateur : Reelvane pourra ainsi vérifier le téléchargement et réparer les fichiers corrompus avant l’ingest.</translation>
    </message>
    <message>
        <source>You can pause the download at any time by hitting pause or just quitting this application. When you open the application again the download will resume from where it left off.</source>
        <translation>Vous pouvez interrompre le téléchargement à tout moment avec PAUSE ou en quittant le programme. À la prochaine ouverture, il reprendra là où il s’était arrêté.</translation>
    </message>
    <message>
        <source>Need help? Write to %1 and we will get back to you.</source>
        <translation>Besoin d’aide ? Écrivez à %1, nous vous répondrons.</translation>
    </message>
</context>
<context>
    <name>EnvironmentProxyFactory</name>
    <message>
        <source>The proxy &quot;%1&quot; (%2) cannot be used. It must be [http://][user:password@]host[:port] or a socks5:// address.</source>
        <translation>Le proxy « %1 » (%2) ne peut pas être utilisé. Il doit être de la forme [http://][utilisateur:mot de passe@]hôte[:port] ou une adresse socks5://.</translation>
    </message>
</context>
<context>
    <name>KeptFiles</name>
    <message>
        <source>Unable to keep the files found on the drive.</source>
        <translation>Impossible de garder les fichiers trouvés sur le disque.</translation>
    </message>
    <message>
        <source>Unable to download the kept files instead.</source>
        <translation>Impossible de télécharger à la place les fichiers gardés.</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Login</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Please login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Connectez-vous&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>LOG IN</source>
        <translation>CONNEXION</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Password&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Mot de passe oublié&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Username&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Nom d&apos;utilisateur oublié&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Please login using the same username and password you use to login to OSKAN.</source>
        <translation>Utilisez le même nom d’utilisateur et le même mot de passe que sur OSKAN.</translation>
    </message>
    <message>
        <source>LOGGING IN...</source>
        <translation>CONNEXION...</translation>
    </message>
    <message>
        <source>Error. Please check your internet connection.</source>
        <translation>Erreur. Vérifiez votre connexion à Internet.</translation>
    </message>
    <message>
        <source>Service is temporarily not available. Please try again later.</source>
        <translation>Le service est momentanément indisponible. Réessayez plus tard.</translation>
    </message>
</context>
<context>
    <name>NavBar</name>
    <message>
        <source>LOAD FILE</source>
        <translation>CHARGER</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Ouvrir un fichier de package (Ctrl+O)</translation>
    </message>
    <message>
        <source>RESUME</source>
        <translation>REPRENDRE</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>Resume the downloads (Space)</source>
        <translation>Reprendre les téléchargements (Espace)</translation>
    </message>
    <message>
        <source>Pause the downloads (Space)</source>
        <translation>Mettre les téléchargements en pause (Espace)</translation>
    </message>
    <message>
        <source>LAUNCH OSKAN</source>
        <translation>OUVRIR OSKAN</translation>
    </message>
    <message>
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Ouvrir le portail OSKAN dans votre navigateur</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Le fichier d’autorités de certification « %1 » (ORV_EXTRA_CA_FILE) ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) is not a regular file.</source>
        <translation>Le fichier d&apos;autorités de certification « %1 » (ORV_EXTRA_CA_FILE) n&apos;est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds %2 bytes; a certificate bundle is well under 1 MB.</source>
        <translation>Le fichier d&apos;autorités de certification « %1 » (ORV_EXTRA_CA_FILE) fait %2 octets ; un paquet de certificats fait bien moins de 1 Mo.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds no PEM certificate.</source>
        <translation>Le fichier d’autorités de certification « %1 » (ORV_EXTRA_CA_FILE) ne contient aucun certificat PEM.</translation>
    </message>
</context>
<context>
    <name>NotificationManager</name>
    <message>
        <source>Downloaded files could not be given their final names.</source>
        <translation>Les fichiers téléchargés n’ont pas pu recevoir leur nom définitif.</translation>
    </message>
    <message>
        <source>They keep their hidden names, so the DCP cannot be ingested yet. The Reelvane Downloader tries again after every report to the server and at the next start.

</source>
        <translation>Ils gardent leur nom caché : le DCP ne peut pas encore être ingesté. Le Reelvane Downloader réessaie après chaque envoi au serveur et au prochain démarrage.

</translation>
    </message>
</context>
<context>
    <name>PackageEntryImporter</name>
    <message>
        <source>Drive not connected</source>
        <translation>Disque non branché</translation>
    </message>
    <message>
        <source>The DCP %1 is downloaded to %2, which is not connected. Connect the drive, start the Reelvane Downloader again and open the file once more.</source>
        <translation>Le DCP %1 est téléchargé sur %2, qui n’est pas branché. Branchez le disque, relancez le Reelvane Downloader et ouvrez de nouveau le fichier.</translation>
    </message>
    <message>
        <source>The DCP %1 already exist and will be merged.</source>
        <translation>Le DCP %1 existe déjà : il sera complété.</translation>
    </message>
    <message>
        <source>No reels detected in ORVDCP file. Select at least one reel to download. Please redownload the file from OSKAN.</source>
        <translation>Aucune bobine dans le fichier ORVDCP. Choisissez au moins une bobine à télécharger et téléchargez à nouveau le fichier depuis OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>Voulez-vous télécharger à nouveau le fichier maintenant ?</translation>
    </message>
    <message>
        <source>The selected drive cannot hold this DCP</source>
        <translation>Le disque choisi ne peut pas contenir ce DCP</translation>
    </message>
    <message>
        <source>The drive uses the FAT32 file system, which cannot store files of 4 GB or more, and this DCP contains such files.<byte value="xd"/>
<byte value="xd"/>
Please choose a drive formatted as ext2, ext3, exFAT or NTFS.</source>
        <translation>Le disque utilise le système de fichiers FAT32, qui ne peut pas stocker de fichiers de 4 Go ou plus, et ce DCP en contient.<byte value="xd"/>
<byte value="xd"/>
Choisissez un disque formaté en ext2, ext3, exFAT ou NTFS.</translation>
    </message>
    <message>
        <source>The DCP %1 could not be saved</source>
        <translation>Le DCP %1 n’a pas pu être enregistré</translation>
    </message>
    <message>
        <source>Unable to write the DCP folder %1.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, writable and has free space, then open the file again.</source>
        <translation>Impossible d’écrire le dossier du DCP %1.<byte value="xd"/>
<byte value="xd"/>
Vérifiez que le disque est branché, accessible en écriture et qu’il reste de la place, puis ouvrez de nouveau le fichier.</translation>
    </message>
    <message>
        <source>Remove conflicting files?</source>
        <translation>Supprimer les fichiers en conflit ?</translation>
    </message>
    <message>
        <source>The following files will be removed...<byte value="xd"/>
</source>
        <translation>Les fichiers suivants seront supprimés...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>&amp;Check and keep</source>
        <translation>&amp;Vérifier et garder</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Retirer la bobine %1 et supprimer ses fichiers (Suppr)</translation>
    </message>
    <message>
        <source>Reel #%1</source>
        <translation>Bobine %1</translation>
    </message>
</context>
<context>
    <name>ScheduleDialog</name>
    <message>
        <source>No limit</source>
        <translation>Sans limite</translation>
    </message>
    <message>
        <source>Limit (%1 Mbps)</source>
        <translation>Limite (%1 Mbit/s)</translation>
    </message>
    <message>
        <source>Alternative limit</source>
        <translation>Limite alternative</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <source>Bandwidth schedule</source>
        <translation>Planning de la bande passante</translation>
    </message>
    <message>
        <source>On: the rules below apply at each hour</source>
        <translation>Activé : les règles ci-dessous s’appliquent heure par heure</translation>
    </message>
    <message>
        <source>Off: the slider and the switch alone apply</source>
        <translation>Désactivé : seuls le curseur et l’interrupteur comptent</translation>
    </message>
    <message>
        <source>Alternative limit:</source>
        <translation>Limite alternative :</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>Full speed at night, 22:00–08:00</source>
        <translation>Pleine vitesse la nuit, 22:00–08:00</translation>
    </message>
    <message>
        <source>Weekdays limited by day</source>
        <translation>En semaine, limité le jour</translation>
    </message>
    <message>
        <source>Paint hours with the mouse, or move with the arrow keys and press Space; keys 1 to 4 pick the rule. Moving the slider or the switch by hand overrides the schedule until its next change.</source>
        <translation>Peignez les heures à la souris, ou déplacez-vous avec les flèches et appuyez sur Espace ; les touches 1 à 4 choisissent la règle. Déplacer le curseur ou l’interrupteur à la main remplace le planning jusqu’à son prochain changement.</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ANNULER</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>ENREGISTRER</translation>
    </message>
</context>
<context>
    <name>ScheduleEngine</name>
    <message>
        <source>Schedule overridden by hand until %1</source>
        <translation>Planning remplacé à la main jusqu’à %1</translation>
    </message>
    <message>
        <source>Schedule overridden by hand</source>
        <translation>Planning remplacé à la main</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>sans limite</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>%1 Mbps (alternative)</source>
        <translation>%1 Mbit/s (alternative)</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>en pause</translation>
    </message>
    <message>
        <source>Schedule: %1 until %2</source>
        <translation>Planning : %1 jusqu’à %2</translation>
    </message>
    <message>
        <source>Schedule: %1</source>
        <translation>Planning : %1</translation>
    </message>
</context>
<context>
    <name>Services</name>
    <message>
        <source>The portal address &quot;%1&quot; (ORV_PORTAL_URL) is refused. It must be an https:// address, or http:// on this computer (127.0.0.1, ::1 or localhost) only, since the password, the decoding key and the installer travel over it.</source>
        <translation>L’adresse du portail « %1 » (ORV_PORTAL_URL) est refusée. Elle doit être en https://, ou en http:// sur cet ordinateur seulement (127.0.0.1, ::1 ou localhost), car le mot de passe, la clé de décodage et l’installateur y transitent.</translation>
    </message>
    <message>
        <source>The notification service address &quot;%1&quot; (ORV_NOTIFY_URL) is refused. It must be an http:// or https:// address with a host name.</source>
        <translation>L’adresse du service de notification « %1 » (ORV_NOTIFY_URL) est refusée. Elle doit être une adresse http:// ou https:// avec un nom d’hôte.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Unable to save the settings.</source>
        <translation>Impossible d’enregistrer les réglages.</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Downloading DCP</source>
        <translation>Téléchargement d’un DCP</translation>
    </message>
</context>
<context>
    <name>TopBar</name>
    <message>
        <source>Search DCPs...</source>
        <translation>Rechercher des DCP...</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Rechercher des DCP</translation>
    </message>
    <message>
        <source>DATE</source>
        <comment>sort by date</comment>
        <translation>DATE</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Trier par date</translation>
    </message>
    <message>
        <source>A-Z</source>
        <comment>sort by name</comment>
        <translation>A-Z</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Trier par nom</translation>
    </message>
</context>
<context>
    <name>TransferOutcomes</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Le proxy demande une authentification (%1), nouvel essai…</translation>
    </message>
    <message>
        <source>The server&apos;s file and the package disagree: %1 bytes on the server, %2 in the package. Downloads of this file wait.</source>
        <translation>Le fichier du serveur et le paquet ne concordent pas : %1 octets sur le serveur, %2 dans le paquet. Le téléchargement de ce fichier attend.</translation>
    </message>
    <message>
        <source>Server %1 ≠ package %2</source>
        <translation>Serveur %1 ≠ paquet %2</translation>
    </message>
    <message>
        <source>Unable to handle a failed download.</source>
        <translation>Impossible de traiter un téléchargement échoué.</translation>
    </message>
    <message>
        <source>Unable to start the next download.</source>
        <translation>Impossible de lancer le téléchargement suivant.</translation>
    </message>
</context>
<context>
    <name>UpdaterDialog</name>
    <message>
        <source>Checking for updates...</source>
        <translation>Recherche de mises à jour...</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Nouvelle version disponible</translation>
    </message>
    <message>
        <source>New version available. Would you like to download updates now?</source>
        <translation>Une nouvelle version est disponible. Voulez-vous la télécharger maintenant ?</translation>
    </message>
    <message>
        <source>Downloading updates ...</source>
        <translation>Téléchargement de la mise à jour ...</translation>
    </message>
    <message>
        <source>The update was downloaded but could not be opened.</source>
        <translation>La mise à jour a été téléchargée mais n’a pas pu être ouverte.</translation>
    </message>
    <message>
        <source>Open the installer yourself:
%1

The Reelvane Downloader goes on with this version for now.</source>
        <translation>Ouvrez vous-même l’installateur :
%1

Le Reelvane Downloader continue pour l’instant avec cette version.</translation>
    </message>
</context>
<context>
    <name>WebAlerts</name>
    <message>
        <source>Enter a web address that starts with https:// or http://.</source>
        <translation>Saisissez une adresse web commençant par https:// ou http://.</translation>
    </message>
    <message>
        <source>Test alert from Reelvane Downloader: alerts reach this address.</source>
        <translation>Alerte de test de Reelvane Downloader : les alertes arrivent bien à cette adresse.</translation>
    </message>
    <message>
        <source>The address answered: alerts will arrive there.</source>
        <translation>L&apos;adresse a répondu : les alertes y arriveront.</translation>
    </message>
    <message>
        <source>The address did not answer: %1</source>
        <translation>L&apos;adresse n&apos;a pas répondu : %1</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>le serveur a répondu %1 %2</translation>
    </message>
    <message>
        <source>nothing came back within %1 seconds</source>
        <translation>aucune réponse en %1 secondes</translation>
    </message>
</context>
<context>
    <name>WindowActions</name>
    <message>
        <source>Would you like to continue ?</source>
        <translation>Voulez-vous continuer ?</translation>
    </message>
    <message>
        <source>Warning...</source>
        <translation>Attention...</translation>
    </message>
    <message>
        <source>You are about to delete a DCP.<byte value="xd"/>
<byte value="xd"/>
This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader.</source>
        <translation>Vous allez supprimer un DCP.<byte value="xd"/>
<byte value="xd"/>
Les fichiers sur votre disque ne seront PAS SUPPRIMÉS : le DCP est seulement retiré du Reelvane Downloader.</translation>
    </message>
    <message>
        <source>You are about to delete a Reel.<byte value="xd"/>
<byte value="xd"/>
This will DELETE the files on your hard drive. The Reel and all of it&apos;s assets will be removed.</source>
        <translation>Vous allez supprimer une bobine.<byte value="xd"/>
<byte value="xd"/>
Les fichiers sur votre disque SERONT SUPPRIMÉS : la bobine et tous ses fichiers seront retirés.</translation>
    </message>
    <message>
        <source>No program on this computer could show the folder. The DCP&apos;s files are in:</source>
        <translation>Aucun programme de cet ordinateur n’a pu afficher le dossier. Les fichiers du DCP se trouvent dans :</translation>
    </message>
    <message>
        <source>No web browser on this computer could open OSKAN. Copy this address into your browser:</source>
        <translation>Aucun navigateur web de cet ordinateur n’a pu ouvrir OSKAN. Copiez cette adresse dans votre navigateur :</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Version 1.4.0</translation>
    </message>
    <message>
        <source>Your downloads are paused.</source>
        <translation>Vos téléchargements sont en pause.</translation>
    </message>
    <message>
        <source>Would you like to resume?</source>
        <translation>Voulez-vous les reprendre ?</translation>
    </message>
    <message>
        <source>Downloads are paused</source>
        <translation>Téléchargements en pause</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Load File</source>
        <translation>&amp;Charger un fichier</translation>
    </message>
    <message>
        <source>Alerts…</source>
        <translation>Alertes…</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>System language</source>
        <translation>Langue du système</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>WindowStatusBar</name>
    <message>
        <source>Speed limit: </source>
        <translation>Limite de débit : </translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Limite de débit</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sans limite</translation>
    </message>
    <message>
        <source>Schedule…</source>
        <translation>Planning…</translation>
    </message>
</context>
<context>
    <name>globals</name>
    <message>
        <source>Completed</source>
        <comment>status of a reel</comment>
        <translation>Terminée</translation>
    </message>
    <message>
        <source>Notifying, please wait</source>
        <comment>status of a reel</comment>
        <translation>Confirmation, patientez</translation>
    </message>
    <message>
        <source>Downloading</source>
        <comment>status of a reel</comment>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Pending</source>
        <comment>status of a reel</comment>
        <translation>En attente</translation>
    </message>
    <message>
        <source>Validating, please wait</source>
        <comment>status of a reel</comment>
        <translation>Vérification, patientez</translation>
    </message>
    <message>
        <source>Corrupted</source>
        <comment>status of a reel</comment>
        <translation>Corrompue</translation>
    </message>
    <message>
        <source>Queued for redownload</source>
        <comment>status of a reel</comment>
        <translation>À retélécharger</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disque non branché</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>status of a DCP paused on its own</comment>
        <translation>En pause</translation>
    </message>
    <message>
        <source>Server not answering, retrying…</source>
        <translation>Le serveur ne répond pas, nouvel essai…</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>octets</translation>
    </message>
    <message>
        <source>kB</source>
        <translation>ko</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>Go</translation>
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
        <translation>Échec</translation>
    </message>
    <message>
        <source>Downloading reel %1</source>
        <translation>Téléchargement bobine %1</translation>
    </message>
    <message>
        <source>Validating reel %1</source>
        <translation>Vérification bobine %1</translation>
    </message>
    <message>
        <source>Notifying reel %1</source>
        <translation>Confirmation bobine %1</translation>
    </message>
    <message>
        <source>Pending %1 reel</source>
        <translation>En attente : %1 bobine</translation>
    </message>
    <message>
        <source>Pending %1 reels</source>
        <translation>En attente : %1 bobines</translation>
    </message>
    <message>
        <source>Completed %1</source>
        <comment>status of a DCP, with its size</comment>
        <translation>Terminé %1</translation>
    </message>
    <message>
        <source>Downloading %1 %2</source>
        <comment>status of a reel, with its speed</comment>
        <translation>Téléchargement %1 %2</translation>
    </message>
    <message>
        <source>Remaining time: unknown</source>
        <translation>Temps restant : inconnu</translation>
    </message>
    <message>
        <source>Remaining time: %1h %2m %3s</source>
        <translation>Temps restant : %1h %2min %3s</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>En pause.</translation>
    </message>
    <message>
        <source>Confirming %1 reel with the portal…</source>
        <translation>Confirmation de %1 bobine auprès du portail…</translation>
    </message>
    <message>
        <source>Confirming %1 reels with the portal…</source>
        <translation>Confirmation de %1 bobines auprès du portail…</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Prêt.</translation>
    </message>
    <message>
        <source>Paused, %1 reel left</source>
        <translation>En pause : %1 bobine</translation>
    </message>
    <message>
        <source>Paused, %1 reels left</source>
        <translation>En pause : %1 bobines</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Please choose a file</source>
        <translation>Choisissez un fichier</translation>
    </message>
    <message>
        <source>DCP Package (*.orvdcp)</source>
        <translation>Paquet DCP (*.orvdcp)</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Version 1.4.0</translation>
    </message>
    <message>
        <source>Drop the package to load it</source>
        <translation>Déposez le paquet pour le charger</translation>
    </message>
    <message>
        <source>You already have an instance of the Reelvane Downloader running.<byte value="xd"/>
Only one instance is allowed.</source>
        <translation>Le Reelvane Downloader est déjà ouvert.<byte value="xd"/>
Une seule instance est permise.</translation>
    </message>
</context>
</TS>
