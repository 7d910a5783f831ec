#pragma once

#include <QString>

// The guide's titles and answers come from the maker's service with a little
// markup of their own. The labels show them as rich text, and Qt's rich text
// can load pictures and style sheets from this machine, so only what the
// guide needs passes: paragraphs, line breaks, bold, italic, underline,
// spans with a colour or a weight, and links to web pages. Every other tag
// is dropped (its words stay, except those of scripts and style sheets),
// every other attribute is dropped, and the words themselves are escaped.
namespace guidemarkup {

// The service's text as rich text that holds nothing but the above.
QString safeRichText(const QString &serviceText);
// A link with the given words to a web page, as rich text: the address is
// percent-encoded and escaped, so nothing in it ends the attribute or starts
// a tag. Empty when the address is no http or https page.
QString webLink(const QString &url, const QString &text);

} // namespace guidemarkup
