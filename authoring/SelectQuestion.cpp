#include "authoring/SelectQuestion.h"

#include "authoring/RecordWindow.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QLayout>
#include <QPainter>
#include <QPushButton>

namespace {

QIcon FindIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(32, 32, 32), 1.8));
    painter.drawEllipse(QRectF(2, 2, 8, 8));
    painter.setPen(QPen(QColor(96, 64, 32), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(14, 14));
    return QIcon(pixmap);
}

} // namespace

TForm_SelectQuestion::TForm_SelectQuestion(TDbQuery *query, QWidget *parent)
    : TListPickForm(parent, QStringLiteral("NvLabel_Questions"), QStringLiteral("Questions:"),
                    QStringLiteral("QAListbox_Questions")),
      Query(query)
{
    setObjectName(QStringLiteral("Form_SelectQuestion"));
    setWindowTitle(QStringLiteral("Select Question"));
    NvLabel_Questions = FLabel;
    QAListbox_Questions = FList;
    // The caption stands in another panel, where a screen reader does not look for it.
    QAListbox_Questions->setAccessibleName(QStringLiteral("Questions"));

    BitBtn_Find = new QPushButton(Panel_Top);
    BitBtn_Find->setObjectName(QStringLiteral("BitBtn_Find"));
    BitBtn_Find->setIcon(FindIcon());
    BitBtn_Find->setToolTip(QStringLiteral("Keyword Search"));
    BitBtn_Find->setAccessibleName(BitBtn_Find->toolTip());
    BitBtn_Find->setFixedSize(30, 23);
    BitBtn_Find->setAutoDefault(false);
    Panel_Top->layout()->addWidget(BitBtn_Find);
    // Before the list in the tab order, as it stands above it.
    setTabOrder(BitBtn_Find, QAListbox_Questions);

    connect(BitBtn_Find, &QPushButton::clicked, this, &TForm_SelectQuestion::BitBtn_FindClick);
}

int TForm_SelectQuestion::AddQuestion(const TControlDef &def)
{
    const int index = QAListbox_Questions->Items()->Add(def.Question);
    FRecords.insert(index, def);
    return index;
}

int TForm_SelectQuestion::AddText(const QString &text)
{
    const int index = QAListbox_Questions->Items()->Add(text);
    FRecords.insert(index, std::nullopt);
    return index;
}

void TForm_SelectQuestion::ClearItems()
{
    QAListbox_Questions->Items()->Clear();
    FRecords.clear();
}

const TControlDef *TForm_SelectQuestion::ControlDef(int index) const
{
    if (index < 0 || index >= FRecords.size() || !FRecords.at(index))
        return nullptr;
    return &*FRecords.at(index);
}

const TControlDef *TForm_SelectQuestion::SelectedControlDef() const
{
    return ControlDef(QAListbox_Questions->ItemIndex());
}

QString TForm_SelectQuestion::CurrentText() const
{
    const int index = QAListbox_Questions->ItemIndex();
    return index < 0 ? QString() : QAListbox_Questions->Items()->Strings(index);
}

void TForm_SelectQuestion::FormShow()
{
    if (LoadQuestions) {
        TStrings *items = QAListbox_Questions->Items();
        items->BeginUpdate();
        ClearItems();
        QString failure;
        try {
            RecordWindow::RequireQuery(Query);
            Query->Clear();
            Query->Add(QStringLiteral("SELECT * FROM controldef ORDER by QUESTION"));
            Query->Open();
            for (; !Query->Eof(); Query->Next()) {
                TControlDef def;
                def.ID = Query->FieldByName(QStringLiteral("ID")).AsInteger();
                def.Name = Query->FieldByName(QStringLiteral("NAME")).AsString();
                def.Question = Query->FieldByName(QStringLiteral("QUESTION")).AsString();
                def.Control = Query->FieldByName(QStringLiteral("CONTROL")).AsString();
                AddQuestion(def);
            }
            Query->Close();
        } catch (const Exception &e) {
            if (Query)
                Query->Close();
            failure = e.Message();
        }
        items->EndUpdate();
        if (!failure.isEmpty())
            SaveMsgDialog(failure, MsgError, BtnOK);
    }
    // A list of search results waits for the user's choice.
    ShowList(LoadQuestions);
}

void TForm_SelectQuestion::Button_OKClick()
{
    // Without a selection (an empty list, a double click below the items) nothing is chosen.
    Cancelled = QAListbox_Questions->ItemIndex() < 0;
    done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

QString TForm_SelectQuestion::KeywordPattern(const QString &keywords)
{
    QString pattern = keywords;
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    if (!pattern.startsWith(QLatin1Char('%')))
        pattern.prepend(QLatin1Char('%'));
    if (!pattern.endsWith(QLatin1Char('%')))
        pattern.append(QLatin1Char('%'));
    return pattern;
}

void TForm_SelectQuestion::BitBtn_FindClick()
{
    QString keywords;
    if (!InputQuery(QStringLiteral("Find question using keywords"), QStringLiteral("Enter keywords:"), keywords))
        return;

    QStringList found;
    try {
        RecordWindow::RequireQuery(Query);
        Query->Clear();
        Query->Add(QStringLiteral("SELECT QUESTION FROM controldef WHERE QUESTION LIKE") +
                   QuotedStr(KeywordPattern(keywords)));
        Query->Open();
        for (; !Query->Eof(); Query->Next())
            found << Query->FieldByName(QStringLiteral("QUESTION")).AsString();
        Query->Close();
    } catch (const Exception &e) {
        found.clear();
        if (Query)
            Query->Close();
        ShowErrorBox(e.Message() + QLatin1Char('\n') + (Query ? Query->Text() : QString()));
    }
    if (found.isEmpty()) {
        ShowMessage(QStringLiteral("No questions were found that matched the keywords!"));
        return;
    }

    QString chosen;
    {
        TForm_SelectQuestion results(Query, this);
        results.LoadQuestions = false;
        results.setWindowTitle(QStringLiteral("Find Question Results"));
        results.BitBtn_Find->hide();
        for (const QString &text : std::as_const(found))
            results.AddText(text);
        // Hidden without ending this window's own modal showing.
        const bool wasVisible = isVisible();
        QWidget::setVisible(false);
        results.exec();
        chosen = results.CurrentText();
        FShowingAgain = true;
        if (wasVisible)
            QWidget::setVisible(true);
        FShowingAgain = false;
    }

    const int index = chosen.isEmpty() ? -1 : QAListbox_Questions->Items()->IndexOf(chosen);
    if (index >= 0) {
        QAListbox_Questions->SetItemIndex(index);
        ListClick();
        Cancelled = false;
        done(QDialog::Accepted);
        return;
    }
    raise();
    activateWindow();
}
