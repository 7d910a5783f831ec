<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>電話：www.varovr.invalid/contact をご覧ください</translation>
    </message>
    <message>
        <source>web</source>
        <translation>ウェブサイト：www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat：www.varovr.invalid/contact をご覧ください</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>更新を確認</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>現在のバージョン：</translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR は VR ヘッドセットとその専用アプリを開発しています。Varoヘルパーは、PC の動画をホームネットワーク経由で VaroVR ヘッドセットやスマートフォンに届けます。</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>ネットワークエラー</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>最新バージョンです</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>最新バージョン：%1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新する</translation>
    </message>
</context>
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
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>ファイルを追加中です。しばらくお待ちください！</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>最新バージョン：%1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>終了</translation>
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
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>ファイルを追加中です。しばらくお待ちください！</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>再起動後に有効になります！</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>動画を追加中</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>動画を追加中</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>視聴済みの動画は早めに削除してください</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>ファイルを追加中です。しばらくお待ちください！</translation>
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
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>インデックス:%1  名前:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>ファイル %1 を読み込めません：
%2。
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>ファイル %1 に書き込めません：
%2。
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>解析エラー（%1 行目、%2 列目）：
%3。
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>ファイルを追加中です。しばらくお待ちください！</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>ネットワークに接続できません</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>ガイドの残りの部分は省略されています。</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>ガイド全体を開く</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>Orvalin とは？</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin は Varoヘルパーの動画サービスです。PC のライブラリにある動画を、同じネットワーク上の VaroVR アプリや Varo ヘッドセットと共有し、コピーせずにそのまま再生できます。</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>使い方</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>VaroVR アプリで Orvalin を使う</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. PC で Varoヘルパーを起動し、動画を追加します。</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. スマートフォンに VaroVR アプリをインストールします。</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. PC とスマートフォンを接続します。</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. スマートフォンで動画を視聴します。</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Varo ヘッドセットで Orvalin を使う</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. ヘッドセットを起動し、PC に接続します。</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Varo ヘッドセットで動画を視聴します。</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>対応している動画形式は？</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin は主要な動画形式に対応しています。再生できるかどうかは、スマートフォンやヘッドセットのデコード性能によります。</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. MOV と SWF の動画は Orvalin で正しいポスターが表示されませんが、再生には影響しません。</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. 動画名に特殊文字が含まれていると、再生できなかったり、削除されたように見えたりすることがあります。動画名を中国語または英語に変更してください。</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>よくある質問</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>Varoヘルパーが見つからないのはなぜ？</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. PC で Varoヘルパーが起動し、IP アドレスがあること</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. 同じ Wi-Fi に接続していること</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. ネットワーク上のデバイスが多すぎないこと</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. ファイアウォールが Varoヘルパーを妨げていないか確認してください。</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>再生が遅いのはなぜ？</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>ルーターの設定とネットワークの帯域幅によって変わります。</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>アップデート</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>新しいバージョンがあります</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>更新する</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. 動画がときどき黒い画面になる、または読み込めない問題を修正&lt;/p&gt;&lt;p&gt;2. 動画視聴モジュールを追加&lt;/p&gt;&lt;p&gt;3. オフラインダウンロードを改善&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>最新バージョンです</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>フォルダーを作成できないため、更新に失敗しました</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>更新中</translation>
    </message>
    <message>
        <source>close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>更新に失敗しました</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>再試行</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
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
        <translation>Varoヘルパー</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>削除してもよろしいですか？</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>はい</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Varoヘルパー</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>終了しますか？</translation>
    </message>
    <message>
        <source>background</source>
        <translation>バックグラウンド</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>ファイルを追加中です。しばらくお待ちください！</translation>
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
        <translation>すべて</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>動画を追加</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>動画ライブラリを保存できませんでした！</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>動画を削除できませんでした</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>動画ファイルを開く</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>動画ファイルではありません</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>この動画は追加済みです</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>動画ファイル(%1);;すべてのファイル(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
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
