<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AlertsDialog</name>
    <message>
        <source>Send a test alert</source>
        <translation>Enviar una alerta de prueba</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Alertas</translation>
    </message>
    <message>
        <source>When a DCP is ready, a reel is corrupted, a drive is not connected or the server has not answered for ten minutes, a short message in JSON is posted to this web address: a chat channel, a text-message gateway or your own monitoring. Leave it empty for no alerts.</source>
        <translation>Cuando un DCP está listo, un rollo está dañado, un disco no está conectado o el servidor lleva diez minutos sin responder, se envía un breve mensaje JSON a esta dirección web: un canal de chat, una pasarela de SMS o su propio sistema de supervisión. Déjela vacía para no recibir alertas.</translation>
    </message>
    <message>
        <source>Sending a test alert…</source>
        <translation>Enviando la alerta de prueba…</translation>
    </message>
</context>
<context>
    <name>AttentionEvents</name>
    <message>
        <source>DCP ready</source>
        <translation>DCP listo</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified</source>
        <translation>%1 está listo: todos los rollos verificados</translation>
    </message>
    <message>
        <source>Reel corrupted</source>
        <translation>Rollo dañado</translation>
    </message>
    <message>
        <source>%1: reel %2 is corrupted</source>
        <translation>%1: el rollo %2 está dañado</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disco no conectado</translation>
    </message>
    <message>
        <source>%1: the drive is not connected, the download waits</source>
        <translation>%1: el disco no está conectado, la descarga está en espera</translation>
    </message>
    <message>
        <source>Server not answering</source>
        <translation>El servidor no responde</translation>
    </message>
    <message>
        <source>%1: the server has not answered since %2</source>
        <translation>%1: el servidor no responde desde las %2</translation>
    </message>
    <message>
        <source>The server has not answered since %1</source>
        <translation>El servidor no responde desde las %1</translation>
    </message>
    <message>
        <source>%1 is ready: every reel verified. The drive %2 can be unplugged.</source>
        <translation>%1 está listo: todos los rollos verificados. Ya puede desconectar el disco %2.</translation>
    </message>
</context>
<context>
    <name>DCPManager</name>
    <message>
        <source>The ORVDCP file could not be loaded.</source>
        <translation>No se ha podido cargar el archivo ORVDCP.</translation>
    </message>
</context>
<context>
    <name>DCPXMLReader</name>
    <message>
        <source>Could not open the ORVDCP file.</source>
        <translation>No se puede abrir el archivo ORVDCP.</translation>
    </message>
    <message>
        <source>Please check to see if you have read permission for the file.</source>
        <translation>Compruebe que tiene permiso de lectura sobre el archivo.</translation>
    </message>
    <message>
        <source>Your software is out of date. Unfortunately an update is required in order to load the DCP.</source>
        <translation>Su programa está desactualizado. Para cargar el DCP es necesaria una actualización.</translation>
    </message>
    <message>
        <source>Would you like to download new version?</source>
        <translation>¿Desea descargar la nueva versión?</translation>
    </message>
    <message>
        <source>Your ORVDCP file is out of date. Unfortunately an update is required in order to load this DCP.</source>
        <translation>Su archivo ORVDCP está desactualizado. Para cargar este DCP necesita uno nuevo.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>¿Desea volver a descargar el archivo ahora?</translation>
    </message>
    <message>
        <source>Select download location for your DCP</source>
        <translation>Elija dónde descargar su DCP</translation>
    </message>
    <message>
        <source>Select directory for DCP</source>
        <translation>Elegir esta carpeta</translation>
    </message>
    <message>
        <source>Not enough disk space</source>
        <translation>Espacio en disco insuficiente</translation>
    </message>
    <message>
        <source>You don&apos;t have enough disk space to download full DCP.<byte value="xd"/>
<byte value="xd"/>
Do you want to continue anyway?</source>
        <translation>No hay espacio en disco suficiente para descargar el DCP completo.<byte value="xd"/>
<byte value="xd"/>
¿Desea continuar de todos modos?</translation>
    </message>
</context>
<context>
    <name>DCPXMLReaderException</name>
    <message>
        <source>Could not decode the content of ORVDCP file. File might be damaged or its content missing. Please redownload the file from OSKAN.</source>
        <translation>No se puede descodificar el contenido del archivo ORVDCP. Puede estar dañado o incompleto. Vuelva a descargarlo desde OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>¿Desea volver a descargar el archivo ahora?</translation>
    </message>
    <message>
        <source>Main data in the ORVDCP missing. File might be damaged. Please redownload the file from OSKAN.</source>
        <translation>Faltan los datos principales del archivo ORVDCP. Puede estar dañado. Vuelva a descargarlo desde OSKAN.</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database of the Reelvane Downloader cannot be written.</source>
        <translation>No se puede escribir en la base de datos de Reelvane Downloader.</translation>
    </message>
    <message>
        <source>File: %1
Reason: %2

The program keeps every download in this file and cannot run without writing to it. Close any other program that uses the file, or make the file and its folder writable, then start the Reelvane Downloader again.</source>
        <translation>Archivo: %1
Motivo: %2

El programa guarda cada descarga en este archivo y no puede funcionar sin escribir en él. Cierre cualquier otro programa que lo use, o haga que el archivo y su carpeta admitan escritura, y vuelva a iniciar Reelvane Downloader.</translation>
    </message>
