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
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Mit VaroVR scannen</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Automatisch verbinden</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Offline</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Index:%1  Name:%2 </translation>
    </message>
</context>
</TS>
