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
    <name>DcpDelegate</name>
    <message>
        <source>Ejecting…</source>
        <translation>Éjection…</translation>
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
        <source>Close details</source>
        <translation>Fermer le détail</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Fermer (Échap)</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Afficher le dossier du DCP dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Bobines</translation>
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
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>Le proxy demande une authentification (%1), nouvel essai…</translation>
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
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Login</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Please login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Veuillez vous connecter&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
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
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>Le fichier d&apos;autorités de certification « %1 » (ORV_EXTRA_CA_FILE) ne peut pas être lu : %2</translation>
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
        <translation>Le fichier d&apos;autorités de certification « %1 » (ORV_EXTRA_CA_FILE) ne contient aucun certificat PEM.</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Retirer la bobine %1 et supprimer ses fichiers (Suppr)</translation>
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
    <name>main</name>
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
        <source>Schedule…</source>
        <translation>Planning…</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Ouvrir un fichier de package (Ctrl+O)</translation>
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
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Ouvrir le portail OSKAN dans votre navigateur</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Rechercher des DCP</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Trier par date</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Trier par nom</translation>
    </message>
    <message>
        <source>DCPs</source>
        <translation>DCP</translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Limite de débit</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sans limite</translation>
    </message>
</context>
</TS>
