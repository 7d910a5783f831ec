#pragma once

#include <QPixmap>
#include <QWidget>

// A frameless floating picture that paints itself turned by its rotation:
// the window animations fly it across the screen in place of the window.
// It is three times the size of the rectangle it is made for, about the
// same centre, so that the turning picture in its middle third never
// reaches its edges.
class UUImageWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double rotation READ rotation WRITE setRotation)

public:
    // Tool window, outside the window manager's care, frameless, above the
    // rest: the animation tool's other floating pictures are made alike.
    static constexpr Qt::WindowFlags kFloatingFlags{Qt::Tool | Qt::X11BypassWindowManagerHint
                                                   | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint};

    explicit UUImageWidget(const QRect &rect);
    ~UUImageWidget() override;

    double rotation() const { return m_rotation; }
    // Turns the picture by a fifth of the value, in degrees: the animations
    // count in fifths of a degree.
    void setRotation(double rotation);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_rotation = 0;
    QPixmap m_pixmap;
};
