#pragma once

#include <QFrame>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QWidget>

// A panel: a plain container that may paint a colour of its own.
class Panel : public QFrame
{
    Q_OBJECT
public:
    using QFrame::QFrame;
};

// A frame: a reusable group of controls embedded in a form. It owns the
// components inside it, so its form's walks stop at it.
class Frame : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

// A data module: a non-visual owner of components.
class DataModule : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
};

// The components an owner owns, in creation order: its named descendants,
// each before its children, not descending into an embedded frame (the frame
// itself is listed; what is inside it is the frame's own). The pages of a
// stacked layout (a page control's tab sheets) come in page order.
QList<QObject *> OwnedComponents(const QObject *owner);

// A popup menu that remembers a number: which pane it was last opened on.
class PopupMenu : public QMenu
{
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER m_tag)
public:
    using QMenu::QMenu;
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    int m_tag = 0;
};
