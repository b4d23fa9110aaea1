#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QTextFormat>

#include <vector>

class QTextDocument;
class QTextEdit;

// The style sheet the two panes share: numbered text styles (font, look,
// colour) and paragraph styles. Every run of pane text records the number of
// its text style, and every paragraph the number of its paragraph style, so a
// change of a style re-formats the text that uses it.
//
// Style 0, the plain style, is the panes' own font: runs in style 0 carry no
// font of their own, so changing it re-lays out both panes with their content
// kept, in one step.
class TRVStyle : public QObject
{
    Q_OBJECT
public:
    // Where runs and paragraphs keep their style numbers.
    static constexpr int TextStyleProperty = QTextFormat::UserProperty + 1;
    static constexpr int ParaStyleProperty = QTextFormat::UserProperty + 2;

    struct TextStyle
    {
        QString name;
        QString fontName;
        int size = 10; // points
        bool bold = false;
        bool italic = false;
        bool underline = false;
        QColor color;      // invalid: the window-text colour
        QColor hoverColor; // links only
        bool jump = false; // a link style
        bool unicode = true;
    };

    struct ParaStyle
    {
        QString name;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit TRVStyle(QObject *parent = nullptr);

    int textStyleCount() const { return int(m_text.size()); }
    int paraStyleCount() const { return int(m_para.size()); }
    const TextStyle &textStyle(int no) const { return m_text.at(size_t(no)); }
    const ParaStyle &paraStyle(int no) const { return m_para.at(size_t(no)); }

    QFont font(int textStyle) const;
    QTextCharFormat charFormat(int textStyle) const;
    QTextBlockFormat blockFormat(int paraStyle) const;

    // Shows its runs in the panes that use this style sheet.
    void attach(QTextEdit *pane);

    // Gives a text style another font and re-formats every pane's runs in it.
    void setTextStyleFont(int no, const QString &family, int pointSize);

private:
    void reformat(QTextDocument *document, int textStyle) const;

    std::vector<TextStyle> m_text;
    std::vector<ParaStyle> m_para;
    std::vector<QTextEdit *> m_panes;
};
