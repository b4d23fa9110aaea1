#include "platform/Controls.h"

#include <QAbstractItemModel>
#include <QValidator>

#include <utility>

namespace {

// Runs `body` with `flag` set, clearing it however the body ends.
template <typename Body>
void whileSet(bool &flag, Body body)
{
    flag = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{flag};
    body();
}

// Takes the line breaks out of an edit's text as it changes. The edit runs it
// on every change (typing, paste, drop, setText) and shows what it leaves.
class WithoutLineBreaks : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        qsizetype kept = 0;
        int cursor = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c == u'\r' || c == u'\n') {
                if (i < pos)
                    --cursor;
                continue;
            }
            input[kept++] = c;
        }
        input.truncate(kept);
        pos = cursor;
        return Acceptable;
    }
};

} // namespace

Edit::Edit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new WithoutLineBreaks(this));
}

TabSheet::TabSheet(QWidget *parent) : QWidget(parent) {}

TabSheet::TabSheet(const QString &caption, QWidget *parent) : QWidget(parent), m_caption(caption) {}

QTabWidget *TabSheet::pageControl() const
{
    // A page lives in the tab widget's page stack, so the tab widget is an
    // ancestor a level or two up.
    for (QWidget *widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(widget))
            return tabs->indexOf(const_cast<TabSheet *>(this)) >= 0 ? tabs : nullptr;
    }
    return nullptr;
}

QString TabSheet::caption() const
{
    if (QTabWidget *tabs = pageControl())
        return tabs->tabText(tabs->indexOf(const_cast<TabSheet *>(this)));
    return m_caption;
}

void TabSheet::setCaption(const QString &caption)
{
    m_caption = caption;
    if (QTabWidget *tabs = pageControl())
        tabs->setTabText(tabs->indexOf(this), caption);
}

int PageControl::addSheet(TabSheet *sheet)
{
    return addTab(sheet, sheet->caption());
}

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent), m_items(new StringList(this))
{
    m_items->setOnChange([this] { pushItems(); });
    watchModel();
}

ComboBox::~ComboBox()
{
    // Whatever the base class's destructor does to the items must not reach
    // a combo box that is already gone.
    if (QAbstractItemModel *items = model())
        disconnect(items, nullptr, this, nullptr);
}

void ComboBox::setModel(QAbstractItemModel *model)
{
    if (QAbstractItemModel *old = QComboBox::model())
        disconnect(old, nullptr, this, nullptr);
    QComboBox::setModel(model);
    watchModel();
    pullItems();
}

void ComboBox::watchModel()
{
    QAbstractItemModel *items = model();
    if (!items)
        return;
    const auto pull = [this] { pullItems(); };
    connect(items, &QAbstractItemModel::rowsInserted, this, pull);
    connect(items, &QAbstractItemModel::rowsRemoved, this, pull);
    connect(items, &QAbstractItemModel::rowsMoved, this, pull);
    connect(items, &QAbstractItemModel::dataChanged, this, pull);
    connect(items, &QAbstractItemModel::modelReset, this, pull);
    connect(items, &QAbstractItemModel::layoutChanged, this, pull);
}

void ComboBox::pushItems()
{
    if (m_syncing)
        return;
    whileSet(m_syncing, [this] {
        const QStringList &lines = m_items->lines();
        if (count() == lines.size()) {
            for (int i = 0; i < count(); ++i) {
                if (itemText(i) != lines.at(i))
                    setItemText(i, lines.at(i));
            }
            return;
        }
        const int current = currentIndex();
        clear();
        addItems(lines);
        setCurrentIndex(current < count() ? current : -1);
    });
}

void ComboBox::pullItems()
{
    if (m_syncing)
        return;
    whileSet(m_syncing, [this] {
        QStringList texts;
        for (int i = 0; i < count(); ++i)
            texts.append(itemText(i));
        if (texts != m_items->lines())
            m_items->assign(texts);
    });
}

TabControl::TabControl(QWidget *parent) : QTabBar(parent), m_tabs(new StringList(this))
{
    m_tabs->setOnChange([this] { pushTabs(); });
    connect(this, &QTabBar::tabMoved, this, [this] { pullTabs(); });
}

StringList *TabControl::tabs()
{
    // A tab's text can change without any notice (setTabText), so the list is
    // brought up to date whenever it is asked for.
    pullTabs();
    return m_tabs;
}

void TabControl::tabInserted(int index)
{
    QTabBar::tabInserted(index);
    pullTabs();
}

void TabControl::tabRemoved(int index)
{
    QTabBar::tabRemoved(index);
    pullTabs();
}

void TabControl::pushTabs()
{
    if (m_syncing)
        return;
    whileSet(m_syncing, [this] {
        const QStringList &lines = m_tabs->lines();
        while (count() > lines.size())
            removeTab(count() - 1);
        for (int i = 0; i < count(); ++i) {
            if (tabText(i) != lines.at(i))
                setTabText(i, lines.at(i));
        }
        while (count() < lines.size())
            addTab(lines.at(count()));
    });
}

void TabControl::pullTabs()
{
    if (m_syncing)
        return;
    whileSet(m_syncing, [this] {
        QStringList texts;
        for (int i = 0; i < count(); ++i)
            texts.append(tabText(i));
        if (texts != m_tabs->lines())
            m_tabs->assign(texts);
    });
}
