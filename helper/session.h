#pragma once

#include <QByteArray>
#include <QDir>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;
class ToolkitLists;

// One network adapter of this machine, as the adapter list reports it.
struct LanAdapterInfo
{
    QString name;            // the name a user recognises
    int type = 0;            // IANA ifType number
    int index = 0;           // the system's interface index
    QStringList addresses;   // IPv4 addresses, in the system's order
};

// The process-wide service object of the application core: the per-user data
// folder, the application's own files, the shared video folder, translations
// and the style sheet.
class Session : public QObject
{
    Q_OBJECT

public:
    // Made on first use from any thread, and never destroyed before the
    // process ends, so no caller can be left holding a dangling pointer.
    static Session *instance();

    // The per-user data folder, created when missing; empty when it can be
    // neither found nor made.
    QString getAppDataPath() const;

    QDir getAppDir() const;
    QString getAppFilePath(const QString &name) const;
    QString getQssDir() const;

    // Creates the shared video folder and in it the listing file (the name
    // and the bytes of an empty library's listing, which the library's own
    // code knows) when they are missing; an existing listing is left as it
    // is.
    void ensureSharedFolder(const QString &listFileName, const QByteArray &emptyListing) const;

    // The translation file of an interface language code ("cn", "us", "jp",
    // "fr", "it", "de", "es"); empty for any other code.
    static QString translationFileName(const QString &code);
    // The file of Qt's own translation for the same code ("qtbase_zh_CN.qm"
    // for "cn"); empty for any other code.
    static QString qtTranslationFileName(const QString &code);

    // Replaces the installed translation by the one of the code, with Qt's
    // own translation for its dialogs beside it. Returns false, with the
    // program's texts left untranslated, when the code has no translation or
    // its file cannot be loaded.
    bool loadTranslator(const QString &code);
    // Removes and deletes the installed translations, at shut-down.
    void releaseTranslator();

    // Appends the named file of the "qss" folder to the application's style
    // sheet; a missing file changes nothing.
    void loadStyleSheet(const QString &fileName) const;

    // Chooses where the shared video folder goes on a first start: the place
    // with the most space available to the user. The text passed in is only
    // replaced.
    void CheckDirAvailable(QString &dir) const;

    // The toolkit's download and unzip lists ("Config/UUConfig.xml" beside
    // the executable), read afresh on every call through the lists that the
    // program installs; until then no URL has an entry.
    void setToolkitLists(std::unique_ptr<ToolkitLists> lists);
    // How far the download of the URL has come, in whole percent (0 for an
    // entry of size 0); -1 for an empty URL or one without an entry.
    int getDownloadProgress(const QString &url) const;
    // Whether the URL is in the unzip list; false for an empty URL.
    bool isInUnzipList(const QString &url) const;

    // nginx serves the shared video folder to the headset beside the embedded
    // server, from a prefix folder "nginx" in the data folder. Each operation
    // logs why it failed and says whether it succeeded; the start-up sequence
    // goes on either way.
    //
    // Writes "nginx.conf" for the stored port and shared folder into the data
    // folder and copies it into the prefix. A shared folder whose name nginx
    // cannot take safely is refused and nothing is written.
    bool writeNginxConf();
    // Writes the start and the stop script into the data folder.
    bool writeStartNginxBat();
    // Writes the configuration and the scripts again where they are missing
    // or differ from what the stored settings call for; a file that is
    // already right is left untouched.
    bool refreshNginxFiles();
    // Runs the start script and waits (bounded) until nginx has written its
    // pid file, so that a stop right after a start finds what to stop.
    bool StartNginx();
    // Stops the nginx of the prefix, if its pid file names it, and ends the
    // nginx processes of this user still listening on the stored port (the
    // workers of a master that was killed); then waits (bounded) until the
    // stored port has no listener, so that a port search right afterwards
    // finds that port free. A pid file naming anything else is removed and
    // the process left alone. True when no nginx of ours runs afterwards.
    bool StopNginx();
    // The same nginx processes, for a program that must end now: asked to
    // end and ended by force after graceMs, with no script and no wait for
    // the port. Touches no window; may run on any thread.
    void stopNginxAtOnce(int graceMs);

    // The prefix folder nginx runs from; empty without a data folder.
    QString nginxPrefix() const;
    // The text of "nginx.conf": nginx on the port, serving the shared folder.
    // A worker account is named when nginx is started with administrator
    // rights (see writeNginxConf); leave it empty otherwise.
    static QByteArray nginxConfText(int port, const QString &sharedDir,
                                    const QString &workerUser = QString(),
                                    const QString &workerGroup = QString());
    // Why nginx cannot be given the folder as its root; empty when it can.
    static QString nginxRootProblem(const QString &sharedDir);
    // Network adapters (session_network.cpp).
    // The MAC stored on first use: that of the adapter holding the local
    // IPv4 address, else of the first adapter that has one;
    // "05-02-03-04-05-06" when no adapter has a usable hardware address.
    QString getNginxMAC() const;
    // One line "Index:N  Name:NAME " per adapter.
    QStringList GetLanAdapterName() const;
    QList<LanAdapterInfo> getLanAdapters() const;
    // Asks the system to switch the named interface on or off; the user is
    // asked to authorise it. Returns at once; the outcome is logged.
    void setNetEnabled(const QString &name, bool enable);
    // Whether any network is up (an interface other than loopback, up and
    // running, with an IPv4 address).
    bool isOnline() const;

private:
    Session();
    ~Session() override;

    QTranslator *m_translator = nullptr;
    std::unique_ptr<ToolkitLists> m_toolkitLists;
    QTranslator *m_qtTranslator = nullptr;
};
