#pragma once

#include "dataproc/guideitem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// What of the service's guide the Guide page shows. The maker's guide is a
// handful of questions with a few paragraphs each; a reply under the 4 MiB
// cap can still hold a hundred thousand questions or a text of millions of
// characters, each costing the window time and memory to lay out. So the
// page shows at most:
//  - 200 questions, in the guide's order;
//  - 1,000 answer rows in all;
//  - 2,000 characters of a title and 10,000 of an answer (a longer one ends
//    with "…"): laying out a text of 10,000 characters takes a QLabel tens
//    of milliseconds, and the window must answer within 100 ms;
//  - 400,000 characters of text in all (some 25 bytes of laid-out text each);
//  - a picture address of at most 8,192 characters (no web server takes more).
// Whatever is left out is said once in the log; a guide within the limits
// is shown whole, as it came.
struct ShownGuide
{
    static constexpr int kMaxQuestions = 200;
    static constexpr int kMaxRows = 1000;
    static constexpr int kMaxTitleChars = 2000;
    static constexpr int kMaxAnswerChars = 10000;
    static constexpr int kMaxTextChars = 400000;
    static constexpr int kMaxImageUrlChars = 8192;

    struct Question
    {
        QString title;
        QVector<GuideContent> content;
    };

    // The part of the guide (in display order) that the page shows.
    static ShownGuide of(const QList<GuideItem *> &guide);
    // The text cut to at most maxChars characters, "…" included, never in
    // the middle of a character or of a tag of the service's markup.
    static QString cut(const QString &text, int maxChars);

    QVector<Question> questions;
    int rows = 0;
    // Questions, answer rows or text left out at one of the limits of the
    // whole guide: the guide shown ends before the service's does. A title
    // or an answer cut to its own limit alone ends with "…" and is not such
    // a cut.
    bool endsEarly = false;
    // One line per kind of cut, for the log; empty when the guide is shown
    // whole.
    QStringList cuts;
};
