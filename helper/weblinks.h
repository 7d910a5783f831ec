#pragma once

class QLabel;
class QString;
class QUrl;

// Links in the program's labels open in the user's browser only when they
// lead to a web server (http or https): a link is text from a translation or
// from the maker's service, and a "file:" or program link must not run
// anything on this PC. Replaces the label's own opening of links.
void openWebLinksOnly(QLabel *label);

// Opens the link in the browser when it is a web address; false otherwise.
bool openWebLink(const QString &link);

namespace online {

// Whether the program fetches from the URL, or lets the browser open it, at
// all: http or https with a host that can exist. Names under the reserved
// ".invalid" domain, which the settings name by default, are refused at
// once, without a look-up, so a build without real addresses never waits on
// a name server.
bool isWebUrl(const QUrl &url);

} // namespace online
