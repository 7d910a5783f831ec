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
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>non è un file video</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Spazio insufficiente sul disco %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>aggiunta interrotta</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>copia del file non riuscita</translation>
    </message>
</context>
</TS>
