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
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>動画ファイルではありません</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>%1 ドライブの空き容量が不足しています！</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>追加が中断されました</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>ファイルのコピーに失敗しました</translation>
    </message>
</context>
</TS>
