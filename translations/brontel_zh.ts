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
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>不是视频文件</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>%1 磁盘空间不足！</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>添加已中断</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>文件复制失败</translation>
    </message>
</context>
</TS>
