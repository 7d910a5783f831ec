<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>home   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guide   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>about   </translation>
    </message>
</context>
</TS>