</context>
<context>
    <name>DcpFolderAudit</name>
    <message>
        <source>The DCP folder holds %1 %2 (%3): a cinema server reads only one of them.</source>
        <translation>La carpeta del DCP contiene %1 %2 (%3): un servidor de cine solo lee uno.</translation>
    </message>
    <message>
        <source>%1 has a malformed identifier &quot;%2&quot;: cinema servers expect urn:uuid: followed by a UUID.</source>
        <translation>%1 tiene un identificador mal formado «%2»: los servidores de cine esperan urn:uuid: seguido de un UUID.</translation>
    </message>
    <message>
        <source>ASSETMAP is missing.</source>
        <translation>Falta el ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: not an asset map</source>
        <translation>No se puede leer %1: no es un ASSETMAP</translation>
    </message>
    <message>
        <source>VOLINDEX is missing.</source>
        <translation>Falta el VOLINDEX.</translation>
    </message>
    <message>
        <source>%1 cannot be read: not a volume index</source>
        <translation>No se puede leer %1: no es un VOLINDEX</translation>
    </message>
    <message>
        <source>The PKL listed in the ASSETMAP is missing or cannot be read.</source>
        <translation>La PKL indicada en el ASSETMAP falta o no se puede leer.</translation>
    </message>
    <message>
        <source>The PKL %1 cannot be read: %2</source>
        <translation>No se puede leer la PKL %1: %2</translation>
    </message>
    <message>
        <source>The ASSETMAP gives no path for %1.</source>
        <translation>El ASSETMAP no da ninguna ruta para %1.</translation>
    </message>
    <message>
        <source>The ASSETMAP splits %1 into %2 chunks: cinema servers expect one.</source>
        <translation>El ASSETMAP divide %1 en %2 partes: los servidores de cine esperan una.</translation>
    </message>
    <message>
        <source>The ASSETMAP&apos;s path %1 leaves the DCP folder.</source>
        <translation>La ruta %1 del ASSETMAP sale de la carpeta del DCP.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 an offset of %2: cinema servers expect 0.</source>
        <translation>El ASSETMAP da a %1 un desplazamiento de %2: los servidores de cine esperan 0.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes, the PKL says %3 bytes.</source>
        <translation>El ASSETMAP da a %1 una longitud de %2 bytes y la PKL indica %3 bytes.</translation>
    </message>
    <message>
        <source>The ASSETMAP gives %1 a length of %2 bytes; it holds %3 bytes.</source>
        <translation>El ASSETMAP da a %1 una longitud de %2 bytes; el archivo contiene %3 bytes.</translation>
    </message>
    <message>
        <source>The CPL %1 cannot be read: %2</source>
        <translation>No se puede leer la CPL %1: %2</translation>
    </message>
    <message>
        <source>The CPL %1 is not listed in the PKL: a cinema server does not ingest it.</source>
        <translation>La CPL %1 no figura en la PKL: un servidor de cine no la ingesta.</translation>
    </message>
    <message>
        <source>Reel %1 of %2 is not on the drive: this composition will not play.</source>
        <translation>El rollo %1 de %2 no está en el disco: esta composición no se reproducirá.</translation>
    </message>
    <message>
        <source>The composition %1 plays %2 that this package does not carry: it needs its original version on the cinema server.</source>
        <translation>La composición %1 reproduce %2 que este paquete no incluye: necesita su versión original en el servidor del cine.</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 archivo</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 archivos</translation>
    </message>
    <message>
        <source>%1 is in the PKL but not in the ASSETMAP.</source>
        <translation>%1 está en la PKL pero no en el ASSETMAP.</translation>
    </message>
    <message>
        <source>%1 is listed in the ASSETMAP but missing from the drive.</source>
        <translation>%1 figura en el ASSETMAP pero falta en el disco.</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, the PKL says %3 bytes.</source>
        <translation>%1 contiene %2 bytes y la PKL indica %3 bytes.</translation>
    </message>
    <message>
        <source>The folder %1 is empty and not part of the DCP: remove it.</source>
        <translation>La carpeta %1 está vacía y no forma parte del DCP: elimínela.</translation>
    </message>
    <message>
        <source>A hidden file is left: %1</source>
        <translation>Queda un archivo oculto: %1</translation>
    </message>
    <message>
        <source>%1 is not part of the DCP (the ASSETMAP does not list it): cinema servers copy it or refuse the folder. Remove it.</source>
        <translation>%1 no forma parte del DCP (el ASSETMAP no lo incluye): los servidores de cine lo copian o rechazan la carpeta. Elimínelo.</translation>
    </message>
    <message>
        <source>The DCP folder %1 cannot be read.</source>
        <translation>No se puede leer la carpeta del DCP %1.</translation>
    </message>
    <message>
        <source>The DCP folder %1 is not on the drive.</source>
        <translation>La carpeta del DCP %1 no está en el disco.</translation>
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
        <translation>La CPL indicada en el ASSETMAP falta o no se puede leer.</translation>
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
        <translation>No se puede leer %1 del disco.</translation>
    </message>
    <message>
        <source>The PKL&apos;s hash for the CPL %1 does not match it: a cinema server refuses the composition.</source>
        <translation>El hash de la PKL para la CPL %1 no coincide: un servidor de cine rechaza la composición.</translation>
    </message>
    <message>
        <source>%1 is corrupted: its SHA-1 differs from the PKL.</source>
        <translation>%1 está dañado: su SHA-1 no coincide con la PKL.</translation>
    </message>
    <message>
        <source>Ready for the cinema: %1 files, %2 GB</source>
        <translation>Listo para el cine: %1 archivos, %2 GB</translation>
    </message>
</context>
<context>
    <name>DcpMenu</name>
    <message>
        <source>Resume this DCP</source>
        <translation>Reanudar este DCP</translation>
    </message>
    <message>
        <source>Pause this DCP</source>
        <translation>Pausar este DCP</translation>
    </message>
    <message>
        <source>Download next</source>
        <translation>Descargar a continuación</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Subir en la cola</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Bajar en la cola</translation>
    </message>
