#include "common/KeyboardWalk.h"
#include "common/PdfText.h"
#include "report/Preview.h"
#include "report/Report.h"
#include "toolkit/Exception.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

constexpr int DetailHeight = 300; // three records to a Letter page

// A report whose records are "Record 1", "Record 2", …, with "Page n of m" in the footer.
struct TSampleReport {
    TReport Report;
    int Records;
    int Next = 0;
    TReportLabel *Label = nullptr;

    explicit TSampleReport(int records) : Records(records)
    {
        Report.DocumentTitle = QStringLiteral("Sample");
        Report.ExpectedRecords = records;
        Report.AddBand(TBandType::Title, 98)
            ->AddLabel(QStringLiteral("Heading"), 9, 3, QStringLiteral("Sample heading"));
        TReportBand *footer = Report.AddBand(TBandType::PageFooter, 22);
        footer->AddSysData(QStringLiteral("Counter"), 300, 5, TSysDataKind::PageNumberOfTotal);
        TReportBand *detail = Report.AddBand(TBandType::Detail, DetailHeight);
        Label = detail->AddLabel(QStringLiteral("Record"), 2, 1);
        Report.NeedData = [this]() {
            if (Next >= Records)
                return false;
            Label->Caption = QStringLiteral("Record %1").arg(++Next);
            return true;
        };
    }
};

// Records for a given number of pages: the title takes room on the first page only.
int RecordsFor(int pages)
{
    return pages == 1 ? 2 : 2 + (pages - 1) * 3;
}

struct TOpenPreview {
    std::unique_ptr<TSampleReport> Sample;
    std::unique_ptr<TForm_Preview> Window;
};

TOpenPreview OpenPreview(int pages, bool waitForAll = true)
{
    TOpenPreview p;
    p.Sample = std::make_unique<TSampleReport>(RecordsFor(pages));
    p.Window.reset(TQRMDIPreviewInterface::CreateWindow(p.Sample->Report, nullptr));
    p.Window->resize(800, 600);
    p.Window->show();
    if (waitForAll)
        if (!QTest::qWaitFor([&]() { return p.Window->PreparationFinished(); }, 20000))
            QTest::qFail("the preparation did not finish", __FILE__, __LINE__);
    return p;
}

bool Enabled(QToolButton *button)
{
    return button->isEnabled();
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        TNvPrintPreview::Reset();
        TDialogSeam::BeginScript();
    }
    void cleanup()
    {
        TDialogSeam::EndScript();
        TNvPrintPreview::Reset();
    }

    void navigation_data();
    void navigation();
    void pagesArriveWhileShown();
    void counterTextsCompletedOnFinish();
    void zoom_data();
    void zoom();
    void keysAndWheel();
    void saveThenOpen();
    void openFailures_data();
    void openFailures();
    void exportPdf();
    void exportPdfFailure();
    void printWaitsForPreparation();
    void printSwitchAndCallback();
    void failedPreparation();
    void openWhilePreparing();
    void keyboardReachesEveryCommand();
};

void TestPreview::navigation_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 1;
    QTest::newRow("two pages") << 2;
    QTest::newRow("five pages") << 5;
}

void TestPreview::navigation()
{
    QFETCH(int, pages);
    TOpenPreview p = OpenPreview(pages);
    TForm_Preview &w = *p.Window;
    QCOMPARE(w.QRPreview->PageCount(), pages);

    auto check = [&](int page) {
        QCOMPARE(w.QRPreview->PageNumber(), page);
        QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        QCOMPARE(Enabled(w.ToolButton_First), page > 1);
        QCOMPARE(Enabled(w.ToolButton_Prev), page > 1);
        QCOMPARE(Enabled(w.ToolButton_Next), page < pages);
        QCOMPARE(Enabled(w.ToolButton_Last), page < pages);
    };
    check(1);
    // Nothing before page 1.
    w.ToolButton_PrevClick();
    check(1);
    w.ToolButton_NextClick();
    check(std::min(2, pages));
    w.ToolButton_LastClick();
    check(pages);
    // Nothing after the last page.
    w.ToolButton_NextClick();
    check(pages);
    w.ToolButton_PrevClick();
    check(std::max(1, pages - 1));
    w.ToolButton_FirstClick();
    check(1);
}

