#pragma once

#include <QImage>
#include <QList>
#include <QPicture>
#include <QSizeF>
#include <QString>

class QIODevice;
class QPainter;
class QPrinter;

// The pages of a prepared report, each recorded as a picture in paper pixels at 96 per
// inch from the paper's top-left corner. It can be shown, printed, written as PDF and
// saved to and loaded from a report file (*.QRP), independently of the report that
// prepared it.
class TPreparedReport {
public:
    // US Letter.
    QSizeF PaperSizeMm{215.9, 279.4};
    // Set once every page is there; an incomplete report is not saved.
    bool Complete = false;

    int PageCount() const { return int(FPages.size()); }
    // 0-based; an empty picture for an index out of range.
    QPicture Page(int index) const;
    void AddPage(const QPicture &page) { FPages.append(page); }
    void ReplacePage(int index, const QPicture &page);
    void Clear();

    // The paper in report pixels.
    QSize PaperPixels() const;
    // The page on white paper; scale 1 is 96 dots per inch.
    QImage RenderPage(int index, double scale = 1.0) const;
    // Plays the page in the painter's current coordinates (paper pixels). A device whose
    // resolution is not 96 dpi gets the page through an image, so that text keeps its layout.
    void DrawPage(QPainter &painter, int index) const;

    // Each page on its own sheet; honours the printer's page range. The printer's
    // resolution is set to 96 dpi while printing and restored afterwards.
    bool Print(QPrinter &printer, QString *error) const;
    // On the printer of that name (empty: the default printer).
    bool Print(const QString &printerName, QString *error) const;
    bool ExportPdf(const QString &fileName, const QString &title, QString *error) const;

    // Report files: a header (magic, format version, paper size, page count) and each
    // page's picture data. Load replaces the pages only when the whole file is sound.
    bool Save(const QString &fileName, QString *error) const;
    bool Load(const QString &fileName, QString *error);
    bool Write(QIODevice &device, QString *error) const;
    bool Read(QIODevice &device, QString *error);

    static constexpr quint16 FileVersion = 1;

private:
    QList<QPicture> FPages;
};
