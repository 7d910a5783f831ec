<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>inizio   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guida   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>info   </translation>
    </message>
</context>
</TS>
