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
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Adresse IP</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Scannez avec VaroVR</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Connexion automatique</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Connecté</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Déconnecté</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Index:%1  Nom:%2 </translation>
    </message>
</context>
</TS>
