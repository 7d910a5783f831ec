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
</TS>