void TestPreview::pagesArriveWhileShown()
{
    TOpenPreview p = OpenPreview(5, false);
    TForm_Preview &w = *p.Window;
    QVERIFY(!w.PreparationFinished());
    // The first page comes in while the rest is still being prepared.
    QTRY_VERIFY(w.QRPreview->PageCount() >= 1);
    QCOMPARE(w.QRPreview->PageNumber(), 1);
    QVERIFY(!w.FirstPagePending);
    QVERIFY(w.StatusPanel1->text().startsWith(QStringLiteral("Page 1 of ")));
    QTRY_VERIFY_WITH_TIMEOUT(w.PreparationFinished(), 20000);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 1 of 5"));
    QCOMPARE(w.ProgressBar->value(), 0);
    QVERIFY(Enabled(w.ToolButton_Next));
}

void TestPreview::counterTextsCompletedOnFinish()
{
    TOpenPreview p = OpenPreview(3);
    TForm_Preview &w = *p.Window;
    // What the window shows is the finished page, "Page n of 3" drawn in.
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.Prepared.RenderPage(i, 0.5), p.Sample->Report.Prepared().RenderPage(i, 0.5));
    // Preparing the report again (printing anew) leaves the open preview as it was.
    const int before = w.Prepared.PageCount();
    p.Sample->Next = 0;
    p.Sample->Records = 1;
    QVERIFY(p.Sample->Report.Prepare());
    QCOMPARE(p.Sample->Report.Prepared().PageCount(), 1);
    QCOMPARE(w.Prepared.PageCount(), before);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 1 of 3"));
}

void TestPreview::zoom_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("expected");
    QTest::newRow("in three times") << QStringList{"in", "in", "in"} << 130;
    QTest::newRow("out twice") << QStringList{"out", "out"} << 80;
    QTest::newRow("in then out") << QStringList{"in", "out"} << 100;
    QTest::newRow("out stops at the smallest") << QStringList(12, "out") << TQRPreview::MinZoom;
    QTest::newRow("in stops at the largest") << QStringList(40, "in") << TQRPreview::MaxZoom;
}

void TestPreview::zoom()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, expected);
    TOpenPreview p = OpenPreview(1);
    TForm_Preview &w = *p.Window;
    w.QRPreview->SetZoom(100);
    for (const QString &click : clicks) {
        if (click == "in")
            w.ToolButton_ZoomIn->click();
        else
            w.ToolButton_ZoomOut->click();
    }
    QCOMPARE(w.QRPreview->Zoom(), expected);

    // Whole page, and page width, fit the view; one percent more would not.
    const QSize paper = w.Prepared.PaperPixels();
    const QSize view = w.QRPreview->viewport()->size();
    w.ToolButton_ZoomPage->click();
    const int fit = w.QRPreview->Zoom();
    QVERIFY(paper.width() * fit / 100.0 <= view.width());
    QVERIFY(paper.height() * fit / 100.0 <= view.height());
    QVERIFY(paper.width() * (fit + 1) / 100.0 > view.width() - 20 ||
            paper.height() * (fit + 1) / 100.0 > view.height() - 20);
    w.ToolButton_ZoomWidth->click();
    const int width = w.QRPreview->Zoom();
    QVERIFY(width > fit);
    QVERIFY(paper.width() * width / 100.0 <= view.width());
    QVERIFY(!w.QRPreview->horizontalScrollBar()->isVisible() || w.QRPreview->horizontalScrollBar()->maximum() == 0);
}

