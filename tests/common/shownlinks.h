#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QLabel;

// A label's rich text as the user meets it: the words it shows and where its
// links lead.
struct ShownText
{
    QString words;
    QStringList links;
};

ShownText shownText(const QLabel *label);

// Takes the http and https pages the program opens, in place of the user's
// browser, for as long as it lives.
class BrowserStandIn : public QObject
{
    Q_OBJECT

public:
    BrowserStandIn();
    ~BrowserStandIn() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl &url);
};
