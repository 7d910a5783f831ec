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
    <message>
        <source>Latest version: %1</source>
        <translation>最新版本：%1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>退出</translation>
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
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>正在添加视频</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>正在添加视频</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>已看过的视频请及时删除</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>文件正在添加中，请稍候！</translation>
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
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>索引:%1  名称:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>无法读取文件 %1：
%2。
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>无法写入文件 %1：
%2。
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>解析错误，位于第 %1 行第 %2 列：
%3。
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>文件正在添加中，请稍候！</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>发现新版本</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>立即更新</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>已是最新版本</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>无法创建文件夹，更新失败</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>正在更新</translation>
    </message>
    <message>
        <source>close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>更新失败</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>重新更新</translation>
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
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>确定要删除吗？</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
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
<context>
    <name>frmHomePage</name>
    <message>
        <source>Brontel</source>
        <translation>Brontel</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>添加视频</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>视频库无法保存！</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>无法删除视频</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>打开视频文件</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>不是视频文件</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>该视频已添加</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>视频文件(%1);;所有文件(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
</context>
</TS>
