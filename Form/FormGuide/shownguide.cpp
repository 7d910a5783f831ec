#include "Form/FormGuide/shownguide.h"

namespace {

const QChar kEllipsis(0x2026);
// The longest character reference of the markup, "&#x10FFFF;".
const int kLongestReference = 10;

struct Budget
{
    int textLeft = ShownGuide::kMaxTextChars;
    bool textCut = false;
};

// The text as shown, cut to its own limit and then to what the guide's
// text budget has left; counts a cut to its own limit.
QString taken(const QString &text, int ownLimit, Budget *budget, int *cutCount)
{
    QString shown = text;
    if (shown.size() > ownLimit) {
        shown = ShownGuide::cut(shown, ownLimit);
        ++*cutCount;
    }
    if (shown.size() > budget->textLeft) {
        shown = ShownGuide::cut(shown, budget->textLeft);
        budget->textCut = true;
    }
    budget->textLeft -= shown.size();
    return shown;
}

} // namespace

QString ShownGuide::cut(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    if (maxChars <= 1)
        return QString();
    QString kept = text.left(maxChars - 1);
    if (kept.at(kept.size() - 1).isHighSurrogate())
        kept.chop(1);
    // A tag or a character reference cut in two would show as words.
    const int lt = kept.lastIndexOf(QLatin1Char('<'));
    if (lt >= 0 && lt > kept.lastIndexOf(QLatin1Char('>')))
        kept.truncate(lt);
    const int amp = kept.lastIndexOf(QLatin1Char('&'));
    if (amp >= 0 && amp > kept.size() - kLongestReference && kept.indexOf(QLatin1Char(';'), amp) < 0)
        kept.truncate(amp);
    return kept + kEllipsis;
}

ShownGuide ShownGuide::of(const QList<GuideItem *> &guide)
{
    ShownGuide shown;
    Budget budget;
    int titlesCut = 0;
    int answersCut = 0;
    int rowsLeftOut = 0;
    int addressesLeftOut = 0;
    // Once a limit of the whole guide is reached, the guide ends there.
    bool full = false;
    int next = 0;
    for (; next < guide.size() && !full && shown.questions.size() < kMaxQuestions; ++next) {
        const GuideItem *item = guide[next];
        if (!item)
            continue;
        Question question;
        question.title = taken(item->title, kMaxTitleChars, &budget, &titlesCut);
        const int paragraphs = item->content.size();
        for (int i = 0; i < paragraphs; ++i) {
            if (budget.textLeft <= 0 || shown.rows >= kMaxRows) {
                rowsLeftOut += paragraphs - i;
                full = true;
                break;
            }
            const GuideContent *paragraph = item->content[i];
            GuideContent row;
            if (paragraph) {
                row.desc = taken(paragraph->desc, kMaxAnswerChars, &budget, &answersCut);
                if (paragraph->image.size() <= kMaxImageUrlChars)
                    row.image = paragraph->image;
                else
                    ++addressesLeftOut;
            }
            question.content.append(row);
            ++shown.rows;
        }
        full = full || budget.textLeft <= 0 || shown.rows >= kMaxRows;
        shown.questions.append(question);
    }

    if (next < guide.size())
        shown.cuts << QStringLiteral("guide: %1 of its %2 questions shown, the rest left out (at most %3 questions, "
                                     "%4 answer rows and %5 characters in all)")
                          .arg(shown.questions.size()).arg(guide.size()).arg(kMaxQuestions).arg(kMaxRows)
                          .arg(kMaxTextChars);
    if (rowsLeftOut > 0)
        shown.cuts << QStringLiteral("guide: %1 answer rows of the last question shown left out").arg(rowsLeftOut);
    if (titlesCut > 0)
        shown.cuts << QStringLiteral("guide: %1 titles cut to %2 characters").arg(titlesCut).arg(kMaxTitleChars);
    if (answersCut > 0)
        shown.cuts << QStringLiteral("guide: %1 answers cut to %2 characters").arg(answersCut).arg(kMaxAnswerChars);
    if (addressesLeftOut > 0)
        shown.cuts << QStringLiteral("guide: %1 pictures left out, their addresses longer than %2 characters")
                          .arg(addressesLeftOut).arg(kMaxImageUrlChars);
    if (budget.textCut)
        shown.cuts << QStringLiteral("guide: its text cut at %1 characters in all").arg(kMaxTextChars);
    shown.endsEarly = next < guide.size() || rowsLeftOut > 0 || budget.textCut;
    return shown;
}
