<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>Telefono: vedi www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Sito web: www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat: vedi www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>Cerca aggiornamenti</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>Versione attuale: </translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR realizza visori per la realtà virtuale e le app che li accompagnano. L&apos;Assistente Varo porta i video del tuo PC sul visore VaroVR e sul telefono attraverso la rete di casa.</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>Errore di rete</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>È già l&apos;ultima versione</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>Ultima versione: %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aggiorna</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Assistente Varo</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>Nessuna connessione di rete</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>Il resto della guida non è mostrato.</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>Apri la guida completa</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>Che cos&apos;è Orvalin?</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin è il servizio video dell&apos;Assistente Varo: condivide i video della libreria del PC con l&apos;app VaroVR e con i visori Varo della stessa rete, che li riproducono senza copiarli.</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>Come si usa</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>Usare Orvalin nell&apos;app VaroVR</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. Avvia l&apos;Assistente Varo sul PC e aggiungi i video;</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. Installa l&apos;app VaroVR sul telefono;</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. Collega il telefono al PC;</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. Guarda i video sul telefono.</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Usare Orvalin su un visore Varo</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. Accendi il visore e collegalo al PC;</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Guarda i video sul visore Varo.</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>Quali formati video sono supportati?</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin supporta i formati video più diffusi; la riproduzione dipende dalla capacità di decodifica del telefono o del visore.</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. I video MOV e SWF non mostrano la locandina corretta in Orvalin; la riproduzione non ne risente.</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. Un video il cui nome contiene caratteri speciali potrebbe non essere riprodotto o risultare eliminato. Rinomina il video in cinese o in inglese.</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>Problemi comuni</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>Perché l&apos;Assistente Varo non viene trovato?</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. L&apos;Assistente Varo è avviato sul PC, che ha un indirizzo IP;</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. Il PC e il dispositivo sono sulla stessa rete Wi-Fi;</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. Troppi dispositivi sono collegati alla rete;</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. Controlla che il firewall non blocchi l&apos;Assistente Varo.</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>Perché la riproduzione è lenta?</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>Dipende dalla configurazione del router e dalla larghezza di banda della rete.</translation>
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
