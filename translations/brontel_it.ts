<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>inizio   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guida   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>info   </translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>Ultima versione: %1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Modulo</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Indirizzo IP</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Scansiona con VaroVR</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Connessione automatica</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Connesso</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Scollegato</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>Attivo dopo il riavvio!</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>Aggiunta di video</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>Aggiunta del video</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>Elimina i video già visti</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
</context>
<context>
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>non è un file video</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Spazio insufficiente sul disco %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>aggiunta interrotta</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>copia del file non riuscita</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Indice:%1  Nome:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>Impossibile leggere il file %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>Impossibile scrivere il file %1:
%2.
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>Errore di analisi alla riga %1, colonna %2:
%3.
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aggiornamento</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>Nuova versione disponibile</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>Aggiorna</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. Corretti i video che a volte restavano neri o non si caricavano&lt;/p&gt;&lt;p&gt;2. Nuovo modulo per guardare i video&lt;/p&gt;&lt;p&gt;3. Download offline migliorato&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>È già l&apos;ultima versione</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>Impossibile creare la cartella, aggiornamento non riuscito</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>Aggiornamento in corso</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>Aggiornamento non riuscito</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>Riprova</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
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
        <translation>Assistente Varo</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>Confermi l&apos;eliminazione?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>Uscire?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>In background</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Aggiunta di file in corso, attendere un momento!</translation>
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
        <translation>Tutti</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>aggiungi video</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>Impossibile salvare la videoteca!</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>impossibile eliminare il video</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>Apri file video</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>non è un file video</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>video già aggiunto</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>File video(%1);;Tutti i file(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>Modulo</translation>
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
