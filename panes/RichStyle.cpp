#include "panes/RichStyle.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

TRVStyle::TRVStyle(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("RVStyle1"));
    const QColor blue(0, 0, 255), navy(0, 0, 128), maroon(128, 0, 0), green(0, 128, 0);
    m_text = {
        {QStringLiteral("Normal text"), QStringLiteral("Tahoma"), 14, false, false, false, {}, {}, false, true},
        {QStringLiteral("Heading"), QStringLiteral("Arial"), 10, true, false, false, blue, {}, false, false},
        {QStringLiteral("Subheading"), QStringLiteral("Arial"), 10, true, false, false, navy, {}, false, false},
        {QStringLiteral("Keywords"), QStringLiteral("Arial"), 10, false, true, false, maroon, {}, false, false},
        {QStringLiteral("Jump 1"), QStringLiteral("Tahoma"), 14, false, false, true, QColor(0, 0, 179), blue, true,
         false},
        {QStringLiteral("Jump 2"), QStringLiteral("Arial"), 10, false, false, true, green, {}, true, false},
        {QStringLiteral("NoUnicode"), QStringLiteral("Tahoma"), 14, false, false, false, {}, {}, false, false},
    };
    m_para = {
        {QStringLiteral("Paragraph Style"), Qt::AlignLeft},
        {QStringLiteral("Centered"), Qt::AlignHCenter},
    };
}

QFont TRVStyle::font(int no) const
{
    const TextStyle &style = textStyle(no);
    QFont font(style.fontName);
    font.setPointSize(style.size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

QTextCharFormat TRVStyle::charFormat(int no) const
{
    QTextCharFormat format;
    format.setProperty(TextStyleProperty, no);
    if (no == 0)
        return format; // the pane's own font and colour
    format.setFont(font(no), QTextCharFormat::FontPropertiesAll);
    const TextStyle &style = textStyle(no);
    if (style.color.isValid())
        format.setForeground(style.color);
    if (style.jump)
        format.setAnchor(true);
    return format;
}

QTextBlockFormat TRVStyle::blockFormat(int no) const
{
    QTextBlockFormat format;
    format.setProperty(ParaStyleProperty, no);
    format.setAlignment(paraStyle(no).alignment);
    return format;
}

void TRVStyle::attach(QTextEdit *pane)
{
    m_panes.push_back(pane);
    pane->setFont(font(0));
    connect(pane, &QObject::destroyed, this, [this, pane] { std::erase(m_panes, pane); });
}

void TRVStyle::setTextStyleFont(int no, const QString &family, int pointSize)
{
    TextStyle &style = m_text.at(size_t(no));
    style.fontName = family;
    style.size = pointSize;
    for (QTextEdit *pane : m_panes) {
        if (no == 0)
            pane->setFont(font(0)); // re-lays out the whole pane
        else
            reformat(pane->document(), no);
    }
}

void TRVStyle::reformat(QTextDocument *document, int no) const
{
    const QTextCharFormat format = charFormat(no);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().intProperty(TextStyleProperty) != no)
                continue;
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(format);
        }
    }
    cursor.endEditBlock();
}
