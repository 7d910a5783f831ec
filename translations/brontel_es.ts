<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>Teléfono: véase www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Sitio web: www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat: véase www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>Buscar actualización</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>Versión actual: </translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR fabrica visores de realidad virtual y las aplicaciones que los acompañan. El Asistente Varo lleva los vídeos de su PC a su visor VaroVR y a su teléfono a través de la red de casa.</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>Error de red</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Ya tiene la última versión</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>Última versión: %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualizar</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Asistente Varo</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>Sin conexión de red</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>El resto de la guía no se muestra.</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>Abrir la guía completa</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>¿Qué es Orvalin?</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin es el servicio de vídeo del Asistente Varo: comparte los vídeos de la biblioteca de su PC con la aplicación VaroVR y con los visores Varo de la misma red, que los reproducen sin copiarlos.</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>Cómo se usa</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>Usar Orvalin en la aplicación VaroVR</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. Inicie el Asistente Varo en el PC y añada vídeos;</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. Instale la aplicación VaroVR en el teléfono;</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. Conecte el teléfono al PC;</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. Vea los vídeos en el teléfono.</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Usar Orvalin en un visor Varo</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. Encienda el visor y conéctelo al PC;</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Vea los vídeos en el visor Varo.</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>¿Qué formatos de vídeo admite?</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin admite los formatos de vídeo más comunes; que un vídeo se reproduzca depende de la capacidad de decodificación de su teléfono o visor.</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. Los vídeos MOV y SWF no muestran una portada correcta en Orvalin; se reproducen igualmente.</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. Un vídeo cuyo nombre contiene caracteres especiales puede no reproducirse o parecer eliminado. Cambie el nombre del vídeo a chino o inglés.</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>Problemas frecuentes</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>¿Por qué no se encuentra el Asistente Varo?</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. El Asistente Varo está abierto en el PC, que tiene dirección IP;</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. El PC y el dispositivo están en la misma red Wi-Fi;</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. Hay demasiados dispositivos en la red;</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. Compruebe que el cortafuegos no bloquee el Asistente Varo.</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>¿Por qué la reproducción es lenta?</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>Depende de la configuración del router y del ancho de banda de la red.</translation>
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
