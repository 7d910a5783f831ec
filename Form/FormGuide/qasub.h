#pragma once

#include "dataproc/guideitem.h"

#include <QVector>
#include <QWidget>

class QAContent;
class QVBoxLayout;

namespace Ui {
class frmQAsub;
}

// One question card of the guide page: the entry's title above one answer
// row per paragraph. Rows are made on demand and kept for reuse.
class QAsub : public QWidget
{
    Q_OBJECT

public:
    QAsub(bool framed, int width, QWidget *parent);
    ~QAsub() override;

    // The entry the card shows from the next build(): a copy of its title
    // and paragraphs, so the card never depends on how long the guide
    // client keeps its own.
    void setItem(const GuideItem &item);
    void setItem(const QString &title, const QVector<GuideContent> &content);
    // Lays out the whole entry.
    void build();
    // The same in steps, for a page that must not keep the window waiting:
    // beginBuild() shows the title, each buildNextRow() lays out one more
    // answer row and says whether there was one left.
    void beginBuild();
    bool buildNextRow();
    // Forgets the paragraphs and clears every row's picture; the rows stay
    // for reuse.
    void clear();

    QString title() const { return m_title; }
    const QVector<QAContent *> &rows() const { return m_rows; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Ui::frmQAsub *ui;
    QString m_title;
    QVector<GuideContent> m_content;
    QVBoxLayout *m_rowsLayout;
    int m_width;
    bool m_framed;
    QVector<QAContent *> m_rows;
    // The rows of the entry laid out so far.
    int m_builtRows = 0;
};