</context>
<context>
    <name>DcpPage</name>
    <message>
        <source>Close details</source>
        <translation>Cerrar los detalles</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Cerrar (Esc)</translation>
    </message>
    <message>
        <source>START DOWNLOAD</source>
        <translation>DESCARGAR</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>ELIMINAR</translation>
    </message>
    <message>
        <source>CHECK DRIVE</source>
        <translation>COMPROBAR DISCO</translation>
    </message>
    <message>
        <source>DOWNLOAD AGAIN</source>
        <translation>VOLVER A DESCARGAR</translation>
    </message>
    <message>
        <source>Ejecting…</source>
        <translation>Expulsando…</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Expulsar disco</translation>
    </message>
    <message>
        <source>RESUME THIS DCP</source>
        <translation>REANUDAR ESTE DCP</translation>
    </message>
    <message>
        <source>PAUSE THIS DCP</source>
        <translation>PAUSAR ESTE DCP</translation>
    </message>
    <message>
        <source>DOWNLOAD NEXT</source>
        <translation>PONER PRIMERO</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>SUBIR</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>BAJAR</translation>
    </message>
    <message>
        <source>GO TO FILES</source>
        <translation>VER ARCHIVOS</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Mostrar la carpeta del DCP en el gestor de archivos</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCELAR</translation>
    </message>
    <message>
        <source>Checking the file kept on the drive…</source>
        <translation>Comprobando el archivo conservado en el disco…</translation>
    </message>
    <message>
        <source>Checking the %1 files kept on the drive…</source>
        <translation>Comprobando los %1 archivos conservados en el disco…</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Rollos</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Unable to update the download queue.</source>
        <translation>No se puede actualizar la cola de descargas.</translation>
    </message>
    <message>
        <source>Unable to start downloading the DCP.</source>
        <translation>No se puede iniciar la descarga del DCP.</translation>
    </message>
    <message>
        <source>Unable to pause the downloads.</source>
        <translation>No se pueden pausar las descargas.</translation>
    </message>
    <message>
        <source>Unable to resume the downloads.</source>
        <translation>No se pueden reanudar las descargas.</translation>
    </message>
    <message>
        <source>Unable to download a corrupted file again.</source>
        <translation>No se puede volver a descargar un archivo dañado.</translation>
    </message>
    <message>
        <source>Unable to remove the DCP.</source>
        <translation>No se puede quitar el DCP.</translation>
    </message>
    <message>
        <source>Unable to remove the reel.</source>
        <translation>No se puede eliminar el rollo.</translation>
    </message>
    <message>
        <source>Unable to restart the download.</source>
        <translation>No se puede reiniciar la descarga.</translation>
    </message>
    <message>
        <source>Unable to store the download order.</source>
        <translation>No se puede guardar el orden de las descargas.</translation>
    </message>
    <message>
        <source>Unable to pause the DCP.</source>
        <translation>No se puede pausar el DCP.</translation>
    </message>
    <message>
        <source>Unable to change the download order.</source>
        <translation>No se puede cambiar el orden de las descargas.</translation>
    </message>
</context>
<context>
    <name>DownloadPrompts</name>
    <message>
        <source>Not enough disk space</source>
        <translation>Espacio en disco insuficiente</translation>
    </message>
    <message>
        <source>You have ran out of disk space so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please free up some space and hit the resume button once you&apos;re ready.</source>
        <translation>Se ha agotado el espacio en disco y la descarga se ha pausado.<byte value="xd"/>
<byte value="xd"/>
Libere espacio y pulse REANUDAR cuando esté listo.</translation>
    </message>
    <message>
        <source>Unable to write the download</source>
        <translation>No se puede escribir la descarga</translation>
    </message>
    <message>
        <source>The folder %1 is missing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, then hit the resume button.</source>
        <translation>Falta la carpeta %1 y la descarga se ha pausado.<byte value="xd"/>
<byte value="xd"/>
Compruebe que el disco está conectado y pulse REANUDAR.</translation>
    </message>
    <message>
        <source>The file %1 can not be opened for writing, so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected and writable, then hit the resume button.</source>
        <translation>No se puede abrir el archivo %1 para escribir y la descarga se ha pausado.<byte value="xd"/>
<byte value="xd"/>
Compruebe que el disco está conectado y admite escritura, y pulse REANUDAR.</translation>
    </message>
    <message>
        <source>Unable to save the download</source>
        <translation>No se puede guardar la descarga</translation>
    </message>
    <message>
        <source>The progress of your download can not be saved (%1), so we paused your download.<byte value="xd"/>
<byte value="xd"/>
Please check that the program&apos;s folder is writable, then hit the resume button.</source>
        <translation>No se puede guardar el progreso de la descarga (%1) y se ha pausado.<byte value="xd"/>
<byte value="xd"/>
Compruebe que la carpeta del programa admite escritura y pulse REANUDAR.</translation>
    </message>
    <message>
        <source>The current Reel is in validation(checksum) process, please wait until this is finished and try again.</source>
        <translation>El rollo actual se está verificando (suma de comprobación). Espere a que termine y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Download links expired</source>
        <translation>Enlaces de descarga caducados</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Do you want to remove outdated DCP?<byte value="xd"/>
(This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader)</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
¿Desea quitar el DCP caducado?<byte value="xd"/>
(Los archivos de su disco NO SE BORRARÁN: el DCP solo se quita de Reelvane Downloader)</translation>
    </message>
    <message>
        <source>One of the files for DCP %1 is missing and can not be downloaded. You won&apos;t be able to finish the given download.</source>
        <translation>Falta uno de los archivos del DCP %1 y no se puede descargar. Esta descarga no podrá terminar.</translation>
    </message>
    <message>
        <source>Download links for DCP %1 expired. You won&apos;t be able to finish the given download.</source>
        <translation>Los enlaces de descarga del DCP %1 han caducado. Esta descarga no podrá terminar.</translation>
    </message>
    <message>
        <source>Stop checking the files kept on the drive?</source>
        <translation>¿Dejar de comprobar los archivos conservados en el disco?</translation>
    </message>
    <message>
        <source>The file not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>El archivo aún no comprobado se volverá a descargar del servidor y sustituirá al del disco.</translation>
    </message>
    <message>
        <source>The %1 files not checked yet will be downloaded again from the server instead, replacing what the drive holds.</source>
        <translation>Los %1 archivos aún no comprobados se volverán a descargar del servidor y sustituirán a los del disco.</translation>
    </message>
