<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>accueil   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guide   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>à propos   </translation>
    </message>
</context>
<context>
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>ce n'est pas un fichier vidéo</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Espace insuffisant sur le disque %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>l'ajout a été interrompu</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>échec de la copie du fichier</translation>
    </message>
</context>
</TS>
