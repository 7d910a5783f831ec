#pragma once

#include <QWidget>

class GuidePictureJob;
class QImage;

namespace Ui {
class frmQAContent;
}

// One answer row of a guide card: a paragraph of text and, below it, a
// picture downloaded from the maker's service (through the guide's one
// picture loader).
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
    bool pictureRequested() const { return m_job != nullptr; }

private slots:
    void pictureReady(const QImage &image);

private:
    void dropRequest();
    void hidePicture();
    // The width left for the paragraph and the picture beside the bullets.
    int textWidth() const;

    Ui::frmQAContent *ui;
    QString m_imageUrl;
    // The one request whose picture the row shows; an earlier one is given
    // up when the content changes.
    GuidePictureJob *m_job = nullptr;
};