</context>
<context>
    <name>DriveCheck</name>
    <message>
        <source>The folder is on a network or temporary file system (%1), not on the drive itself. Most cinema servers cannot read it.</source>
        <translation>La carpeta está en un sistema de archivos de red o temporal (%1), no en el propio disco. La mayoría de los servidores de cine no pueden leerla.</translation>
    </message>
    <message>
        <source>The drive uses %1. Most cinema servers cannot read %1 drives.</source>
        <translation>El disco usa %1. La mayoría de los servidores de cine no leen discos %1.</translation>
    </message>
    <message>
        <source>The drive uses FAT32, which cannot store files of 4 GB or more. Larger DCP files cannot be downloaded to it.</source>
        <translation>El disco usa FAT32, que no admite archivos de 4 GB o más. Los archivos de DCP mayores no se podrán descargar en él.</translation>
    </message>
    <message>
        <source>The drive uses ext4. Some cinema servers only read ext2 or ext3 drives.</source>
        <translation>El disco usa ext4. Algunos servidores de cine solo leen discos ext2 o ext3.</translation>
    </message>
    <message>
        <source>The inode size of the drive&apos;s ext%1 file system could not be read without administrator rights. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>No se ha podido leer el tamaño de inodo del sistema de archivos ext%1 sin permisos de administrador. Algunos servidores de cine solo leen discos con un tamaño de inodo de 128 bytes.</translation>
    </message>
    <message>
        <source>The drive&apos;s ext%1 file system has an inode size of %2 bytes. Some cinema servers only read drives with an inode size of 128 bytes.</source>
        <translation>El sistema de archivos ext%1 del disco tiene un tamaño de inodo de %2 bytes. Algunos servidores de cine solo leen discos con un tamaño de inodo de 128 bytes.</translation>
    </message>
    <message>
        <source>The drive has a GPT partition table. Some cinema servers only read drives with an MBR partition table.</source>
        <translation>El disco tiene una tabla de particiones GPT. Algunos servidores de cine solo leen discos con tabla de particiones MBR.</translation>
    </message>
    <message>
        <source>The DCP folder would not be at the top level of the drive (%1). Cinema servers look for DCPs at the top level; choose the drive itself.</source>
        <translation>La carpeta del DCP no quedaría en la raíz del disco (%1). Los servidores de cine buscan los DCP en la raíz; elija el propio disco.</translation>
    </message>
    <message>
        <source>Drive check</source>
        <translation>Comprobación del disco</translation>
    </message>
    <message>
        <source>Most cinema servers cannot read this drive.</source>
        <translation>La mayoría de los servidores de cine no pueden leer este disco.</translation>
    </message>
    <message>
        <source>Please check the drive before it goes to the cinema.</source>
        <translation>Compruebe el disco antes de llevarlo al cine.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuar</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Elegir otra carpeta</translation>
    </message>
</context>
<context>
    <name>DriveEject</name>
    <message>
        <source>It is now safe to remove the drive</source>
        <translation>Ya puede retirar el disco con seguridad</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because it is busy. Close every window and program that uses files on it, then try again.</source>
        <translation>No se puede expulsar el disco porque está ocupado. Cierre todas las ventanas y programas que usen archivos suyos y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected because this user is not permitted to eject it.</source>
        <translation>No se puede expulsar el disco porque este usuario no tiene permiso para hacerlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because this desktop has no disk service (UDisks2). Eject it from the file manager before removing it.</source>
        <translation>No se puede expulsar el disco desde aquí porque este escritorio no tiene servicio de discos (UDisks2). Expúlselo desde el gestor de archivos antes de retirarlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected from here because the desktop&apos;s disk service does not know it. Eject it from the file manager before removing it.</source>
        <translation>No se puede expulsar el disco desde aquí porque el servicio de discos del escritorio no lo conoce. Expúlselo desde el gestor de archivos antes de retirarlo.</translation>
    </message>
    <message>
        <source>The drive cannot be ejected: %1</source>
        <translation>No se puede expulsar el disco: %1</translation>
    </message>
</context>
<context>
    <name>DriveRoom</name>
    <message>
        <source>%1 needs %2 more than the drive %3 holds</source>
        <translation>A %1 le faltan %2 en el disco %3</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>On %1: %2 free</source>
        <translation>En %1: %2 libres</translation>
    </message>
    <message>
        <source>Needs %1 more</source>
        <translation>Faltan %1</translation>
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
        <translation>Comprobando el disco…</translation>
    </message>
    <message>
        <source>About %1 min left</source>
        <translation>Quedan unos %1 min</translation>
    </message>
    <message>
        <source>About %1 s left</source>
        <translation>Quedan unos %1 s</translation>
    </message>
    <message>
        <source>The drive was disconnected during the check.</source>
        <translation>El disco se desconectó durante la comprobación.</translation>
    </message>
    <message>
        <source>Check cancelled.</source>
        <translation>Comprobación cancelada.</translation>
    </message>
    <message>
        <source>%1 checked at %2</source>
        <comment>the drive check&apos;s result: the files and size, then a time</comment>
        <translation>%1, comprobado a las %2</translation>
    </message>
    <message>
        <source>The damaged files were downloaded again and verified. Check the drive again before it goes to the cinema.</source>
        <translation>Los archivos dañados se han vuelto a descargar y verificar. Compruebe de nuevo el disco antes de llevarlo al cine.</translation>
    </message>
    <message>
        <source>1 problem found on the drive:</source>
        <translation>Se ha encontrado 1 problema en el disco:</translation>
    </message>
    <message>
        <source>%1 problems found on the drive:</source>
        <translation>Se han encontrado %1 problemas en el disco:</translation>
    </message>
