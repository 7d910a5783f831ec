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
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IPアドレス</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>VaroVRアプリでスキャン</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>自動で接続</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>接続済み</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>未接続</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>インデックス:%1  名前:%2 </translation>
    </message>
</context>
</TS>
