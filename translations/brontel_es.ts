<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>inicio   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guía   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>acerca de   </translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Se están añadiendo archivos, ¡espere un momento!</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>Última versión: %1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Dirección IP</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Escanee con VaroVR</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Conexión automática</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Conectado</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Sin conexión</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Se están añadiendo archivos, ¡espere un momento!</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>¡Surte efecto tras reiniciar!</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>Añadiendo vídeos</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>Añadiendo vídeo</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>Elimine los vídeos que ya haya visto</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Se están añadiendo archivos, ¡espere un momento!</translation>
    </message>
</context>
<context>
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>no es un archivo de vídeo</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>¡Espacio insuficiente en la unidad %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>se interrumpió la adición</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>error al copiar el archivo</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Índice:%1  Nombre:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>No se puede leer el archivo %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>No se puede escribir el archivo %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>Error de análisis en la línea %1, columna %2:
%3.
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Se están añadiendo archivos, ¡espere un momento!</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualización</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>Nueva versión disponible</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. Corregidos los vídeos que a veces se veían en negro o no cargaban&lt;/p&gt;&lt;p&gt;2. Nuevo módulo para ver vídeos&lt;/p&gt;&lt;p&gt;3. Descarga sin conexión mejorada&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Ya tiene la última versión</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>No se puede crear la carpeta, la actualización ha fallado</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>Actualizando</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>Error en la actualización</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>Reintentar</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>fmrMessage</name>
    <message>
        <source>Brontel</source>
        <translation>Brontel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>¿Confirmas la eliminación?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>¿Salir?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>Segundo plano</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Se están añadiendo archivos, ¡espere un momento!</translation>
    </message>
</context>
<context>
    <name>frmHomePage</name>
    <message>
        <source>Brontel</source>
        <translation>Brontel</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Todo</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>añadir vídeo</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>¡No se pudo guardar la videoteca!</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>no se pudo eliminar el vídeo</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>Abrir archivo de vídeo</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>no es un archivo de vídeo</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>vídeo ya añadido</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>Archivos de vídeo(%1);;Todos los archivos(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
</context>
</TS>