</context>
<context>
    <name>EjectAction</name>
    <message>
        <source>Ready to unplug: every DCP on this drive is verified and confirmed.</source>
        <translation>Listo para desconectar: todos los DCP de este disco están verificados y confirmados.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: a few seconds.</source>
        <translation>Los archivos siguen ocultos hasta que el portal los confirme: unos segundos.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 s.</source>
        <translation>Los archivos siguen ocultos hasta que el portal los confirme: unos %1 s.</translation>
    </message>
    <message>
        <source>Files stay hidden until the portal confirms them: about %1 min.</source>
        <translation>Los archivos siguen ocultos hasta que el portal los confirme: unos %1 min.</translation>
    </message>
    <message>
        <source>Eject drive</source>
        <translation>Expulsar disco</translation>
    </message>
</context>
<context>
    <name>EmptyCatalogue</name>
    <message>
        <source>No DCP(s) found</source>
        <translation>No se ha encontrado ningún DCP</translation>
    </message>
    <message>
        <source>You are not downloading any DCPs yet. To start downloading please complete the following steps:</source>
        <translation>Todavía no está descargando ningún DCP. Para empezar a descargar, siga estos pasos:</translation>
    </message>
    <message>
        <source>Click on &quot;Load File&quot; on the left.</source>
        <translation>Haga clic en «CARGAR» a la izquierda.</translation>
    </message>
    <message>
        <source>Select the small .orvdcp file you downloaded from the OSKAN web portal (usually in your Downloads folder). If you do not have one yet, click &quot;LAUNCH  OSKAN&quot;, log in, select the film and hit &quot;Download&quot;, then return to the first step.</source>
        <translation>Seleccione el pequeño archivo .orvdcp que descargó del portal web OSKAN (normalmente en su carpeta Descargas). Si aún no tiene ninguno, haga clic en «ABRIR OSKAN», inicie sesión, elija la película y pulse «Download»; después vuelva al primer paso.</translation>
    </message>
    <message>
        <source>You will be asked where you want to save your DCP file to. Select your download location and hit save. Your download will begin.</source>
        <translation>Se le preguntará dónde desea guardar su DCP. Elija la ubicación y confirme: la descarga comenzará.</translation>
    </message>
    <message>
        <source>IMPORTANT:</source>
        <translation>IMPORTANTE:</translation>
    </message>
    <message>
        <source>if you will ingest from a USB hard drive, download directly onto that drive rather than onto this computer&apos;s local drive first, so that Reelvane can verify the download and fix corruptions before ingest.</source>
        <translation>si va a hacer el ingest desde un disco duro USB, descargue directamente en ese disco y no primero en el disco de este ordenador, para que Reelvane pueda verificar la descarga y corregir los daños antes del ingest.</translation>
    </message>
    <message>
        <source>You can pause the download at any time by hitting pause or just quitting this application. When you open the application again the download will resume from where it left off.</source>
        <translation>Puede pausar la descarga en cualquier momento con PAUSA o cerrando el programa. Al abrirlo de nuevo, la descarga continuará donde se quedó.</translation>
    </message>
    <message>
        <source>Need help? Write to %1 and we will get back to you.</source>
        <translation>¿Necesita ayuda? Escriba a %1 y le responderemos.</translation>
    </message>
</context>
<context>
    <name>EnvironmentProxyFactory</name>
    <message>
        <source>The proxy &quot;%1&quot; (%2) cannot be used. It must be [http://][user:password@]host[:port] or a socks5:// address.</source>
        <translation>No se puede usar el proxy «%1» (%2). Debe tener la forma [http://][usuario:contraseña@]host[:puerto] o ser una dirección socks5://.</translation>
    </message>
</context>
<context>
    <name>KeptFiles</name>
    <message>
        <source>Unable to keep the files found on the drive.</source>
        <translation>No se pueden conservar los archivos encontrados en el disco.</translation>
    </message>
    <message>
        <source>Unable to download the kept files instead.</source>
        <translation>No se pueden descargar en su lugar los archivos conservados.</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Login</source>
        <translation>Inicio de sesión</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Please login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:20pt;&quot;&gt;Inicie sesión&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>LOG IN</source>
        <translation>INICIAR SESIÓN</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Password&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;¿Olvidó su contraseña?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;Forgot Username&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-family:&apos;Arial&apos;; font-size:13pt;&quot;&gt;&lt;p&gt;&lt;a href=&quot;#&quot;&gt;&lt;span style=&quot; font-size:12px; text-decoration: none; color:#fffbfc;&quot;&gt;¿Olvidó su nombre de usuario?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Please login using the same username and password you use to login to OSKAN.</source>
        <translation>Inicie sesión con el mismo nombre de usuario y contraseña que usa en OSKAN.</translation>
    </message>
    <message>
        <source>LOGGING IN...</source>
        <translation>INICIANDO SESIÓN...</translation>
    </message>
    <message>
        <source>Error. Please check your internet connection.</source>
        <translation>Error. Compruebe su conexión a Internet.</translation>
    </message>
    <message>
        <source>Service is temporarily not available. Please try again later.</source>
        <translation>El servicio no está disponible por el momento. Vuelva a intentarlo más tarde.</translation>
    </message>
</context>
<context>
    <name>NavBar</name>
    <message>
        <source>LOAD FILE</source>
        <translation>CARGAR</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Abrir un archivo de paquete (Ctrl+O)</translation>
    </message>
    <message>
        <source>RESUME</source>
        <translation>REANUDAR</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSA</translation>
    </message>
    <message>
        <source>Resume the downloads (Space)</source>
        <translation>Reanudar las descargas (Espacio)</translation>
    </message>
    <message>
        <source>Pause the downloads (Space)</source>
        <translation>Pausar las descargas (Espacio)</translation>
    </message>
    <message>
        <source>LAUNCH OSKAN</source>
        <translation>ABRIR OSKAN</translation>
    </message>
    <message>
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Abrir el portal OSKAN en su navegador</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>No se puede leer el archivo de autoridades de certificación «%1» (ORV_EXTRA_CA_FILE): %2</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) is not a regular file.</source>
        <translation>El archivo de autoridades de certificación «%1» (ORV_EXTRA_CA_FILE) no es un archivo normal.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds %2 bytes; a certificate bundle is well under 1 MB.</source>
        <translation>El archivo de autoridades de certificación «%1» (ORV_EXTRA_CA_FILE) ocupa %2 bytes; un paquete de certificados ocupa mucho menos de 1 MB.</translation>
    </message>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) holds no PEM certificate.</source>
        <translation>El archivo de autoridades de certificación «%1» (ORV_EXTRA_CA_FILE) no contiene ningún certificado PEM.</translation>
    </message>
