#pragma once

#include <QDialog>

class InstallerDownload;

namespace Ui {
class VaroHomeUpdateDesc;
}

// The pop-up that offers a newer PC build: the caller fills its labels from
// the PC version record and runs it with exec(). "Update" has the installer
// downloaded into the data folder's "update" folder and started
// (InstallerDownload, which does the work), and ends the program; a download
// that stalls for 10 seconds, is refused or arrives incomplete turns the
// pop-up into its failed state, from which the user can try again. A forced
// update cannot be dismissed: closing it ends the program.
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
    // The download has ended: the installer runs (the program makes way
    // for it), or the pop-up shows that it failed.
    void UpdateFinished();
    void updateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    // The download's 10-second stall check found new bytes.
    void timeOut();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isForcedUpdate() const;
    bool isDownloading() const;
    void endProgram();
    void showProgress();

    Ui::VaroHomeUpdateDesc *m_ui;
    // The running or last installer download, in place of a network
    // manager and its reply.
    InstallerDownload *m_download;
    qint64 f_DownloadedSize = 0;
    qint64 f_bytesReadNow = 0;
    qint64 m_total = 0;
};
