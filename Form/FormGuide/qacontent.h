#pragma once

#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

namespace Ui {
class frmQAContent;
}

// One answer row of a guide card: a paragraph of text and, below it, a
// picture downloaded from the maker's service.
class QAContent : public QWidget
{
    Q_OBJECT

public:
    // A plain row has no bullet column.
    QAContent(bool plain, int width, bool showDot, QWidget *parent);
    ~QAContent() override;

    // Shows the paragraph (with only the markup the guide allows) and asks for
    // the picture; the request of earlier content is dropped.
    void setContent(const QString &desc, const QString &imageUrl);
    void clearPicture();

    QString imageUrl() const { return m_imageUrl; }
    // Whether a picture request is still on its way.
    bool pictureRequested() const { return m_reply != nullptr; }

public slots:
    void replyFinished(QNetworkReply *reply);

private slots:
    void pictureProgress(qint64 received, qint64 total);

private:
    void dropRequest();
    void hidePicture();
    // The width left for the paragraph and the picture beside the bullets.
    int textWidth() const;

    Ui::frmQAContent *ui;
    QNetworkAccessManager *m_manager;
    QString m_imageUrl;
    // The one request whose picture the row shows; replies to any earlier
    // one come too late and are ignored.
    QNetworkReply *m_reply = nullptr;
};