</context>
<context>
    <name>NotificationManager</name>
    <message>
        <source>Downloaded files could not be given their final names.</source>
        <translation>No se ha podido dar su nombre definitivo a los archivos descargados.</translation>
    </message>
    <message>
        <source>They keep their hidden names, so the DCP cannot be ingested yet. The Reelvane Downloader tries again after every report to the server and at the next start.

</source>
        <translation>Conservan sus nombres ocultos, así que todavía no se puede hacer el ingest del DCP. Reelvane Downloader lo reintenta tras cada aviso al servidor y en el próximo inicio.

</translation>
    </message>
</context>
<context>
    <name>PackageEntryImporter</name>
    <message>
        <source>Drive not connected</source>
        <translation>Disco no conectado</translation>
    </message>
    <message>
        <source>The DCP %1 is downloaded to %2, which is not connected. Connect the drive, start the Reelvane Downloader again and open the file once more.</source>
        <translation>El DCP %1 se descarga en %2, que no está conectado. Conecte el disco, vuelva a iniciar Reelvane Downloader y abra de nuevo el archivo.</translation>
    </message>
    <message>
        <source>The DCP %1 already exist and will be merged.</source>
        <translation>El DCP %1 ya existe y se completará.</translation>
    </message>
    <message>
        <source>No reels detected in ORVDCP file. Select at least one reel to download. Please redownload the file from OSKAN.</source>
        <translation>El archivo ORVDCP no contiene ningún rollo. Elija al menos un rollo para descargar y vuelva a descargar el archivo desde OSKAN.</translation>
    </message>
    <message>
        <source>Would you like to redownload the file now?</source>
        <translation>¿Desea volver a descargar el archivo ahora?</translation>
    </message>
    <message>
        <source>The selected drive cannot hold this DCP</source>
        <translation>El disco elegido no puede contener este DCP</translation>
    </message>
    <message>
        <source>The drive uses the FAT32 file system, which cannot store files of 4 GB or more, and this DCP contains such files.<byte value="xd"/>
<byte value="xd"/>
Please choose a drive formatted as ext2, ext3, exFAT or NTFS.</source>
        <translation>El disco usa el sistema de archivos FAT32, que no admite archivos de 4 GB o más, y este DCP los contiene.<byte value="xd"/>
<byte value="xd"/>
Elija un disco formateado en ext2, ext3, exFAT o NTFS.</translation>
    </message>
    <message>
        <source>The DCP %1 could not be saved</source>
        <translation>No se ha podido guardar el DCP %1</translation>
    </message>
    <message>
        <source>Unable to write the DCP folder %1.<byte value="xd"/>
<byte value="xd"/>
Please check that the drive is connected, writable and has free space, then open the file again.</source>
        <translation>No se puede escribir la carpeta del DCP %1.<byte value="xd"/>
<byte value="xd"/>
Compruebe que el disco está conectado, admite escritura y tiene espacio libre, y vuelva a abrir el archivo.</translation>
    </message>
    <message>
        <source>Remove conflicting files?</source>
        <translation>¿Eliminar los archivos en conflicto?</translation>
    </message>
    <message>
        <source>The following files will be removed...<byte value="xd"/>
</source>
        <translation>Se eliminarán los siguientes archivos...<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>&amp;Check and keep</source>
        <translation>&amp;Comprobar y conservar</translation>
    </message>
</context>
<context>
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Quitar el rollo %1 y borrar sus archivos (Supr)</translation>
    </message>
    <message>
        <source>Reel #%1</source>
        <translation>Rollo %1</translation>
    </message>
</context>
<context>
    <name>ScheduleDialog</name>
    <message>
        <source>No limit</source>
        <translation>Sin límite</translation>
    </message>
    <message>
        <source>Limit (%1 Mbps)</source>
        <translation>Límite (%1 Mbit/s)</translation>
    </message>
    <message>
        <source>Alternative limit</source>
        <translation>Límite alternativo</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>Bandwidth schedule</source>
        <translation>Horario del ancho de banda</translation>
    </message>
    <message>
        <source>On: the rules below apply at each hour</source>
        <translation>Activado: las reglas de abajo se aplican hora a hora</translation>
    </message>
    <message>
        <source>Off: the slider and the switch alone apply</source>
        <translation>Desactivado: solo cuentan el regulador y el interruptor</translation>
    </message>
    <message>
        <source>Alternative limit:</source>
        <translation>Límite alternativo:</translation>
    </message>
    <message>
        <source>%1 Mbps</source>
        <translation>%1 Mbit/s</translation>
    </message>
    <message>
        <source>Full speed at night, 22:00–08:00</source>
        <translation>Velocidad máxima de noche, 22:00–08:00</translation>
    </message>
    <message>
        <source>Weekdays limited by day</source>
        <translation>Entre semana, limitado de día</translation>
    </message>
    <message>
        <source>Paint hours with the mouse, or move with the arrow keys and press Space; keys 1 to 4 pick the rule. Moving the slider or the switch by hand overrides the schedule until its next change.</source>
        <translation>Pinte las horas con el ratón, o muévase con las flechas y pulse Espacio; las teclas 1 a 4 eligen la regla. Mover a mano el regulador o el interruptor deja el horario sin efecto hasta su próximo cambio.</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCELAR</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>GUARDAR</translation>
    </message>
