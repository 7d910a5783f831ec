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
</TS>
