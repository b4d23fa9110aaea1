#pragma once

#include <QHeaderView>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <QTreeWidget>

class QStandardItemModel;
class TitleModel;

// A list view: a flat list of items shown in columns under column captions.
// Item i is the top-level row i; its caption is the text of column 0 and its
// sub-items are the texts of columns 1 onwards.
class ListView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);

    // Columns (QTreeWidget::columnCount() gives their number).
    void setColumnCaptions(const QStringList &captions);
    QString columnCaption(int column) const;
    void setColumnCaption(int column, const QString &caption);

    // Adds an item at the end with its caption and sub-items.
    QTreeWidgetItem *addItem(const QString &caption, const QStringList &subItems = {});
    int itemCount() const { return topLevelItemCount(); }
    QString itemCaption(int item) const;
    void setItemCaption(int item, const QString &caption);
    int subItemCount(int item) const;
    QString subItem(int item, int subItem) const;
    void setSubItem(int item, int subItem, const QString &text);
};

// A tree view. Its nodes, at every level, are numbered top to bottom as in a
// fully expanded tree, each node before its children; a node's text is the
// text of its first column. Indexes outside the tree read as empty and set
// nothing.
class TreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TreeView(QWidget *parent = nullptr);
    ~TreeView() override;

    int nodeCount() const;
    QTreeWidgetItem *node(int index) const;
    QString nodeText(int index) const;
    void setNodeText(int index, const QString &text);

private:
    const QList<QTreeWidgetItem *> &nodes() const;

    mutable QList<QTreeWidgetItem *> m_nodes;
    mutable bool m_stale = true;
};

// A header control: a standalone row of sections, each with a text.
class HeaderControl : public QHeaderView
{
    Q_OBJECT
public:
    explicit HeaderControl(QWidget *parent = nullptr);

    // Adds a section at the end; returns its index.
    int addSection(const QString &text);
    int sectionCount() const { return count(); }
    QString sectionText(int section) const;
    void setSectionText(int section, const QString &text);

private:
    QStandardItemModel *m_sections;
};

// A data grid: a table over a data model whose column titles the grid keeps
// itself. A column's title reads as shown: the title set on the grid when one
// is set, else the model's own header for that column. Titles follow their
// columns when the model inserts or removes columns, and are forgotten when
// the grid is given another model or the model is reset.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    // The data; the grid shows it through a model of its own that adds the titles.
    void setModel(QAbstractItemModel *model) override;
    QAbstractItemModel *dataModel() const;

    int columnCount() const;
    QString columnTitle(int column) const;
    void setColumnTitle(int column, const QString &title);

private:
    TitleModel *m_titles;
};