</context>
<context>
    <name>ScheduleEngine</name>
    <message>
        <source>Schedule overridden by hand until %1</source>
        <translation>Horario cambiado a mano hasta %1</translation>
    </message>
    <message>
        <source>Schedule overridden by hand</source>
        <translation>Horario cambiado a mano</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>sin límite</translation>
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
        <translation>en pausa</translation>
    </message>
    <message>
        <source>Schedule: %1 until %2</source>
        <translation>Horario: %1 hasta %2</translation>
    </message>
    <message>
        <source>Schedule: %1</source>
        <translation>Horario: %1</translation>
    </message>
</context>
<context>
    <name>Services</name>
    <message>
        <source>The portal address &quot;%1&quot; (ORV_PORTAL_URL) is refused. It must be an https:// address, or http:// on this computer (127.0.0.1, ::1 or localhost) only, since the password, the decoding key and the installer travel over it.</source>
        <translation>Se rechaza la dirección del portal «%1» (ORV_PORTAL_URL). Debe ser una dirección https://, o http:// solo en este ordenador (127.0.0.1, ::1 o localhost), porque por ella viajan la contraseña, la clave de descodificación y el instalador.</translation>
    </message>
    <message>
        <source>The notification service address &quot;%1&quot; (ORV_NOTIFY_URL) is refused. It must be an http:// or https:// address with a host name.</source>
        <translation>Se rechaza la dirección del servicio de notificaciones «%1» (ORV_NOTIFY_URL). Debe ser una dirección http:// o https:// con nombre de host.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Unable to save the settings.</source>
        <translation>No se pueden guardar los ajustes.</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Downloading DCP</source>
        <translation>Descargando un DCP</translation>
    </message>
</context>
<context>
    <name>TopBar</name>
    <message>
        <source>Search DCPs...</source>
        <translation>Buscar DCP...</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Buscar DCP</translation>
    </message>
    <message>
        <source>DATE</source>
        <comment>sort by date</comment>
        <translation>FECHA</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Ordenar por fecha</translation>
    </message>
    <message>
        <source>A-Z</source>
        <comment>sort by name</comment>
        <translation>A-Z</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Ordenar por nombre</translation>
    </message>
</context>
<context>
    <name>TransferOutcomes</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>El proxy pide autenticación (%1), reintentando…</translation>
    </message>
    <message>
        <source>The server&apos;s file and the package disagree: %1 bytes on the server, %2 in the package. Downloads of this file wait.</source>
        <translation>El archivo del servidor y el paquete no coinciden: %1 bytes en el servidor, %2 en el paquete. La descarga de este archivo queda en espera.</translation>
    </message>
    <message>
        <source>Server %1 ≠ package %2</source>
        <translation>Servidor %1 ≠ paquete %2</translation>
    </message>
    <message>
        <source>Unable to handle a failed download.</source>
        <translation>No se puede gestionar una descarga fallida.</translation>
    </message>
    <message>
        <source>Unable to start the next download.</source>
        <translation>No se puede iniciar la siguiente descarga.</translation>
    </message>
</context>
<context>
    <name>UpdaterDialog</name>
    <message>
        <source>Checking for updates...</source>
        <translation>Buscando actualizaciones...</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Espere, por favor...</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Ahora no</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Nueva versión disponible</translation>
    </message>
    <message>
        <source>New version available. Would you like to download updates now?</source>
        <translation>Hay una nueva versión disponible. ¿Desea descargarla ahora?</translation>
    </message>
    <message>
        <source>Downloading updates ...</source>
        <translation>Descargando la actualización ...</translation>
    </message>
    <message>
        <source>The update was downloaded but could not be opened.</source>
        <translation>La actualización se ha descargado, pero no se ha podido abrir.</translation>
    </message>
    <message>
        <source>Open the installer yourself:
%1

The Reelvane Downloader goes on with this version for now.</source>
        <translation>Abra usted mismo el instalador:
%1

Por ahora Reelvane Downloader sigue con esta versión.</translation>
    </message>
</context>
<context>
    <name>WebAlerts</name>
    <message>
        <source>Enter a web address that starts with https:// or http://.</source>
        <translation>Introduzca una dirección web que empiece por https:// o http://.</translation>
    </message>
    <message>
        <source>Test alert from Reelvane Downloader: alerts reach this address.</source>
        <translation>Alerta de prueba de Reelvane Downloader: las alertas llegan a esta dirección.</translation>
    </message>
    <message>
        <source>The address answered: alerts will arrive there.</source>
        <translation>La dirección ha respondido: las alertas llegarán allí.</translation>
    </message>
    <message>
        <source>The address did not answer: %1</source>
        <translation>La dirección no ha respondido: %1</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>el servidor respondió %1 %2</translation>
    </message>
    <message>
        <source>nothing came back within %1 seconds</source>
        <translation>ninguna respuesta en %1 segundos</translation>
    </message>
</context>
<context>
    <name>WindowActions</name>
    <message>
        <source>Would you like to continue ?</source>
        <translation>¿Desea continuar?</translation>
    </message>
    <message>
        <source>Warning...</source>
        <translation>Atención...</translation>
    </message>
    <message>
        <source>You are about to delete a DCP.<byte value="xd"/>
