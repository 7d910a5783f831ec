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
</TS>
