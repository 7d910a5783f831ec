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
<context>
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>not video file</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Insufficient %1 drive space !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>adding was interrupted</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>file copy failed</translation>
    </message>
</context>
</TS>
