#pragma once

#include <QWidget>

class VaroHomeUpdateDesc;
struct VersionInfo;

namespace Ui {
class AboutUs;
}

// The About page: the product logo, the maker's paragraph and contact lines,
// the installed version and the "check update" button, which answers with a
// prompt or with the update pop-up.
class AboutUs : public QWidget
{
    Q_OBJECT

public:
    explicit AboutUs(QWidget *parent = nullptr);
    ~AboutUs() override;

    // The update pop-up, made by the first check and kept; null before.
    VaroHomeUpdateDesc *updatePopup() const { return m_updateDesc; }

public slots:
    void slotVersionDetect();

private:
    Ui::AboutUs *ui;
    // The update service's record, kept once it has answered: later checks
    // show it again without asking. Owned by the online-data object.
    VersionInfo *m_version = nullptr;
    QString m_localVersion;
    VaroHomeUpdateDesc *m_updateDesc = nullptr;
    // A check waits for the service in a loop that still takes clicks; one
    // check at a time.
    bool m_checking = false;
};
