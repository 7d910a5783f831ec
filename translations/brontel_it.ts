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
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Modulo</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Indirizzo IP</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Scansiona con VaroVR</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Connessione automatica</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Connesso</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Scollegato</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Indice:%1  Nome:%2 </translation>
    </message>
</context>
</TS>
