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
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>文件正在添加中，请稍候！</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>文件正在添加中，请稍候！</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>重启后生效！</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>确定</translation>
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
        <translation>确定</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>确定要退出吗？</translation>
    </message>
    <message>
        <source>background</source>
        <translation>后台运行</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>文件正在添加中，请稍候！</translation>
    </message>
</context>
</TS>
