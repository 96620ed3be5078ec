#include "authoring/StudentEdit.h"
#include "common/TestDatabase.h"
#include "database/Schema.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QPushButton>
#include <QtTest>

#include <sqlite3.h>

#include <functional>

// Two copies of Corvella on one file, each with its own connection: the second one's
// Add is clicked at the moment the first one's insert begins, after its own check.
class TestStudentIdRace : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TDialogSeam::EndScript(); }
    void secondCopyCannotSlipBetweenCheckAndInsert();
};

namespace {

void Type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void Fill(TForm_StudentEdit &form, const QString &last, const QString &sid)
{
    Type(form.Edit_LastName, last);
    Type(form.Edit_FirstName, "ANN");
    Type(form.Edit_StudentID, sid);
}

// Runs Then once, when a statement starting with Prefix begins on the connection.
struct TOnStatement {
    const char *Prefix;
    std::function<void()> Then;
    static int Trace(unsigned, void *context, void *, void *sql)
    {
        auto self = static_cast<TOnStatement *>(context);
        if (self->Then && qstrncmp(static_cast<const char *>(sql), self->Prefix, qstrlen(self->Prefix)) == 0) {
            const auto then = std::move(self->Then);
            self->Then = nullptr;
            then();
        }
        return 0;
    }
};

} // namespace

void TestStudentIdRace::secondCopyCannotSlipBetweenCheckAndInsert()
{
    TTestDatabase db;
    TDialogSeam::BeginScript();
    TDbConnection other;
    other.SetConnectionString(ConnectionStringFor(db.Path()));
    other.SetBusyTimeout(300);
    other.Open();
    TDbQuery otherQuery(&other);

    TForm_StudentEdit first(&db.Query());
    TForm_StudentEdit second(&otherQuery);
    first.show();
    second.show();
    Fill(first, "ADAMS", "S04");
    Fill(second, "BAKER", "s04");

    TOnStatement hook{"INSERT INTO studentmaster", [&] { QTest::mouseClick(second.BitBtn_Add, Qt::LeftButton); }};
    sqlite3_trace_v2(db.Connection().Handle(), SQLITE_TRACE_STMT, &TOnStatement::Trace, &hook);
    QTest::mouseClick(first.BitBtn_Add, Qt::LeftButton);
    sqlite3_trace_v2(db.Connection().Handle(), 0, nullptr, nullptr);
    QVERIFY(!hook.Then);

    // The second copy had to wait for the first one's step and stored nothing.
    QCOMPARE(db.Column({"SELECT LASTNAME FROM studentmaster WHERE STUDENTID = 's04'"}), QStringList({"ADAMS"}));
    QCOMPARE(second.StringGrid->Cells(TForm_StudentEdit::ColStudentID, 1), QString());
    // Tried again, it is told who has the ID.
    TDialogSeam::ClearShown();
    QTest::mouseClick(second.BitBtn_Add, Qt::LeftButton);
    QVERIFY2(TDialogSeam::LastText().contains("ADAMS, ANN (S04)"), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM studentmaster"}), QStringList({"1"}));

    // Changing an ID is the same one step: BAKER, once stored, cannot take the ID that
    // the first copy is adding meanwhile.
    Fill(second, "BAKER", "S05");
    QTest::mouseClick(second.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(second.StringGrid->Cells(TForm_StudentEdit::ColStudentID, 1), QStringLiteral("S05"));
    Fill(first, "CLARK", "S06");
    Type(second.Edit_StudentID, "s06");
    hook = {"INSERT INTO studentmaster", [&] { QTest::mouseClick(second.BitBtn_Update, Qt::LeftButton); }};
    sqlite3_trace_v2(db.Connection().Handle(), SQLITE_TRACE_STMT, &TOnStatement::Trace, &hook);
    QTest::mouseClick(first.BitBtn_Add, Qt::LeftButton);
    sqlite3_trace_v2(db.Connection().Handle(), 0, nullptr, nullptr);
    QVERIFY(!hook.Then);
    QCOMPARE(db.Column({"SELECT LASTNAME FROM studentmaster WHERE STUDENTID = 'S06'"}), QStringList({"CLARK"}));
    QCOMPARE(db.Column({"SELECT STUDENTID FROM studentmaster WHERE LASTNAME = 'BAKER'"}), QStringList({"S05"}));
}

QTEST_MAIN(TestStudentIdRace)
#include "tst_studentidrace.moc"
