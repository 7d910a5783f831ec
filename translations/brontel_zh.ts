<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>首页   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>指南   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>关于   </translation>
    </message>
</context>
</TS>
