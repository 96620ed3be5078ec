#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Names of the installed printers. While the dialogs are scripted, the scripted print
// dialog stands for the printers too, unless a test names them with SetInstalledPrinters.
QStringList InstalledPrinters();
bool PrinterInstalled();
// A test's own list of printers (an empty list: none is installed); nullopt: the system's.
void SetInstalledPrinters(std::optional<QStringList> names);

enum class TPrintChoice { Cancelled, Print, ExportPdf };

// Asks where to print: the print dialog (through the dialog seam; its scripted answer may
// name a PDF file to print to), with a page range from 1 to pageCount when pageCount > 0.
// With no printer installed it says so and offers Export PDF instead: ExportPdf then
// comes back with the chosen file in pdfFile.
TPrintChoice ChoosePrinter(QPrinter &printer, QWidget *parent, const QString &shownText, int pageCount,
                           QString *pdfFile);

// What the teacher is told when no printer is installed.
QString NoPrinterMessage();
