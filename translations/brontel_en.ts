<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>Telephone: see www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Website: www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat: see www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>Current version: </translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR makes virtual reality headsets and the apps that go with them. Varo helper brings the videos on your PC to your VaroVR headset and your phone over your home network.</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>You have the latest version</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>quit</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>Latest version: %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Varo helper</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>No network connection</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>The rest of the guide is left out.</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>Open the whole guide</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>What is Orvalin?</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>How to use Orvalin</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>Using Orvalin in the VaroVR app</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. Start Varo helper on the PC and add videos;</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. Install the VaroVR app on the phone;</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. Connect the phone to the PC;</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. Watch the videos on the phone.</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Using Orvalin on a Varo headset</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. Start the headset and connect it to the PC;</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Watch the videos on the headset.</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>Which video formats are supported?</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. MOV and SWF videos show no correct poster in Orvalin; they still play.</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. A video whose name contains special characters may not play, or may seem to have been deleted. Please rename it in Chinese or English.</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>Common problems</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>Why can&apos;t the headset find Varo helper?</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. Varo helper runs on the PC, and the PC has an IP address;</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. The PC and the device are on the same Wi-Fi network;</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. Too many devices are on the network;</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. Check that the firewall lets Varo helper through.</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>Why is playback slow?</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>Playback speed depends on the configuration of the router and on the network bandwidth.</translation>
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
