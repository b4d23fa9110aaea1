#pragma once

#include "platform/StringList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

// Controls that publish their texts under the property names that language
// files use: "Caption" for the text a control shows as its
// title, "Hint" for its tool tip, "Items" for the lines of a drop-down list and
// "Tabs" for the tabs of a tab control. Qt's own properties ("text",
// "toolTip", ...) stay published as well.

class Label : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QLabel::QLabel;
};

class Button : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QPushButton::QPushButton;
};

class CheckBox : public QCheckBox
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QCheckBox::QCheckBox;
};

class RadioButton : public QRadioButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QRadioButton::QRadioButton;
};

class GroupBox : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QGroupBox::QGroupBox;
};

// One page of a page control. Its caption is the text of its tab; a sheet
// that no page control shows yet keeps its caption until it is added.
class TabSheet : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    explicit TabSheet(QWidget *parent = nullptr);
    explicit TabSheet(const QString &caption, QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);

    // The tab widget that shows this sheet as a page, or nullptr.
    QTabWidget *pageControl() const;

private:
    QString m_caption;
};

// Pages with tabs. It has no texts of its own: each page's tab text is the
// caption of that page.
class PageControl : public QTabWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    using QTabWidget::QTabWidget;

    // Adds the sheet as the last page, its caption as the tab text; returns
    // the page's index.
    int addSheet(TabSheet *sheet);
};

// A drop-down list whose lines are the string list "Items". Changing the list
// changes the control's items and changing the items (addItem, setItemText,
// ...) changes the list; the selected line stays selected while the number of
// lines stays the same.
class ComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(StringList *Items READ items CONSTANT)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    explicit ComboBox(QWidget *parent = nullptr);
    ~ComboBox() override;

    StringList *items() const { return m_items; }

    void setModel(QAbstractItemModel *model) override;

private:
    void watchModel();
    void pushItems();
    void pullItems();

    StringList *m_items;
    bool m_syncing = false;
};

// A one-line edit. Line breaks in what is typed, pasted, dropped or set are
// dropped (the text around them stays), so the edit never holds more than the
// one line it shows, and a setting stored from it stays one line.
class Edit : public QLineEdit
{
    Q_OBJECT
public:
    explicit Edit(QWidget *parent = nullptr);
};

// A row of tabs without pages, whose tab texts are the string list "Tabs".
// Changing the list changes the tabs (adding or removing tabs at the end when
// the number of lines changes); the list always reads as the tabs are shown.
class TabControl : public QTabBar
{
    Q_OBJECT
    Q_PROPERTY(StringList *Tabs READ tabs CONSTANT)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
public:
    explicit TabControl(QWidget *parent = nullptr);

    StringList *tabs();

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    void pushTabs();
    void pullTabs();

    StringList *m_tabs;
    bool m_syncing = false;
};
