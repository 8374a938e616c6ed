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
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
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
</context>
</TS>
