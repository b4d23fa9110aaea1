#pragma once

#include <QString>

class QTextDocument;

// Printing a document on the system's default printer, without a dialog.
namespace Printing {

// Lays a copy of the document out on the default printer's pages with the
// given margins and prints all of them as one job of one copy. An empty
// document prints nothing. Throws AppError "No default printer is
// available." when the system has none.
void printDocument(const QTextDocument &document, const QString &jobTitle, double marginMm);

// Tests print into this PDF file instead of a printer (empty: the printer).
void setPdfOutput(const QString &path);

} // namespace Printing
