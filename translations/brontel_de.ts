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
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>keine Videodatei</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Nicht genügend Speicherplatz auf Laufwerk %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>Hinzufügen wurde abgebrochen</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>Kopieren der Datei fehlgeschlagen</translation>
    </message>
</context>
</TS>
