<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>Start   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>Anleitung   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>Über   </translation>
    </message>
</context>
</TS>
