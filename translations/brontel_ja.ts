<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>ホーム   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>ガイド   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>概要   </translation>
    </message>
</context>
</TS>
