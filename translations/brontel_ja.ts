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
