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
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>Attivo dopo il riavvio!</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
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
        <translation>Assistente Varo</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>Uscire?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>In background</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
</context>
</TS>
