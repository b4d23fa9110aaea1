#include "platform/ListControls.h"

#include <QIdentityProxyModel>
#include <QStandardItemModel>
#include <QTreeWidgetItemIterator>

#include <QHash>

// The data grid's view of its data: the data model's rows and columns, with
// column titles that the grid sets.
class TitleModel : public QIdentityProxyModel
{
public:
    explicit TitleModel(QObject *parent) : QIdentityProxyModel(parent)
    {
        connect(this, &QAbstractItemModel::columnsInserted, this,
                [this](const QModelIndex &parent, int first, int last) {
                    if (!parent.isValid())
                        shift(first, last - first + 1);
                });
        connect(this, &QAbstractItemModel::columnsRemoved, this,
                [this](const QModelIndex &parent, int first, int last) {
                    if (!parent.isValid()) {
                        for (int column = first; column <= last; ++column)
                            m_titles.remove(column);
                        shift(last + 1, first - last - 1);
                    }
                });
        connect(this, &QAbstractItemModel::columnsMoved, this, [this] { m_titles.clear(); });
        connect(this, &QAbstractItemModel::modelReset, this, [this] { m_titles.clear(); });
    }

    void setSourceModel(QAbstractItemModel *model) override
    {
        m_titles.clear();
        QIdentityProxyModel::setSourceModel(model);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::EditRole)) {
            const auto title = m_titles.constFind(section);
            if (title != m_titles.constEnd())
                return *title;
        }
        if (!sourceModel())
            return QVariant();
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override
    {
        if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QIdentityProxyModel::setHeaderData(section, orientation, value, role);
        if (section < 0 || section >= columnCount())
            return false;
        m_titles.insert(section, value.toString());
        emit headerDataChanged(orientation, section, section);
        return true;
    }

private:
    // Moves the titles of columns `from` onwards by `by` places.
    void shift(int from, int by)
    {
        QHash<int, QString> moved;
        for (auto it = m_titles.constBegin(); it != m_titles.constEnd(); ++it)
            moved.insert(it.key() >= from ? it.key() + by : it.key(), it.value());
        m_titles = moved;
    }

    QHash<int, QString> m_titles;
};

ListView::ListView(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setColumnCount(0);
}

void ListView::setColumnCaptions(const QStringList &captions)
{
    setColumnCount(int(captions.size()));
    setHeaderLabels(captions);
}

QString ListView::columnCaption(int column) const
{
    if (column < 0 || column >= columnCount())
        return QString();
    return headerItem()->text(column);
}

void ListView::setColumnCaption(int column, const QString &caption)
{
    if (column >= 0 && column < columnCount())
        headerItem()->setText(column, caption);
}

QTreeWidgetItem *ListView::addItem(const QString &caption, const QStringList &subItems)
{
    auto *item = new QTreeWidgetItem(QStringList{caption} + subItems);
    addTopLevelItem(item);
    return item;
}

QString ListView::itemCaption(int item) const
{
    const QTreeWidgetItem *row = topLevelItem(item);
    return row ? row->text(0) : QString();
}

void ListView::setItemCaption(int item, const QString &caption)
{
    if (QTreeWidgetItem *row = topLevelItem(item))
        row->setText(0, caption);
}

int ListView::subItemCount(int item) const
{
    const QTreeWidgetItem *row = topLevelItem(item);
    return row ? qMax(0, row->columnCount() - 1) : 0;
}

QString ListView::subItem(int item, int subItem) const
{
    if (subItem < 0 || subItem >= subItemCount(item))
        return QString();
    return topLevelItem(item)->text(subItem + 1);
}

void ListView::setSubItem(int item, int subItem, const QString &text)
{
    if (subItem >= 0 && subItem < subItemCount(item))
        topLevelItem(item)->setText(subItem + 1, text);
}

TreeView::TreeView(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    // Any change of the tree's shape renumbers the nodes.
    QAbstractItemModel *tree = model();
    const auto stale = [this] { m_stale = true; };
    connect(tree, &QAbstractItemModel::rowsAboutToBeInserted, this, stale);
    connect(tree, &QAbstractItemModel::rowsInserted, this, stale);
    connect(tree, &QAbstractItemModel::rowsAboutToBeRemoved, this, stale);
    connect(tree, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(tree, &QAbstractItemModel::rowsMoved, this, stale);
    connect(tree, &QAbstractItemModel::layoutChanged, this, stale);
    connect(tree, &QAbstractItemModel::modelReset, this, stale);
}

TreeView::~TreeView()
{
    // The tree widget's own destructor empties the model, which must not
    // reach a tree view that is already gone.
    disconnect(model(), nullptr, this, nullptr);
}

const QList<QTreeWidgetItem *> &TreeView::nodes() const
{
    if (m_stale) {
        m_nodes.clear();
        for (QTreeWidgetItemIterator it(const_cast<TreeView *>(this)); *it; ++it)
            m_nodes.append(*it);
        m_stale = false;
    }
    return m_nodes;
}

int TreeView::nodeCount() const
{
    return int(nodes().size());
}

QTreeWidgetItem *TreeView::node(int index) const
{
    const QList<QTreeWidgetItem *> &all = nodes();
    return index >= 0 && index < all.size() ? all.at(index) : nullptr;
}

QString TreeView::nodeText(int index) const
{
    const QTreeWidgetItem *item = node(index);
    return item ? item->text(0) : QString();
}

void TreeView::setNodeText(int index, const QString &text)
{
    if (QTreeWidgetItem *item = node(index))
        item->setText(0, text);
}

HeaderControl::HeaderControl(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_sections(new QStandardItemModel(0, 0, this))
{
    setModel(m_sections);
}

int HeaderControl::addSection(const QString &text)
{
    QAbstractItemModel *sections = model();
    const int section = sections->columnCount();
    sections->insertColumn(section);
    sections->setHeaderData(section, orientation(), text, Qt::DisplayRole);
    return section;
}

QString HeaderControl::sectionText(int section) const
{
    if (section < 0 || section >= count())
        return QString();
    return model()->headerData(section, orientation(), Qt::DisplayRole).toString();
}

void HeaderControl::setSectionText(int section, const QString &text)
{
    if (section >= 0 && section < count())
        model()->setHeaderData(section, orientation(), text, Qt::DisplayRole);
}

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_titles(new TitleModel(this))
{
    QTableView::setModel(m_titles);
}

void DataGrid::setModel(QAbstractItemModel *model)
{
    if (model == m_titles)
        return;
    m_titles->setSourceModel(model);
}

QAbstractItemModel *DataGrid::dataModel() const
{
    return m_titles->sourceModel();
}

int DataGrid::columnCount() const
{
    return m_titles->sourceModel() ? m_titles->columnCount() : 0;
}

QString DataGrid::columnTitle(int column) const
{
    if (column < 0 || column >= columnCount())
        return QString();
    return m_titles->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

void DataGrid::setColumnTitle(int column, const QString &title)
{
    m_titles->setHeaderData(column, Qt::Horizontal, title, Qt::DisplayRole);
}
