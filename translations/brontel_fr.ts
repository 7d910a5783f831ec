<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutUs</name>
    <message>
        <source>Brontel</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>telephone</source>
        <translation>Téléphone : voir www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Site web : www.varovr.invalid</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>WeChat : voir www.varovr.invalid/contact</translation>
    </message>
    <message>
        <source>check update</source>
        <translation>Vérifier la version</translation>
    </message>
    <message>
        <source>Current version:</source>
        <translation>Version actuelle : </translation>
    </message>
    <message>
        <source>company</source>
        <translation>VaroVR conçoit des casques de réalité virtuelle et les applications qui les accompagnent. L&apos;Assistant Varo diffuse les vidéos de votre PC vers votre casque VaroVR et votre téléphone par votre réseau domestique.</translation>
    </message>
    <message>
        <source>net error</source>
        <translation>Erreur réseau</translation>
    </message>
    <message>
        <source>it is the latest version</source>
        <translation>Vous avez la dernière version</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>latest version: %1</source>
        <translation>Dernière version : %1</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
    </message>
</context>
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
    <name>UserGuide</name>
    <message>
        <source>Brontel</source>
        <translation>Assistant Varo</translation>
    </message>
    <message>
        <source>no net</source>
        <translation>Pas de connexion réseau</translation>
    </message>
    <message>
        <source>The rest of the guide is left out.</source>
        <translation>La suite du guide n&apos;est pas affichée.</translation>
    </message>
    <message>
        <source>Open the whole guide</source>
        <translation>Ouvrir le guide complet</translation>
    </message>
</context>
<context>
    <name>UserGuideFirst</name>
    <message>
        <source>What is Orvalin?</source>
        <translation>Qu&apos;est-ce qu&apos;Orvalin ?</translation>
    </message>
    <message>
        <source>Orvalin is the video service of Varo helper: it shares the videos in your PC&apos;s library with the VaroVR app and with Varo headsets on the same network, so they play there without being copied.</source>
        <translation>Orvalin est le service vidéo de l&apos;Assistant Varo : il partage les vidéos de la bibliothèque de votre PC avec l&apos;application VaroVR et les casques Varo du même réseau, qui les lisent sans les copier.</translation>
    </message>
</context>
<context>
    <name>UserGuideSecond</name>
    <message>
        <source>How to use?</source>
        <translation>Mode d&apos;emploi</translation>
    </message>
    <message>
        <source>how to use orvalin on VaroVR app </source>
        <translation>Utiliser Orvalin dans l&apos;application VaroVR</translation>
    </message>
    <message>
        <source>1.start varo orvalin helper on PC,add video;</source>
        <translation>1. Lancez l&apos;Assistant Varo sur le PC et ajoutez des vidéos ;</translation>
    </message>
    <message>
        <source>2.Phone install VaroVR APP;</source>
        <translation>2. Installez l&apos;application VaroVR sur le téléphone ;</translation>
    </message>
    <message>
        <source>3.connect PC and Phone</source>
        <translation>3. Connectez le téléphone au PC ;</translation>
    </message>
    <message>
        <source>4.watch video on Phone</source>
        <translation>4. Regardez les vidéos sur le téléphone.</translation>
    </message>
    <message>
        <source>how to use orvalin on varo device</source>
        <translation>Utiliser Orvalin sur un casque Varo</translation>
    </message>
    <message>
        <source>2.start device,connect to PC;</source>
        <translation>2. Allumez le casque et connectez-le au PC ;</translation>
    </message>
    <message>
        <source>3.watch video on varo device</source>
        <translation>3. Regardez les vidéos sur le casque Varo.</translation>
    </message>
    <message>
        <source>What video formats does it support?</source>
        <translation>Quels formats vidéo sont pris en charge ?</translation>
    </message>
    <message>
        <source>1.Orvalin supports the mainstream video formats; whether a video plays depends on the decoding ability of your phone or headset.</source>
        <translation>1. Orvalin prend en charge les formats vidéo courants ; la lecture dépend des capacités de décodage de votre téléphone ou de votre casque.</translation>
    </message>
    <message>
        <source>2.MOV and SWF videos show no correct poster in Orvalin; they still play.</source>
        <translation>2. Les vidéos MOV et SWF n&apos;ont pas d&apos;affiche correcte dans Orvalin ; elles se lisent quand même.</translation>
    </message>
    <message>
        <source>3.Some video names contain special characters that may cause the video can not play or the video has been deleted. Please modify the video name in Chinese or English.</source>
        <translation>3. Une vidéo dont le nom contient des caractères spéciaux peut ne pas se lire ou sembler supprimée. Renommez-la en chinois ou en anglais.</translation>
    </message>
</context>
<context>
    <name>UserGuideThird</name>
    <message>
        <source>Common problem </source>
        <translation>Problèmes fréquents</translation>
    </message>
    <message>
        <source>why can not find orvalin helper? </source>
        <translation>Pourquoi l&apos;Assistant Varo est-il introuvable ?</translation>
    </message>
    <message>
        <source>1.start orvalin helper on PC and has IP</source>
        <translation>1. L&apos;Assistant Varo tourne sur le PC, qui a une adresse IP ;</translation>
    </message>
    <message>
        <source>2.in the same WIFI</source>
        <translation>2. Le PC et l&apos;appareil sont sur le même réseau Wi-Fi ;</translation>
    </message>
    <message>
        <source>3.to much device</source>
        <translation>3. Trop d&apos;appareils sont connectés au réseau ;</translation>
    </message>
    <message>
        <source>4.checkout firewall</source>
        <translation>4. Vérifiez que le pare-feu laisse passer l&apos;Assistant Varo.</translation>
    </message>
    <message>
        <source>why slow?</source>
        <translation>Pourquoi la lecture est-elle lente ?</translation>
    </message>
    <message>
        <source>depends on the configuration of the router and network bandwidth</source>
        <translation>La vitesse dépend de la configuration du routeur et de la bande passante du réseau.</translation>
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
