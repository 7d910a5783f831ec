#pragma once

#include <QVariant>
#include <QWidget>

// A base for toolkit widgets: hooks for subclasses, a way to take another
// widget (or a main window's central area) in as this one's content, and two
// file helpers.
class UUBase : public QWidget
{
    Q_OBJECT

public:
    explicit UUBase(QWidget *parent);
    ~UUBase() override;

    // Hooks for subclasses; the base does nothing and answers 0.
    virtual int virtualValue();
    virtual void firstHook();
    virtual void secondHook();
    virtual void thirdHook();

    // Makes the widget this one's content: a widget without a layout is
    // adopted as it is, one with a layout goes through embedLayout.
    bool embedWidget(QWidget *widget);
    // A main window hands over its central widget (or that widget's filled
    // layout, with everything in it); any other widget is wrapped whole in a
    // layout without margins or spacing. False when this widget already has
    // a layout of its own, which it cannot give up.
    bool embedLayout(QWidget *widget);
    // Makes this widget the widget's parent and takes on its size.
    bool adoptWidget(QWidget *widget);

    static bool fileExists(const QString &path);
    // Copies source to target; an existing target is replaced only with
    // overwrite, and never left half-written. A file copied onto itself (by
    // any path) is left as it is and counts as copied.
    static bool copyFile(const QString &source, const QString &target, bool overwrite);
    static bool alwaysTrue(const QVariant &value);
};
