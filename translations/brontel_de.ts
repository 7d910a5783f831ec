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
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Dateien werden hinzugefügt, bitte einen Moment warten!</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>Neueste Version: %1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Beenden</translation>
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
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Dateien werden hinzugefügt, bitte einen Moment warten!</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>Wirksam nach einem Neustart!</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>Videos werden hinzugefügt</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>Video wird hinzugefügt</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>Bereits angesehene Videos bald löschen</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Dateien werden hinzugefügt, bitte einen Moment warten!</translation>
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
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Index:%1  Name:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>Datei %1 kann nicht gelesen werden:
%2.
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>Datei %1 kann nicht geschrieben werden:
%2.
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>Syntaxfehler in Zeile %1, Spalte %2:
%3.
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Dateien werden hinzugefügt, bitte einen Moment warten!</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>Neue Version verfügbar</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. Videos, die manchmal schwarz blieben oder nicht luden, behoben&lt;/p&gt;&lt;p&gt;2. Neues Modul zum Ansehen von Videos&lt;/p&gt;&lt;p&gt;3. Offline-Download verbessert&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Dies ist die neueste Version</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>Ordner kann nicht erstellt werden, Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>Wird aktualisiert</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>Wiederholen</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
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
        <translation>OK</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>Wirklich löschen?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>Beenden?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Dateien werden hinzugefügt, bitte einen Moment warten!</translation>
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
        <translation>Alle</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>Video hinzufügen</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>Die Videobibliothek konnte nicht gespeichert werden!</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>das Video konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>Videodatei öffnen</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>keine Videodatei</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>Video bereits hinzugefügt</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>Videodateien(%1);;Alle Dateien(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
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
