#pragma once

// Reading back a PDF the code under test wrote, with poppler's pdftotext and pdfinfo.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QtTest>

inline bool HavePdfReader()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// A test that reads a PDF back fails when the reader is missing: a skip would pass for a
// check that was never made.
#define REQUIRE_PDF_READER()                                                                                           \
    QVERIFY2(HavePdfReader(), "pdftotext and pdfinfo (poppler-utils) are needed to read the PDF back")

// The PDF's text laid out as on the page, every page ended by a form feed; with page > 0
// that page alone. Empty when pdftotext fails.
inline QString PdfText(const QString &pdf, int page = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdf << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), args);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
