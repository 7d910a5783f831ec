#pragma once

#include <QObject>
#include <QString>

class QFile;
class QTimer;

namespace online {
class WebRequest;
}

// The installer of a newer PC build: fetched into the per-user "update"
// folder, proven whole and started. The update pop-up shows it; the work is
// all here.
//
// Only a reply that proves its own end is taken: status 200 from the address
// given (a redirect is not followed, so nothing fetched elsewhere is ever
// run), one plain Content-Length and no transfer or content coding. Its
// length must fit the largest installer the program takes and the room the
// volume has (less a margin for the settings and logs); every write is
// checked as the bytes arrive. A download that receives nothing between two
// checks 10 s apart has stalled. Whatever way it fails, nothing of it is left
// in the folder to be taken for the installer.
class InstallerDownload : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Downloading,
        Failed,
        InstallerStarted,
    };
    Q_ENUM(State)

    // A download that receives nothing between two checks has stalled.
    static constexpr int kStallCheckMs = 10000;

    explicit InstallerDownload(QObject *parent = nullptr);
    ~InstallerDownload() override;

    // Readies the folder: every file directly in it goes (subfolders and
    // their contents stay), or it is made (one level). False when it can be
    // neither, or is no folder of its own (a link).
    static bool prepareFolder(const QString &folder);

    // Starts fetching the version's installer from the URL into the folder.
    // False, and Failed at once without finished(), when the version text
    // could lead out of the folder, the URL is no web address or the file
    // cannot be written.
    bool start(const QString &folder, const QString &version, const QString &url);
    // Gives a running download up, leaving nothing of it behind: Idle.
    void cancel();

    State state() const { return m_state; }
    qint64 bytesReceived() const { return m_received; }
    // The installer's announced length; 0 until its head has come.
    qint64 total() const { return m_total; }
    // Bytes received at the last stall check.
    qint64 bytesAtLastCheck() const { return m_atLastCheck; }
    QString fileName() const { return m_fileName; }

signals:
    // Sent from the event loop as bytes are written.
    void progress(qint64 received, qint64 total);
    // Each 10-second check that found new bytes.
    void stallChecked(qint64 received);
    // Failed, or the installer started.
    void finished();

private:
    bool checkHead(const online::WebRequest &request);
    bool write(const char *data, qint64 size);
    void checkStall();
    void transferEnded();
    void fail(const QString &why);
    void discard();

    State m_state = State::Idle;
    online::WebRequest *m_request = nullptr;
    QFile *m_file = nullptr;
    QString m_fileName;
    QTimer *m_stallTimer;
    qint64 m_received = 0;
    qint64 m_atLastCheck = 0;
    qint64 m_total = 0;
    // The most this download may write: free space less a margin, and
    // never beyond the largest installer taken.
    qint64 m_room = 0;
};