<byte value="xd"/>
This will NOT DELETE the files on your hard drive but simply remove the DCP from the Reelvane Downloader.</source>
        <translation>Va a eliminar un DCP.<byte value="xd"/>
<byte value="xd"/>
Los archivos de su disco NO SE BORRARÁN: el DCP solo se quita de Reelvane Downloader.</translation>
    </message>
    <message>
        <source>You are about to delete a Reel.<byte value="xd"/>
<byte value="xd"/>
This will DELETE the files on your hard drive. The Reel and all of it&apos;s assets will be removed.</source>
        <translation>Va a eliminar un rollo.<byte value="xd"/>
<byte value="xd"/>
Los archivos de su disco SE BORRARÁN: se quitarán el rollo y todos sus archivos.</translation>
    </message>
    <message>
        <source>No program on this computer could show the folder. The DCP&apos;s files are in:</source>
        <translation>Ningún programa de este ordenador ha podido mostrar la carpeta. Los archivos del DCP están en:</translation>
    </message>
    <message>
        <source>No web browser on this computer could open OSKAN. Copy this address into your browser:</source>
        <translation>Ningún navegador de este ordenador ha podido abrir OSKAN. Copie esta dirección en su navegador:</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Versión 1.4.0</translation>
    </message>
    <message>
        <source>Your downloads are paused.</source>
        <translation>Sus descargas están en pausa.</translation>
    </message>
    <message>
        <source>Would you like to resume?</source>
        <translation>¿Desea reanudarlas?</translation>
    </message>
    <message>
        <source>Downloads are paused</source>
        <translation>Descargas en pausa</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Load File</source>
        <translation>&amp;Cargar archivo</translation>
    </message>
    <message>
        <source>Alerts…</source>
        <translation>Alertas…</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>System language</source>
        <translation>Idioma del sistema</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>WindowStatusBar</name>
    <message>
        <source>Speed limit: </source>
        <translation>Límite de velocidad: </translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Límite de velocidad</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sin límite</translation>
    </message>
    <message>
        <source>Schedule…</source>
        <translation>Horario…</translation>
    </message>
</context>
<context>
    <name>globals</name>
    <message>
        <source>Completed</source>
        <comment>status of a reel</comment>
        <translation>Completado</translation>
    </message>
    <message>
        <source>Notifying, please wait</source>
        <comment>status of a reel</comment>
        <translation>Notificando, espere</translation>
    </message>
    <message>
        <source>Downloading</source>
        <comment>status of a reel</comment>
        <translation>Descargando</translation>
    </message>
    <message>
        <source>Pending</source>
        <comment>status of a reel</comment>
        <translation>Pendiente</translation>
    </message>
    <message>
        <source>Validating, please wait</source>
        <comment>status of a reel</comment>
        <translation>Verificando, espere</translation>
    </message>
    <message>
        <source>Corrupted</source>
        <comment>status of a reel</comment>
        <translation>Dañado</translation>
    </message>
    <message>
        <source>Queued for redownload</source>
        <comment>status of a reel</comment>
        <translation>Pendiente de volver a descargar</translation>
    </message>
    <message>
        <source>Drive not connected</source>
        <translation>Disco no conectado</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>status of a DCP paused on its own</comment>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>Server not answering, retrying…</source>
        <translation>El servidor no responde, reintentando…</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>bytes</translation>
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
        <translation>Error</translation>
    </message>
    <message>
        <source>Downloading reel %1</source>
        <translation>Descargando rollo %1</translation>
    </message>
    <message>
        <source>Validating reel %1</source>
        <translation>Verificando rollo %1</translation>
    </message>
    <message>
        <source>Notifying reel %1</source>
        <translation>Notificando rollo %1</translation>
    </message>
    <message>
        <source>Pending %1 reel</source>
        <translation>Pendiente: %1 rollo</translation>
    </message>
    <message>
        <source>Pending %1 reels</source>
        <translation>Pendiente: %1 rollos</translation>
    </message>
    <message>
        <source>Completed %1</source>
        <comment>status of a DCP, with its size</comment>
        <translation>Completado %1</translation>
    </message>
    <message>
        <source>Downloading %1 %2</source>
        <comment>status of a reel, with its speed</comment>
        <translation>Descargando %1 %2</translation>
    </message>
    <message>
        <source>Remaining time: unknown</source>
        <translation>Tiempo restante: desconocido</translation>
    </message>
    <message>
        <source>Remaining time: %1h %2m %3s</source>
        <translation>Tiempo restante: %1h %2min %3s</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>En pausa.</translation>
    </message>
    <message>
        <source>Confirming %1 reel with the portal…</source>
        <translation>Confirmando %1 rollo con el portal…</translation>
    </message>
    <message>
        <source>Confirming %1 reels with the portal…</source>
        <translation>Confirmando %1 rollos con el portal…</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Listo.</translation>
    </message>
    <message>
        <source>Paused, %1 reel left</source>
        <translation>En pausa, queda %1 rollo</translation>
    </message>
    <message>
        <source>Paused, %1 reels left</source>
        <translation>En pausa, quedan %1 rollos</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Please choose a file</source>
        <translation>Elija un archivo</translation>
    </message>
    <message>
        <source>DCP Package (*.orvdcp)</source>
        <translation>Paquete DCP (*.orvdcp)</translation>
    </message>
    <message>
        <source>Reelvane Downloader
Version 1.4.0</source>
        <translation>Reelvane Downloader
Versión 1.4.0</translation>
    </message>
    <message>
        <source>Drop the package to load it</source>
        <translation>Suelte el paquete para cargarlo</translation>
    </message>
    <message>
        <source>You already have an instance of the Reelvane Downloader running.<byte value="xd"/>
Only one instance is allowed.</source>
        <translation>Reelvane Downloader ya está abierto.<byte value="xd"/>
Solo se permite una instancia.</translation>
    </message>
</context>
</TS>
