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
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>使用VaroVR APP扫码</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>自动连接</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>未连接</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>索引:%1  名称:%2 </translation>
    </message>
</context>
</TS>