void TestPreview::keysAndWheel()
{
    TOpenPreview p = OpenPreview(5);
    TForm_Preview &w = *p.Window;
    // Keys reach the window even while the page view has the focus.
    w.QRPreview->setFocus();
    QTest::keyClick(w.QRPreview, Qt::Key_End);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 5 of 5"));
    QTest::keyClick(w.QRPreview, Qt::Key_PageUp);
    QCOMPARE(w.QRPreview->PageNumber(), 4);
    QTest::keyClick(w.QRPreview, Qt::Key_PageDown);
    QTest::keyClick(w.QRPreview, Qt::Key_PageDown);
    QCOMPARE(w.QRPreview->PageNumber(), 5);
    QTest::keyClick(w.QRPreview, Qt::Key_Home);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 1 of 5"));

    w.QRPreview->SetZoom(200);
    QScrollBar *vertical = w.QRPreview->verticalScrollBar();
    QVERIFY(vertical->maximum() > 100);
    vertical->setValue(0);
    const int step = (vertical->maximum() - vertical->minimum() + vertical->pageStep()) / 10;
    QTest::keyClick(w.QRPreview, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(vertical->value(), step);
    QTest::keyClick(w.QRPreview, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(vertical->value(), 0);

    QWheelEvent towardsUser(QPointF(50, 50), w.QRPreview->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                            QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.QRPreview->viewport(), &towardsUser);
    QCOMPARE(vertical->value(), 32);
    QWheelEvent away(QPointF(50, 50), w.QRPreview->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.QRPreview->viewport(), &away);
    QCOMPARE(vertical->value(), 0);

    QTest::keyClick(w.QRPreview, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TestPreview::saveThenOpen()
{
    QTemporaryDir dir;
    TOpenPreview five = OpenPreview(5);
    // A bare name gets the report file extension.
    TDialogSeam::SetNextAnswer(ResultOK, dir.filePath(QStringLiteral("saved")));
    five.Window->ToolButton_SaveClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::SaveFile);
    QCOMPARE(TDialogSeam::Shown().first().Caption, QStringLiteral("Save"));
    const QString saved = dir.filePath(QStringLiteral("saved.QRP"));
    QVERIFY(QFile::exists(saved));

    // Opening it in a preview of another report, with printing off and a callback set.
    TNvPrintPreview component;
    component.SetEnablePrint(false);
    bool called = false;
    TNvPrintPreview::SetPrintCallback([&](QObject *, QObject *) { called = true; }, &component);
    TOpenPreview one = OpenPreview(1);
    TForm_Preview &w = *one.Window;
    QVERIFY(!Enabled(w.ToolButton_Print));
    w.ToolButton_LastClick();
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, saved);
    w.ToolButton_OpenClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::OpenFile);
    QCOMPARE(TDialogSeam::Shown().first().Caption, QStringLiteral("Open"));
    QCOMPARE(w.QRPreview->PageCount(), 5);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 1 of 5"));
    QCOMPARE(w.Prepared.RenderPage(4, 0.5), five.Sample->Report.Prepared().RenderPage(4, 0.5));
    // Opening a saved report switches printing on for good and drops the callback.
    QVERIFY(component.EnablePrint());
    QVERIFY(Enabled(w.ToolButton_Print));
    QVERIFY(!TNvPrintPreview::HasPrintCallback());
    QVERIFY(!called);
    // The report that opened the window is left alone.
    QCOMPARE(one.Sample->Report.Prepared().PageCount(), 1);
}

void TestPreview::openFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<bool>("missing");
    QTest::newRow("missing file") << QByteArray() << true;
    QTest::newRow("not a report") << QByteArray("hello, world") << false;
    QTest::newRow("cut short") << QByteArray() << false;
}

void TestPreview::openFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, missing);
    QTemporaryDir dir;
    TOpenPreview p = OpenPreview(2);
    TForm_Preview &w = *p.Window;
    const QString name = dir.filePath(QStringLiteral("report.QRP"));
    if (!missing) {
        if (content.isEmpty()) {
            QVERIFY(p.Sample->Report.Prepared().Save(name, nullptr));
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(file.size() / 2));
        } else {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
    }
    bool called = false;
    TNvPrintPreview::SetPrintCallback([&](QObject *, QObject *) { called = true; }, nullptr);
    w.ToolButton_NextClick();
    TDialogSeam::SetNextAnswer(ResultOK, name);
    w.ToolButton_OpenClick();
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    const TShownBox &box = TDialogSeam::Shown().last();
    QCOMPARE(box.Kind, TBoxKind::Message);
    if (missing)
        QCOMPARE(box.Text, QStringLiteral("File \"") + name + QStringLiteral("\" does not exist"));
    else
        QVERIFY2(box.Text.contains(name) && box.Text.contains(QStringLiteral("report")), qPrintable(box.Text));
    // The preview keeps its report, its page and its print path.
    QCOMPARE(w.QRPreview->PageCount(), 2);
    QCOMPARE(w.StatusPanel1->text(), QStringLiteral("Page 2 of 2"));
    QVERIFY(TNvPrintPreview::HasPrintCallback());
    w.ToolButton_PrintClick();
    QVERIFY(called);
}

