#pragma once

#include <QDialog>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace Ui {
class VaroHomeUpdateDesc;
}

// The pop-up that offers a newer PC build: the caller fills its labels from
// the PC version record and runs it with exec(). "Update" downloads the
// installer into the data folder's "update" folder, starts it and ends the
// program; a download that stalls for 10 seconds, is refused or arrives
// incomplete turns the pop-up into its failed state, from which the user can
// try again. A forced update cannot be dismissed: closing it ends the program.
class VaroHomeUpdateDesc : public QDialog
{
    Q_OBJECT

public:
    explicit VaroHomeUpdateDesc(QWidget *parent = nullptr);
    ~VaroHomeUpdateDesc() override;

    // The form, for the caller to set texts and visibility before exec().
    // The title and the release notes show plain text: they are the service's
    // words, never markup.
    Ui::VaroHomeUpdateDesc *getUi() const { return m_ui; }

    // The release notes as the pop-up shows them: the service writes a line
    // break as the two characters backslash and "n"; every line is ended by a
    // real one.
    static QString releaseNotesText(const QString &notes);

    // Puts the pop-up in its offer state for the caller's texts: the title,
    // the release notes, "Update" and the dismiss button; the download
    // progress stays hidden until "Update" is pressed.
    void showOffer(const QString &title, const QString &notes, const QString &dismissText);

    void startDownload(QString folder);
    void showDownloadFailed();

public slots:
    // Starts with the progress bar hidden and empty and "Update" enabled,
    // whatever an earlier run left; the texts and the buttons shown are the
    // caller's, through showOffer().
    int exec() override;
    // Cancels a running download and closes; a forced update ends the
    // program instead.
    void reject() override;

    void slotBNClose_Clicked();
    void slotBNUpdate_Clicked();
    void UpdateFinished(QNetworkReply *reply);
    void httpReadyRead();
    void updateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void timeOut();

private slots:
    // The download's head: a length that cannot be proven, or an installer
    // larger than there is room for, is refused before a byte is written.
    void checkHead();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QNetworkAccessManager *manager();
    bool isForcedUpdate() const;
    // Whether the running download answers with the file (not an error page
    // or a redirect); true before its status is known.
    bool isInstallerReply() const;
    void cancelTransfer();
    void endProgram();
    void showProgress();

    Ui::VaroHomeUpdateDesc *m_ui;
    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    QFile *m_file = nullptr;
    qint64 f_DownloadedSize = 0;
    qint64 f_bytesReadNow = 0;
    QTimer *m_timer;
    qint64 m_total = 0;
    // The most the running download may write (free space less a margin,
    // and never beyond the largest installer taken).
    qint64 m_room = 0;
};
