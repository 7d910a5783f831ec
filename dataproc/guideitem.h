#pragma once

#include <QString>
#include <QVector>

// One paragraph of a guide entry: its text and the URL of its picture.
struct GuideContent
{
    QString desc;
    QString image;
};

// One entry of the novice guide: a question, its answer paragraphs in the
// service's order, and its place in the guide. Plain records: the guide
// client owns every entry and every paragraph and deletes them itself, so a
// reader may copy an entry's fields and pointers freely.
struct GuideItem
{
    QString title;
    QVector<GuideContent *> content;
    int sort = 0;
};
