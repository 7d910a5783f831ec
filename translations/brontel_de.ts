<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>Telefon: siehe www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Website: www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat: siehe www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>Aktuelle Version: </translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR entwickelt VR-Headsets und die passenden Apps. Der Varo-Helfer bringt die Videos Ihres PCs über Ihr Heimnetz auf Ihr VaroVR-Headset und Ihr Telefon.</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Dies ist die neueste Version</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>Neueste Version: %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Varo-Helfer</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>Keine Netzwerkverbindung</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>Der Rest der Anleitung wird nicht angezeigt.</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>Ganze Anleitung öffnen</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>Was ist Orvalin?</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin ist der Videodienst des Varo-Helfers: Er teilt die Videos der Bibliothek Ihres PCs mit der VaroVR-App und mit Varo-Headsets im selben Netz, die sie abspielen, ohne sie zu kopieren.</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>So funktioniert es</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>Orvalin in der VaroVR-App nutzen</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. Varo-Helfer am PC starten und Videos hinzufügen;</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. Die VaroVR-App auf dem Telefon installieren;</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. Das Telefon mit dem PC verbinden;</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. Die Videos auf dem Telefon ansehen.</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Orvalin auf einem Varo-Headset nutzen</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. Das Headset einschalten und mit dem PC verbinden;</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Die Videos auf dem Varo-Headset ansehen.</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>Welche Videoformate werden unterstützt?</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin unterstützt die gängigen Videoformate; ob ein Video abspielbar ist, hängt von der Decodierleistung Ihres Telefons oder Headsets ab.</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. MOV- und SWF-Videos zeigen in Orvalin kein korrektes Vorschaubild; sie lassen sich trotzdem abspielen.</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. Enthält ein Videoname Sonderzeichen, lässt sich das Video eventuell nicht abspielen oder es scheint gelöscht. Bitte benennen Sie das Video auf Chinesisch oder Englisch um.</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>Häufige Probleme</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>Warum wird der Varo-Helfer nicht gefunden?</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. Der Varo-Helfer läuft am PC, und der PC hat eine IP-Adresse;</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. PC und Gerät sind im selben WLAN;</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. Zu viele Geräte sind im Netzwerk;</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. Prüfen Sie, ob die Firewall den Varo-Helfer durchlässt.</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>Warum ist die Wiedergabe langsam?</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>Das hängt von der Konfiguration des Routers und der Bandbreite des Netzwerks ab.</translation>
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
