#pragma once

#include "lang/SMLLangRes.h"
#include "platform/StringList.h"

#include <QStringList>

#include <memory>

// The message list: lines "name=text".
class TsmlMsgList : public StringList
{
    Q_OBJECT
public:
    using StringList::StringList;
};

// The message language resource: a form's named messages, the texts that code
// shows at run time, with their wording taken from the language file. Each
// line of MsgList is a message name, "=", and its text; a load replaces each
// text by the file's entry of that name (in the owner's section), and keeps
// the text when the file has no usable entry (auto-creating the entry with the
// current text when AutoCreateMode is set). A line without a name (no "=", or
// nothing before it) addresses no entry and is left alone.
//
// Code reads a message by name through the list:
//   smlMsgLangRes1->MsgList()->value("strInfomation")
// (names ignore letter case; an unknown name gives an empty text).
//
// Setting MsgList copies the lines; any change of the list while Active is set
// (a line added, removed or replaced, or the list set) loads every line again,
// as does setting LangFileName, IgnoreEmptyString, AutoCreateMode or Active.
// A load takes the current lines as defaults: after a switch of files, a
// message the new file lacks keeps the text the previous file gave it.
class TsmlMsgLangRes : public TsmlLangRes
{
    Q_OBJECT
    Q_PROPERTY(QStringList MsgList READ MsgListLines WRITE SetMsgList)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
public:
    explicit TsmlMsgLangRes(QObject *owner);
    ~TsmlMsgLangRes() override;

    TsmlMsgList *MsgList() const { return m_msgList.get(); }
    QStringList MsgListLines() const;
    void SetMsgList(const QStringList &lines);

protected:
    void ApplyLanguage() override;

private:
    void MsgListChanged();

    std::unique_ptr<TsmlMsgList> m_msgList;
    // Set while a load rewrites the list, so that its own changes start no load.
    bool m_loading = false;
};
