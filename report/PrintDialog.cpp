#include "report/PrintDialog.h"

#include "report/Preview.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::optional<QStringList> &StandInPrinters()
{
    static std::optional<QStringList> printers;
    return printers;
}

} // namespace

QStringList InstalledPrinters()
{
    if (StandInPrinters())
        return *StandInPrinters();
    return QPrinterInfo::availablePrinterNames();
}

bool PrinterInstalled()
{
    if (StandInPrinters())
        return !StandInPrinters()->isEmpty();
    return TDialogSeam::Scripting() || !QPrinterInfo::availablePrinterNames().isEmpty();
}

void SetInstalledPrinters(std::optional<QStringList> names)
{
    StandInPrinters() = std::move(names);
}

QString NoPrinterMessage()
{
    return QStringLiteral("No printer is installed, so nothing can be printed.\n\n"
                          "Export the pages as a PDF file instead? A PDF file can be printed on any computer.");
}

TPrintChoice ChoosePrinter(QPrinter &printer, QWidget *parent, const QString &shownText, int pageCount,
                           QString *pdfFile)
{
    if (!PrinterInstalled()) {
        if (ConfirmBox(NoPrinterMessage(), BtnYes | BtnNo) != ResultYes)
            return TPrintChoice::Cancelled;
        const QString fileName = TForm_Preview::WithDefaultExtension(
            SaveFileDialog(parent, QStringLiteral("Export PDF"), QString(), QStringLiteral("PDF file (*.pdf)")),
            QStringLiteral("pdf"));
        if (fileName.isEmpty())
            return TPrintChoice::Cancelled;
        if (pdfFile)
            *pdfFile = fileName;
        return TPrintChoice::ExportPdf;
    }

    const TShownBox box{TBoxKind::Window, QStringLiteral("Print"), shownText, BtnOK | BtnCancel};
    int result = ResultCancel;
    QString outputFile;
    if (TDialogSeam::Intercept(box, &result, &outputFile)) {
        if (result != ResultOK)
            return TPrintChoice::Cancelled;
        if (!outputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(outputFile);
        }
        return TPrintChoice::Print;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (pageCount > 0) {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setMinMax(1, pageCount);
    }
    return dialog.exec() == QDialog::Accepted ? TPrintChoice::Print : TPrintChoice::Cancelled;
}
