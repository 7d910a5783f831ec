#pragma once

#include <QDir>
#include <QObject>
#include <QString>
#include <QStringList>

class QTranslator;

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

    // Creates the shared video folder and an empty "list.json" in it when
    // they are missing; an existing listing is left as it is.
    void ensureSharedFolder() const;

    // The translation file of an interface language code ("cn", "us", "jp",
    // "fr", "it", "de", "es"); empty for any other code.
    static QString translationFileName(const QString &code);

    // Replaces the installed translation by the one of the code. Returns false,
    // with the texts left untranslated, when the code has no translation or its
    // file cannot be loaded.
    bool loadTranslator(const QString &code);
    // Removes and deletes the installed translation, at shut-down.
    void releaseTranslator();

    // Appends the named file of the "qss" folder to the application's style
    // sheet; a missing file changes nothing.
    void loadStyleSheet(const QString &fileName) const;

    // Chooses where the shared video folder goes on a first start: the place
    // with the most space available to the user. The text passed in is only
    // replaced.
    void CheckDirAvailable(QString &dir) const;

    // Network adapters (session_network.cpp).
    // The MAC announced with nginx's port; "05-02-03-04-05-06" when no
    // adapter has a usable hardware address.
    QString getNginxMAC() const;
    // One line "Index:N  Name:NAME " per adapter.
    QStringList GetLanAdapterName() const;
    QList<LanAdapterInfo> getLanAdapters() const;
    // Asks the system to switch the named interface on or off; the user is
    // asked to authorise it. Returns at once; the outcome is logged.
    void setNetEnabled(const QString &name, bool enable);

private:
    Session() = default;
    ~Session() override;

    QTranslator *m_translator = nullptr;
};
