#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh user for one test: HOME, XDG_DATA_HOME and XDG_CONFIG_HOME point into
// a temporary folder that is removed afterwards, so nothing a test does reaches
// the real user's files. Make one per test function (or in init()).
class TestUser
{
public:
    TestUser();
    ~TestUser();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString home() const;
    // The program's per-user data folder for this user (not created here).
    QString dataFolder() const;
    // A shared video folder inside the temporary tree.
    QString sharedFolder() const;
    // Leaves "Dir.ini" as an earlier installation does, naming its shared
    // folder: a first start then takes that folder instead of choosing one.
    // False when the file cannot be written.
    bool rememberSharedFolder(const QString &folder) const;
    // Makes sharedFolder() and remembers it as above, so that a first start
    // stays inside the test's tree. False when either step fails.
    bool useEarlierSharedFolder() const;
    // Leaves "Brontel.ini" as after the first start, with the shared folder
    // above and the interface language (none: the program's default), so
    // that the program starts without choosing a folder. False when the
    // file cannot be written.
    bool writeStartedSettings(const QByteArray &language = QByteArray()) const;

    // Environment for a child process running as this user.
    QStringList environment() const;

    // Reads a key of an INI file the way the program stores it.
    static QVariant iniValue(const QString &file, const QString &key);

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
    QByteArray m_oldConfigHome;
};

// True when the suite runs inside a private network namespace of its own (made
// by the test command, a benchmark or netns-run), the only place where a test
// may let the program send beyond loopback (it announces itself by broadcast
// on every network).
bool insidePrivateNetwork();

// The hardware address of vh0, which holds 10.77.0.1 in that namespace, as
// the system gives it (upper case, ":" between the pairs); empty where there
// is no vh0.
QString privateNetworkMac();

#define SKIP_UNLESS_PRIVATE_NETWORK()                                                     \
    do {                                                                                  \
        if (!insidePrivateNetwork())                                                      \
            QSKIP("needs the private network namespace that the test command makes: the " \
                  "program broadcasts on every network");                               \
    } while (false)

// Reads a whole file; empty when it cannot be read.
QByteArray readWholeFile(const QString &path);
// Writes a whole file, creating its folder; false on failure.
bool writeWholeFile(const QString &path, const QByteArray &content);

// Bytes from a fixed pseudo-random sequence: the same seed gives the same
// bytes, and no container or image format will take them.
QByteArray randomBytes(int size, quint32 seed);
