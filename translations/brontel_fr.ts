<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>BrontelClass</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>home   </source>
        <translation>accueil   </translation>
    </message>
    <message>
        <source>guide   </source>
        <translation>guide   </translation>
    </message>
    <message>
        <source>about   </source>
        <translation>à propos   </translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Ajout de fichiers en cours, veuillez patienter un instant !</translation>
    </message>
    <message>
        <source>Latest version: %1</source>
        <translation>Dernière version : %1</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Adresse IP</translation>
    </message>
    <message>
        <source>Scan in VaroVR APP</source>
        <translation>Scannez avec VaroVR</translation>
    </message>
    <message>
        <source>Connect automatically</source>
        <translation>Connexion automatique</translation>
    </message>
    <message>
        <source>already connect</source>
        <translation>Connecté</translation>
    </message>
    <message>
        <source>do not connect</source>
        <translation>Déconnecté</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Ajout de fichiers en cours, veuillez patienter un instant !</translation>
    </message>
    <message>
        <source>Effect after reboot!</source>
        <translation>Prend effet après le redémarrage !</translation>
    </message>
</context>
<context>
    <name>ParseProcess</name>
    <message>
        <source>ParseProcess</source>
        <translation>Ajout de vidéos</translation>
    </message>
    <message>
        <source>Adding video</source>
        <translation>Ajout de la vidéo</translation>
    </message>
    <message>
        <source>Promptly delete videos if you&apos;ve already watched</source>
        <translation>Supprimez les vidéos déjà regardées</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Ajout de fichiers en cours, veuillez patienter un instant !</translation>
    </message>
</context>
<context>
    <name>Runner</name>
    <message>
        <source>not video file</source>
        <translation>ce n&apos;est pas un fichier vidéo</translation>
    </message>
    <message>
        <source>Insufficient %1 drive space !</source>
        <translation>Espace insuffisant sur le disque %1 !</translation>
    </message>
    <message>
        <source>adding was interrupted</source>
        <translation>l&apos;ajout a été interrompu</translation>
    </message>
    <message>
        <source>file copy failed</source>
        <translation>échec de la copie du fichier</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Index:%1  Name:%2 </source>
        <translation>Index:%1  Nom:%2 </translation>
    </message>
</context>
<context>
    <name>UUConfigFile</name>
    <message>
        <source>Cannot read file %1:
%2.
%3</source>
        <translation>Impossible de lire le fichier %1 :
%2.
%3</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.
%3</source>
        <translation>Impossible d&apos;écrire le fichier %1 :
%2.
%3</translation>
    </message>
    <message>
        <source>Parse error at line %1, column %2:
%3.
%4</source>
        <translation>Erreur d&apos;analyse à la ligne %1, colonne %2 :
%3.
%4</translation>
    </message>
</context>
<context>
    <name>UUSystemTrayIcon</name>
    <message>
        <source>quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Ajout de fichiers en cours, veuillez patienter un instant !</translation>
    </message>
</context>
<context>
    <name>VaroHomeUpdateDesc</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mise à jour</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>Nouvelle version disponible</translation>
    </message>
    <message>
        <source>updeta</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1、修复视频偶尔黑屏或无法加载的问题&lt;/p&gt;&lt;p&gt;2、新增看视频模块&lt;/p&gt;&lt;p&gt;3、优化离线下载模块&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;1. Correction des vidéos parfois noires ou impossibles à charger&lt;/p&gt;&lt;p&gt;2. Nouveau module de visionnage de vidéos&lt;/p&gt;&lt;p&gt;3. Téléchargement hors ligne amélioré&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Vous avez la dernière version</translation>
    </message>
    <message>
        <source>Unable to create a new folder, update failed</source>
        <translation>Impossible de créer le dossier, échec de la mise à jour</translation>
    </message>
    <message>
        <source>Updating</source>
        <translation>Mise à jour en cours</translation>
    </message>
    <message>
        <source>close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Update failed</source>
        <translation>Échec de la mise à jour</translation>
    </message>
    <message>
        <source>Update again</source>
        <translation>Réessayer</translation>
    </message>
</context>
<context>
    <name>dlgPrompt</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
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
        <translation>Assistant Varo</translation>
    </message>
</context>
<context>
    <name>frmConfirmDelete</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>do you confirm to delete?</source>
        <translation>Confirmer la suppression ?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>frmExit</name>
    <message>
        <source>Varo helper</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>quit?</source>
        <translation>Quitter ?</translation>
    </message>
    <message>
        <source>background</source>
        <translation>Arrière-plan</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>File is adding , please wait for a  moment !</source>
        <translation>Ajout de fichiers en cours, veuillez patienter un instant !</translation>
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
        <translation>Tout</translation>
    </message>
    <message>
        <source>add video</source>
        <translation>ajouter une vidéo</translation>
    </message>
    <message>
        <source>The video library could not be saved!</source>
        <translation>La vidéothèque n&apos;a pas pu être enregistrée !</translation>
    </message>
    <message>
        <source>could not delete the video</source>
        <translation>impossible de supprimer la vidéo</translation>
    </message>
    <message>
        <source>Open Video File</source>
        <translation>Ouvrir un fichier vidéo</translation>
    </message>
    <message>
        <source>not video file</source>
        <translation>ce n&apos;est pas un fichier vidéo</translation>
    </message>
    <message>
        <source>already add the video</source>
        <translation>vidéo déjà ajoutée</translation>
    </message>
    <message>
        <source>Video File(%1);;All File(*.*)</source>
        <translation>Fichiers vidéo(%1);;Tous les fichiers(*.*)</translation>
    </message>
</context>
<context>
    <name>frmHomeSub</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
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
