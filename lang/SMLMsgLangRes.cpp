#include "lang/SMLMsgLangRes.h"

TsmlMsgLangRes::TsmlMsgLangRes(QObject *owner) : TsmlLangRes(owner), m_msgList(std::make_unique<TsmlMsgList>())
{
    m_msgList->setOnChange([this] { MsgListChanged(); });
}

TsmlMsgLangRes::~TsmlMsgLangRes() = default;

QStringList TsmlMsgLangRes::MsgListLines() const
{
    return m_msgList->lines();
}

void TsmlMsgLangRes::SetMsgList(const QStringList &lines)
{
    m_msgList->assign(lines);
}

void TsmlMsgLangRes::MsgListChanged()
{
    if (!m_loading)
        ApplyIfActive();
}

void TsmlMsgLangRes::ApplyLanguage()
{
    m_loading = true;
    struct Done
    {
        bool &loading;
        ~Done() { loading = false; }
    } done{m_loading};

    for (int i = 0; i < m_msgList->count(); ++i) {
        const QString line = m_msgList->at(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString name = line.left(eq);
        if (name.trimmed().isEmpty())
            continue;
        const QString text = ReadLangString(name, line.mid(eq + 1));
        if (!text.isEmpty())
            m_msgList->replace(i, name + u'=' + text);
    }
}
