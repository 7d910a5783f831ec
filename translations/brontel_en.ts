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
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>File is adding , please wait for a  moment !</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>Latest version: %1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>quit</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Scan in the VaroVR app</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Connect automatically</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Offline</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>File is adding , please wait for a  moment !</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>Effect after reboot!</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>Adding videos</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>Adding video</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>Promptly delete videos if you&apos;ve already watched</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>File is adding , please wait for a  moment !</translation>
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
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Index:%1  Name:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>Cannot read file %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>Cannot write file %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>Parse error at line %1, column %2:
%3.
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>File is adding , please wait for a  moment !</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>A new version is available</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. Fixed videos that sometimes stayed black or did not load&lt;/p&gt;&lt;p&gt;2. New module for watching videos&lt;/p&gt;&lt;p&gt;3. Improved offline downloads&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>it is the latest version</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>Unable to create a new folder, update failed</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>Updating</translation>
    </message>
    <message>
        <source>close</source>
        <translation>close</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>Update failed</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>Update again</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
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
        <translation>OK</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>do you confirm to delete?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>quit?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>background</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>quit</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>File is adding , please wait for a  moment !</translation>
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
        <translation>All</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>add video</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>The video library could not be saved!</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>could not delete the video</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>Open Video File</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>not video file</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>video already added</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>Video File(%1);;All File(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
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
