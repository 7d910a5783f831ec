#pragma once

#include <QVector>
#include <QWidget>

class QAsub;
class QLabel;
class QPushButton;

namespace Ui {
class UserGuide;
}

// The Guide page: the maker's novice guide as a column of question cards in
// a scroll area. It is built on the first visit that finds a guide and then
// kept; without a guide it shows "no net" and a retry button.
class UserGuide : public QWidget
{
    Q_OBJECT

public:
    explicit UserGuide(QWidget *parent = nullptr);
    ~UserGuide() override;

    void hideAllItems();
    bool isBuilt() const { return m_built; }
    void refresh();

    const QVector<QAsub *> &cards() const { return m_cards; }

public slots:
    void sltUpdateNetwork();

private:
    Ui::UserGuide *ui;
    // Every card made so far, in display order; cards of a shorter guide
    // are hidden, not deleted.
    QVector<QAsub *> m_cards;
    QPushButton *m_retry;
    QLabel *m_noNet;
    bool m_built = false;
    // Fetching the guide waits in a loop that still takes clicks: one build
    // at a time.
    bool m_updating = false;
};