void TestPreview::exportPdf()
{
    REQUIRE_PDF_READER();
    QTemporaryDir dir;
    TOpenPreview p = OpenPreview(3);
    TDialogSeam::SetNextAnswer(ResultOK, dir.filePath(QStringLiteral("handout")));
    p.Window->ToolButton_ExportPdfClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::SaveFile);
    const QString pdf = dir.filePath(QStringLiteral("handout.pdf"));
    QVERIFY(QFile::exists(pdf));
    const QString text = PdfText(pdf);
    for (int record = 1; record <= RecordsFor(3); ++record)
        QVERIFY2(text.contains(QStringLiteral("Record %1").arg(record)), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Page 1 of 3")));
    QVERIFY(text.contains(QStringLiteral("Page 3 of 3")));
    QCOMPARE(text.count(QLatin1Char('\f')), 3);

    // A name with an extension keeps it; cancelling writes nothing.
    TDialogSeam::SetNextAnswer(ResultOK, dir.filePath(QStringLiteral("copy.PDF")));
    p.Window->ToolButton_ExportPdfClick();
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("copy.PDF"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("copy.PDF.pdf"))));
    TDialogSeam::SetNextAnswer(ResultCancel, dir.filePath(QStringLiteral("never")));
    p.Window->ToolButton_ExportPdfClick();
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("never.pdf"))));
}

void TestPreview::exportPdfFailure()
{
    QTemporaryDir dir;
    TOpenPreview p = OpenPreview(1);
    const QString pdf = dir.filePath(QStringLiteral("no such folder/out.pdf"));
    TDialogSeam::SetNextAnswer(ResultOK, pdf);
    p.Window->ToolButton_ExportPdfClick();
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Message);
    QVERIFY(TDialogSeam::Shown().last().Text.contains(pdf));
    QVERIFY(!QFile::exists(pdf));

    // A target that cannot be replaced (a folder of that name) fails without leaving
    // a partly written file behind.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, dir.filePath(QStringLiteral("taken.pdf")));
    p.Window->ToolButton_ExportPdfClick();
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Message);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"taken.pdf"});
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("taken.pdf"))).isDir());
}

void TestPreview::printWaitsForPreparation()
{
    QTemporaryDir dir;
    bool called = false;
    TOpenPreview p = OpenPreview(5, false);
    TForm_Preview &w = *p.Window;
    // Nothing prepared yet: print, save and export are not offered and do nothing.
    QVERIFY(!w.PreparationFinished());
    QVERIFY(!Enabled(w.ToolButton_Print));
    QVERIFY(!Enabled(w.ToolButton_Save));
    QVERIFY(!Enabled(w.ToolButton_ExportPdf));
    TNvPrintPreview::SetPrintCallback([&](QObject *, QObject *) { called = true; }, nullptr);
    w.ToolButton_PrintClick();
    w.ToolButton_SaveClick();
    QVERIFY(!called);
    QVERIFY(TDialogSeam::Shown().isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(w.PreparationFinished(), 20000);
    QVERIFY(Enabled(w.ToolButton_Print));
    QVERIFY(Enabled(w.ToolButton_Save));
    TNvPrintPreview::ClearPrintCallback();
    // The window's own print dialog; the seam's answer names a PDF file to print to.
    const QString out = dir.filePath(QStringLiteral("printed.pdf"));
    TDialogSeam::SetNextAnswer(ResultOK, out);
    w.ToolButton_PrintClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Window);
    QCOMPARE(TDialogSeam::Shown().first().Caption, QStringLiteral("Print"));
    QVERIFY(QFileInfo(out).size() > 0);
    REQUIRE_PDF_READER();
    QCOMPARE(PdfText(out).count(QLatin1Char('\f')), 5);
    // Cancelling the print dialog prints nothing.
    const QString never = dir.filePath(QStringLiteral("never.pdf"));
    TDialogSeam::SetNextAnswer(ResultCancel, never);
    w.ToolButton_PrintClick();
    QVERIFY(!QFile::exists(never));
}

void TestPreview::printSwitchAndCallback()
{
    // Printing switched off program-wide: the button stays off once the pages are there.
    TNvPrintPreview component;
    QVERIFY(component.EnablePrint());
    component.SetEnablePrint(false);
    {
        TOpenPreview p = OpenPreview(1);
        QVERIFY(!Enabled(p.Window->ToolButton_Print));
        p.Window->ToolButton_PrintClick();
        QVERIFY(TDialogSeam::Shown().isEmpty());
    }
    // A new component switches it on again for everyone.
    TNvPrintPreview second;
    QVERIFY(component.EnablePrint());

    // The callback takes printing over, with its object and no sender; the preview stays.
    QObject owner;
    QObject *gotObject = nullptr;
    QObject *gotSender = &owner;
    TNvPrintPreview::SetPrintCallback(
        [&](QObject *object, QObject *sender) {
            gotObject = object;
            gotSender = sender;
        },
        &owner);
    TOpenPreview p = OpenPreview(1);
    QVERIFY(Enabled(p.Window->ToolButton_Print));
    p.Window->ToolButton_PrintClick();
    QCOMPARE(gotObject, &owner);
    QCOMPARE(gotSender, nullptr);
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QVERIFY(p.Window->isVisible());

    // A callback whose object has gone away is not called.
    {
        auto gone = std::make_unique<QObject>();
        bool called = false;
        TNvPrintPreview::SetPrintCallback([&](QObject *, QObject *) { called = true; }, gone.get());
        gone.reset();
        QVERIFY(!TNvPrintPreview::HasPrintCallback());
        QVERIFY(!TNvPrintPreview::CallPrintCallback());
        QVERIFY(!called);
    }
}

