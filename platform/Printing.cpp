#include "platform/Printing.h"

#include "platform/AppError.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QAbstractTextDocumentLayout>
#include <QTextFrame>
#include <QTextDocument>

#include <memory>

namespace Printing {
namespace {

QString &pdfOutput()
{
    static QString path;
    return path;
}

} // namespace

void printDocument(const QTextDocument &document, const QString &jobTitle, double marginMm)
{
    if (document.isEmpty())
        return;
    std::unique_ptr<QPrinter> printer;
    if (pdfOutput().isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw AppError(QStringLiteral("No default printer is available."));
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfOutput());
    }
    printer->setDocName(jobTitle);
    printer->setCopyCount(1);
    printer->setCollateCopies(false);
    printer->setPageMargins(QMarginsF(marginMm, marginMm, marginMm, marginMm), QPageLayout::Millimeter);

    // The copy takes the pane's fonts and formats with it and is laid out
    // straight onto the printer's pages, inside the margins and nothing more.
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setDefaultFont(document.defaultFont());
    copy->documentLayout()->setPaintDevice(printer.get());
    copy->setPageSize(printer->pageLayout().paintRectPixels(printer->resolution()).size());
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(0);
    copy->rootFrame()->setFrameFormat(frame);
    copy->print(printer.get());
    if (printer->printerState() == QPrinter::Error)
        throw AppError(QStringLiteral("Printing failed."));
}

void setPdfOutput(const QString &path)
{
    pdfOutput() = path;
}

} // namespace Printing
