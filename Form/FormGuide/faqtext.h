#pragma once

class QLabel;
class QString;

// The built-in guide pages' labels: letters spaced as on the rest of the
// guide, and long answers as a paragraph with the given line height.
namespace faqtext {

void setLine(QLabel *label, const QString &text);
void setParagraph(QLabel *label, const QString &text, int lineHeightPercent);

} // namespace faqtext
