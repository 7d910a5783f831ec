#pragma once

#include "Form/FormGuide/shownguide.h"

#include <QElapsedTimer>
#include <QVector>
#include <QWidget>

class QAsub;
class QLabel;
class QPushButton;
class QTimer;

namespace Ui {
class UserGuide;
}

// The Guide page: the maker's novice guide as a column of question cards in
// a scroll area. It is built on the first visit that finds a guide and then
// kept; without a guide it shows "no net" and a retry button. What it shows
// of a guide is bounded (ShownGuide), and the cards are laid out a slice at
// a time from the event loop, so that the window keeps answering while a
// large guide is built; a guide of a handful of entries is laid out at once.
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
    // Every card of the guide found has been laid out.
    bool isLaidOut() const { return !m_laying; }

public slots:
    void sltUpdateNetwork();

private slots:
    void layOutSlice();

private:
    // Takes card i for question i of the guide shown (made on first use) and
    // starts it.
    QAsub *startCard(int i);

    Ui::UserGuide *ui;
    // Every card made so far, in display order; cards of a shorter guide
    // are hidden, not deleted.
    QVector<QAsub *> m_cards;
    QPushButton *m_retry;
    QLabel *m_noNet;
    // Says the rest of the guide is left out, with a link to the whole
    // guide's page when the service named one; shown once the last card of
    // such a guide is laid out.
    QLabel *m_cutNote;
    bool m_built = false;
    // Fetching the guide waits in a loop that still takes clicks: one build
    // at a time.
    bool m_updating = false;

    // The guide being laid out, and how far: the next question to start and
    // the card whose rows are being laid out.
    ShownGuide m_shown;
    int m_nextQuestion = 0;
    QAsub *m_card = nullptr;
    bool m_laying = false;
    QTimer *m_sliceTimer;
    QElapsedTimer m_layoutClock;
};
