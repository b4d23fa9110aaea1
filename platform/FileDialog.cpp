#include "platform/FileDialog.h"

#include <QFileDialog>

namespace {

FileDialog::Answer &currentAnswer()
{
    static FileDialog::Answer answer;
    return answer;
}

} // namespace

FileDialog::FileDialog(Mode mode, const QStringList &filters, const QString &defaultSuffix)
    : m_mode(mode), m_filters(filters), m_defaultSuffix(defaultSuffix)
{
}

FileDialog::~FileDialog() = default;

QString FileDialog::exec(QWidget *parent)
{
    if (currentAnswer())
        return currentAnswer()(*this);
    if (!m_dialog) {
        m_dialog = std::make_unique<QFileDialog>(parent);
        m_dialog->setAcceptMode(m_mode == Mode::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        m_dialog->setFileMode(m_mode == Mode::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        m_dialog->setNameFilters(m_filters);
        m_dialog->setDefaultSuffix(m_defaultSuffix);
    }
    if (m_dialog->exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = m_dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

FileDialog::Answer FileDialog::setAnswer(Answer answer)
{
    Answer previous = std::move(currentAnswer());
    currentAnswer() = std::move(answer);
    return previous;
}
