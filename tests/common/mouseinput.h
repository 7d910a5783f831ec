#pragma once

#include <QPoint>
#include <QTest>

class QWidget;

// The mouse, in screen coordinates, over a top-level window: where the window
// is now decides which point of it the mouse is over, as with a real mouse.
void mouseAt(QTest::MouseAction action, QWidget *window, QPoint global, Qt::MouseButton button = Qt::LeftButton);
