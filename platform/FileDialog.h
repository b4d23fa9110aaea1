#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

// An open or save dialog that lives as long as its window, so each use starts
// with the name and the file type chosen the last time. The save dialog asks
// before it replaces an existing file.
class FileDialog
{
public:
    enum class Mode { Open, Save };

    // Filters as the user sees them: "Text Files(*.txt)", "HTML Files(*.html *.htm)".
    FileDialog(Mode mode, const QStringList &filters, const QString &defaultSuffix);
    ~FileDialog();

    // The chosen file's full path, or an empty string when the user cancelled.
    QString exec(QWidget *parent);

    Mode mode() const { return m_mode; }
    const QStringList &filters() const { return m_filters; }
    const QString &defaultSuffix() const { return m_defaultSuffix; }

    // Tests answer the dialogs themselves: the function gets the dialog and
    // returns the chosen path, or an empty string for a cancel.
    using Answer = std::function<QString(const FileDialog &dialog)>;
    static Answer setAnswer(Answer answer);

private:
    Mode m_mode;
    QStringList m_filters;
    QString m_defaultSuffix;
    std::unique_ptr<QFileDialog> m_dialog;
};