void TestPreview::failedPreparation()
{
    // A report whose records fail midway: the error is shown, and the pages so far can
    // be looked at but not printed, saved or exported as if they were the whole report.
    TSampleReport sample(RecordsFor(4));
    sample.Report.NeedData = [&sample]() -> bool {
        if (sample.Next == 6)
            throw Exception(QStringLiteral("The question text cannot be read."));
        sample.Label->Caption = QStringLiteral("Record %1").arg(++sample.Next);
        return true;
    };
    std::unique_ptr<TForm_Preview> w(TQRMDIPreviewInterface::CreateWindow(sample.Report, nullptr));
    w->show();
    QTRY_VERIFY(!sample.Report.IsPreparing());
    QTRY_COMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Error);
    QCOMPARE(TDialogSeam::Shown().first().Text, QStringLiteral("The question text cannot be read."));
    QVERIFY(w->QRPreview->PageCount() >= 1);
    QVERIFY(!w->PreparationFinished());
    QVERIFY(!Enabled(w->ToolButton_Print));
    QVERIFY(!Enabled(w->ToolButton_Save));
    QVERIFY(!Enabled(w->ToolButton_ExportPdf));
}

void TestPreview::openWhilePreparing()
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("two.QRP"));
    {
        TSampleReport two(RecordsFor(2));
        QVERIFY(two.Report.Prepare());
        QVERIFY(two.Report.Prepared().Save(saved, nullptr));
    }
    // The report's own pages stop; those of the file stay.
    TOpenPreview p = OpenPreview(5, false);
    QVERIFY(p.Sample->Report.IsPreparing());
    TDialogSeam::SetNextAnswer(ResultOK, saved);
    p.Window->ToolButton_OpenClick();
    QVERIFY(!p.Sample->Report.IsPreparing());
    QTest::qWait(100);
    QCOMPARE(p.Window->QRPreview->PageCount(), 2);
    QCOMPARE(p.Window->StatusPanel1->text(), QStringLiteral("Page 1 of 2"));
    QVERIFY(p.Window->PreparationFinished());
    QVERIFY(Enabled(p.Window->ToolButton_Print));
}

// Tab reaches every tool button, each named for a screen reader; the usual keys zoom and
// export; the page says which page of which test it is.
void TestPreview::keyboardReachesEveryCommand()
{
    TOpenPreview p = OpenPreview(3);
    TForm_Preview &w = *p.Window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.QRPreview->setFocus();
    QCOMPARE(AccessibleName(w.QRPreview), QStringLiteral("Page 1 of 3 - Sample"));
    QTest::keyClick(w.QRPreview, Qt::Key_PageDown);
    QCOMPARE(AccessibleName(w.QRPreview), QStringLiteral("Page 2 of 3 - Sample"));

    const TTabWalk walk = WalkByTab(&w);
    QVERIFY2(walk.Fault.isEmpty(), qPrintable(walk.Fault));
    for (const char *name : {"ToolButton_ZoomIn", "ToolButton_ZoomOut", "ToolButton_Save", "ToolButton_Open",
                             "ToolButton_ExportPdf", "Button_Close"})
        QVERIFY2(walk.Names().contains(QLatin1String(name)), qPrintable(walk.Names().join(", ")));
    for (QWidget *stop : walk.Stops)
        QVERIFY2(AccessibleFault(stop).isEmpty(), qPrintable(AccessibleFault(stop)));
    QCOMPARE(AccessibleName(w.ToolButton_ZoomIn), QStringLiteral("Zoom In"));

    w.QRPreview->SetZoom(100);
    QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
    QVERIFY(w.QRPreview->Zoom() > 100);
    const int zoomed = w.QRPreview->Zoom();
    QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
    QVERIFY(w.QRPreview->Zoom() < zoomed);
    TDialogSeam::ClearShown();
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!TDialogSeam::Shown().isEmpty());
    QCOMPARE(TDialogSeam::Shown().last().Caption, QStringLiteral("Export PDF"));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
