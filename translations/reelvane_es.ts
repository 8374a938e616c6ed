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
    <name>DcpDelegate</name>
    <message>
        <source>Ejecting…</source>
        <translation>Expulsando…</translation>
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
        <source>Close details</source>
        <translation>Cerrar los detalles</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Cerrar (Esc)</translation>
    </message>
    <message>
        <source>Show the DCP&apos;s folder in the file manager</source>
        <translation>Mostrar la carpeta del DCP en el gestor de archivos</translation>
    </message>
    <message>
        <source>Reels</source>
        <translation>Rollos</translation>
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
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Proxy requires authentication (%1), retrying…</source>
        <translation>El proxy pide autenticación (%1), reintentando…</translation>
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
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The certificate authority file &quot;%1&quot; (ORV_EXTRA_CA_FILE) cannot be read: %2</source>
        <translation>El archivo de autoridades de certificación «%1» (ORV_EXTRA_CA_FILE) no se puede leer: %2</translation>
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
    <name>ReelDelagate</name>
    <message>
        <source>Remove reel %1 and delete its files (Delete)</source>
        <translation>Quitar el rollo %1 y borrar sus archivos (Supr)</translation>
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
    <name>main</name>
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
        <source>Schedule…</source>
        <translation>Horario…</translation>
    </message>
    <message>
        <source>Open a package file (Ctrl+O)</source>
        <translation>Abrir un archivo de paquete (Ctrl+O)</translation>
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
        <source>Open the OSKAN portal in your web browser</source>
        <translation>Abrir el portal OSKAN en su navegador</translation>
    </message>
    <message>
        <source>Search DCPs</source>
        <translation>Buscar DCP</translation>
    </message>
    <message>
        <source>Sort by date</source>
        <translation>Ordenar por fecha</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Ordenar por nombre</translation>
    </message>
    <message>
        <source>DCPs</source>
        <translation>DCP</translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>Límite de velocidad</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sin límite</translation>
    </message>
</context>
</TS>
