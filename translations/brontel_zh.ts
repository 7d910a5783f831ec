<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>电话：请见 www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>网站：www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>微信：请见 www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>当前版本：</translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR 专注于虚拟现实头显及其配套应用。Varo助手通过家庭网络，把电脑上的视频送到您的 VaroVR 头显和手机上。</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>已是最新版本</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>最新版本：%1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>立即更新</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Varo助手</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>网络连接异常</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>指南的其余部分未显示。</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>查看完整指南</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>什么是 Orvalin？</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin 是Varo助手的视频服务：它把电脑视频库中的视频分享给同一网络中的 VaroVR 应用和 Varo 头显，无需复制即可在那里播放。</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>如何使用？</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>在 VaroVR 应用中使用 Orvalin</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. 在电脑上启动Varo助手，添加视频；</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. 在手机上安装 VaroVR 应用；</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. 连接电脑和手机；</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. 在手机上观看视频。</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>在 Varo 头显上使用 Orvalin</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. 启动头显，连接到电脑；</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. 在 Varo 头显上观看视频。</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>支持哪些视频格式？</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin 支持主流视频格式；视频能否播放取决于手机或头显的解码能力。</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. MOV 和 SWF 视频在 Orvalin 中无法显示正确的海报，但不影响播放。</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. 部分视频名称含有特殊字符，可能导致视频无法播放或显示为已删除。请将视频名称改为中文或英文。</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>常见问题</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>为什么找不到Varo助手？</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. 电脑上已启动Varo助手，并已获得 IP 地址；</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. 设备与电脑连接在同一个 WiFi 下；</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. 同一网络中的设备过多；</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. 请检查防火墙是否拦截了Varo助手。</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>为什么播放很慢？</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>播放速度取决于路由器的配置和网络带宽。</translation>
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
