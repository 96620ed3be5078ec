#include "question/QuestionControls.h"

#include "question/PropertyModel.h"
#include "question/PropertyTables.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

namespace {

void EnsureTables();

// Owner first, then the display parent, as every control is placed.
template <class T> void Place(T *control, QObject *owner, QWidget *parent)
{
    EnsureTables();
    InsertComponent(owner, control);
    if (parent)
        control->SetParentWidget(parent);
}

template <class T> TClassInfo NewClassInfo(const char *name)
{
    TClassInfo c;
    c.ClassName = QString::fromLatin1(name);
    c.Instance = [](QObject *object) -> void * { return qobject_cast<T *>(object); };
    c.Create = [](QObject *owner, QWidget *parent) -> QWidget * { return new T(owner, parent); };
    return c;
}

// ID, Question and CorrectAnswer of a question class.
template <class T> TPropInfo IDProp()
{
    return IntegerProp<T>(
        QStringLiteral("ID"), [](const T &c) { return c.ID(); }, [](T &c, int v) { c.SetID(v); });
}

template <class T> TPropInfo QuestionProp()
{
    return StringProp<T>(
        QStringLiteral("Question"), QStringLiteral("String"), [](const T &c) { return c.Question(); },
        [](T &c, const QString &v) { c.SetQuestion(v); });
}

template <class T> TPropInfo CorrectAnswerProp()
{
    return StringProp<T>(
        QStringLiteral("CorrectAnswer"), QStringLiteral("String"), [](const T &c) { return c.CorrectAnswer(); },
        [](T &c, const QString &v) { c.SetCorrectAnswer(v); });
}

template <class T> TPropInfo AnswersProp()
{
    return ObjectProp<T, TStrings>(
        QStringLiteral("Answers"), QStringLiteral("TStrings"), StringsClassInfo(), [](T &c) { return c.Answers(); },
        [](T &c, const TStrings &v) { c.SetAnswers(v); });
}

template <class T> TPropInfo BorderStyleProp()
{
    return EnumProp<T, TBorderStyle>(
               QStringLiteral("BorderStyle"), QStringLiteral("TBorderStyle"), PropNames::BorderStyle(),
               [](const T &c) { return c.BorderStyle(); }, [](T &c, TBorderStyle v) { c.SetBorderStyle(v); })
        .Def(bsSingle);
}

const QStringList &Words(const char *text)
{
    static QHash<const char *, QStringList> cache;
    auto it = cache.find(text);
    if (it == cache.end())
        it = cache.insert(text, QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return *it;
}

} // namespace

const TClassInfo *QAMaskEditClassInfo()
{
    using T = TQAMaskEdit;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQAMaskEdit");
        const QList<TPropInfo> own{
            BoolProp<T>(
                QStringLiteral("AutoSelect"), [](const T &c) { return c.AutoSelect(); },
                [](T &c, bool v) { c.SetAutoSelect(v); })
                .Def(1),
            BoolProp<T>(
                QStringLiteral("AutoSize"), [](const T &c) { return c.AutoSize; }, [](T &c, bool v) { c.AutoSize = v; })
                .Def(1),
            BorderStyleProp<T>(),
            EnumProp<T, TEditCharCase>(
                QStringLiteral("CharCase"), QStringLiteral("TEditCharCase"), Words("ecNormal ecUpperCase ecLowerCase"),
                [](const T &c) { return c.CharCase(); }, [](T &c, TEditCharCase v) { c.SetCharCase(v); })
                .Def(ecNormal),
            StringProp<T>(
                QStringLiteral("EditMask"), QStringLiteral("TEditMask"), [](const T &c) { return c.EditMask(); },
                [](T &c, const QString &v) { c.SetEditMask(v); }),
            IntegerProp<T>(
                QStringLiteral("MaxLength"), [](const T &c) { return c.MaxLength(); },
                [](T &c, int v) { c.SetMaxLength(v); })
                .Def(0),
            CharProp<T>(
                QStringLiteral("PasswordChar"), [](const T &c) { return c.PasswordChar().unicode(); },
                [](T &c, QChar v) { c.SetPasswordChar(v); })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("ReadOnly"), [](const T &c) { return c.ReadOnly(); },
                [](T &c, bool v) { c.SetReadOnly(v); })
                .Def(0),
            StringProp<T>(
                QStringLiteral("Text"), QStringLiteral("TMaskedText"), [](const T &c) { return c.Text(); },
                [](T &c, const QString &v) { c.SetText(v); }),
            CorrectAnswerProp<T>(),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext TabStop Anchors AutoSelect AutoSize "
                             "BiDiMode BorderStyle CharCase Color Constraints Ctl3D DragCursor DragKind DragMode "
                             "Enabled EditMask Font ImeMode ImeName MaxLength ParentBiDiMode ParentColor ParentCtl3D "
                             "ParentFont ParentShowHint PasswordChar PopupMenu ReadOnly ShowHint TabOrder Text Visible "
                             "CorrectAnswer ID Question",
                             own,
                             "OnChange OnClick OnDblClick OnDragDrop OnDragOver OnEndDock OnEndDrag OnEnter OnExit "
                             "OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp OnStartDock OnStartDrag");
        return cls;
    }();
    return &info;
}

const TClassInfo *QAComboboxClassInfo()
{
    using T = TQACombobox;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQACombobox");
        const QList<TPropInfo> own{
            EnumProp<T, TComboBoxStyle>(
                QStringLiteral("Style"), QStringLiteral("TComboBoxStyle"),
                Words("csDropDown csSimple csDropDownList csOwnerDrawFixed csOwnerDrawVariable"),
                [](const T &c) { return c.Style(); }, [](T &c, TComboBoxStyle v) { c.SetStyle(v); })
                .Def(csDropDown),
            IntegerProp<T>(
                QStringLiteral("DropDownCount"), [](const T &c) { return c.DropDownCount(); },
                [](T &c, int v) { c.SetDropDownCount(v); })
                .Def(8),
            IntegerProp<T>(
                QStringLiteral("ItemHeight"), [](const T &c) { return c.ItemHeight; },
                [](T &c, int v) { c.ItemHeight = v; }),
            IntegerProp<T>(
                QStringLiteral("MaxLength"), [](const T &c) { return c.MaxLength(); },
                [](T &c, int v) { c.SetMaxLength(v); })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("Sorted"), [](const T &c) { return c.Sorted(); }, [](T &c, bool v) { c.SetSorted(v); })
                .Def(0),
            StringProp<T>(
                QStringLiteral("Text"), QStringLiteral("TCaption"), [](const T &c) { return c.Text(); },
                [](T &c, const QString &v) { c.SetText(v); }),
            StringsProp<T>(QStringLiteral("Items"), [](T &c) { return c.Items(); }),
            AnswersProp<T>(),
            CorrectAnswerProp<T>(),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext TabStop Style Anchors BiDiMode Color "
                             "Constraints Ctl3D DragCursor DragKind DragMode DropDownCount Enabled Font ImeMode "
                             "ImeName ItemHeight MaxLength ParentBiDiMode ParentColor ParentCtl3D ParentFont "
                             "ParentShowHint PopupMenu ShowHint Sorted TabOrder Text Visible Items Answers "
                             "CorrectAnswer ID Question",
                             own,
                             "OnChange OnClick OnDblClick OnDragDrop OnDragOver OnDrawItem OnDropDown OnEndDock "
                             "OnEndDrag OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp OnMeasureItem OnStartDock "
                             "OnStartDrag");
        return cls;
    }();
    return &info;
}

const TClassInfo *QARadioGroupClassInfo()
{
    using T = TQARadioGroup;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQARadioGroup");
        const QList<TPropInfo> own{
            StringProp<T>(
                QStringLiteral("Caption"), QStringLiteral("TCaption"), [](const T &c) { return c.Caption(); },
                [](T &c, const QString &v) { c.SetCaption(v); }),
            IntegerProp<T>(
                QStringLiteral("Columns"), [](const T &c) { return c.Columns(); }, [](T &c, int v) { c.SetColumns(v); })
                .Def(1),
            IntegerProp<T>(
                QStringLiteral("ItemIndex"), [](const T &c) { return c.ItemIndex(); },
                [](T &c, int v) { c.SetItemIndex(v); })
                .Def(-1),
            StringsProp<T>(QStringLiteral("Items"), [](T &c) { return c.Items(); }),
            BoolProp<T>(
                QStringLiteral("ParentColor"), [](const T &c) { return c.ParentColor(); },
                [](T &c, bool v) { c.SetParentColor(v); })
                .Def(1),
            BoolProp<T>(
                QStringLiteral("TabStop"), [](const T &c) { return c.TabStop(); },
                [](T &c, bool v) { c.SetTabStop(v); })
                .Def(0),
            AnswersProp<T>(),
            CorrectAnswerProp<T>(),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext Align Anchors BiDiMode Caption Color "
                             "Columns Ctl3D DragCursor DragKind DragMode Enabled Font ItemIndex Items Constraints "
                             "ParentBiDiMode ParentColor ParentCtl3D ParentFont ParentShowHint PopupMenu ShowHint "
                             "TabOrder TabStop Visible Answers CorrectAnswer ID Question",
                             own,
                             "OnClick OnDragDrop OnDragOver OnEndDock OnEndDrag OnEnter OnExit OnStartDock "
                             "OnStartDrag");
        return cls;
    }();
    return &info;
}

const TClassInfo *QAListboxClassInfo()
{
    using T = TQAListbox;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQAListbox");
        const QList<TPropInfo> own{
            BorderStyleProp<T>(),
            IntegerProp<T>(
                QStringLiteral("Columns"), [](const T &c) { return c.Columns(); }, [](T &c, int v) { c.SetColumns(v); })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("ExtendedSelect"), [](const T &c) { return c.ExtendedSelect(); },
                [](T &c, bool v) { c.SetExtendedSelect(v); })
                .Def(1),
            BoolProp<T>(
                QStringLiteral("IntegralHeight"), [](const T &c) { return c.IntegralHeight; },
                [](T &c, bool v) { c.IntegralHeight = v; })
                .Def(0),
            IntegerProp<T>(
                QStringLiteral("ItemHeight"), [](const T &c) { return c.ItemHeight; },
                [](T &c, int v) { c.ItemHeight = v; }),
            StringsProp<T>(QStringLiteral("Items"), [](T &c) { return c.Items(); }),
            BoolProp<T>(
                QStringLiteral("MultiSelect"), [](const T &c) { return c.MultiSelect(); },
                [](T &c, bool v) { c.SetMultiSelect(v); })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("Sorted"), [](const T &c) { return c.Sorted(); }, [](T &c, bool v) { c.SetSorted(v); })
                .Def(0),
            EnumProp<T, TListBoxStyle>(
                QStringLiteral("Style"), QStringLiteral("TListBoxStyle"),
                Words("lbStandard lbOwnerDrawFixed lbOwnerDrawVariable"), [](const T &c) { return c.Style; },
                [](T &c, TListBoxStyle v) { c.Style = v; })
                .Def(lbStandard),
            IntegerProp<T>(
                QStringLiteral("TabWidth"), [](const T &c) { return c.TabWidth; }, [](T &c, int v) { c.TabWidth = v; })
                .Def(0),
            AnswersProp<T>(),
            ObjectProp<T, TStrings>(
                QStringLiteral("CorrectAnswers"), QStringLiteral("TStrings"), StringsClassInfo(),
                [](T &c) { return c.CorrectAnswers(); }, [](T &c, const TStrings &v) { c.SetCorrectAnswers(v); }),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext TabStop Align Anchors BiDiMode "
                             "BorderStyle Color Columns Constraints Ctl3D DragCursor DragKind DragMode Enabled "
                             "ExtendedSelect Font ImeMode ImeName IntegralHeight ItemHeight Items MultiSelect "
                             "ParentBiDiMode ParentColor ParentCtl3D ParentFont ParentShowHint PopupMenu ShowHint "
                             "Sorted Style TabOrder TabWidth Visible Answers CorrectAnswers ID Question",
                             own,
                             "OnClick OnDblClick OnDragDrop OnDragOver OnDrawItem OnEndDock OnEndDrag OnEnter OnExit "
                             "OnKeyDown OnKeyPress OnKeyUp OnMeasureItem OnMouseDown OnMouseMove OnMouseUp "
                             "OnStartDock OnStartDrag");
        return cls;
    }();
    return &info;
}

const TClassInfo *QARichEditClassInfo()
{
    using T = TQARichEdit;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQARichEdit");
        const QList<TPropInfo> own{
            EnumProp<T, TAlignment>(
                QStringLiteral("Alignment"), QStringLiteral("TAlignment"),
                Words("taLeftJustify taRightJustify taCenter"), [](const T &c) { return c.Alignment; },
                [](T &c, TAlignment v) { c.Alignment = v; })
                .Def(taLeftJustify),
            BorderStyleProp<T>(),
            IntegerProp<T>(
                QStringLiteral("BorderWidth"), [](const T &c) { return c.BorderWidth; },
                [](T &c, int v) { c.BorderWidth = std::max(0, v); }, QStringLiteral("TBorderWidth"))
                .Def(0),
            BoolProp<T>(
                QStringLiteral("HideSelection"), [](const T &c) { return c.HideSelection; },
                [](T &c, bool v) { c.HideSelection = v; })
                .Def(1),
            BoolProp<T>(
                QStringLiteral("HideScrollBars"), [](const T &c) { return c.HideScrollBars; },
                [](T &c, bool v) { c.HideScrollBars = v; })
                .Def(1),
            StringsProp<T>(QStringLiteral("Lines"), [](T &c) { return c.Lines(); }),
            IntegerProp<T>(
                QStringLiteral("MaxLength"), [](const T &c) { return c.MaxLength; },
                [](T &c, int v) { c.MaxLength = v; })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("PlainText"), [](const T &c) { return c.PlainText; },
                [](T &c, bool v) { c.PlainText = v; })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("ReadOnly"), [](const T &c) { return c.ReadOnly(); },
                [](T &c, bool v) { c.SetReadOnly(v); })
                .Def(0),
            EnumProp<T, TScrollStyle>(
                QStringLiteral("ScrollBars"), QStringLiteral("TScrollStyle"),
                Words("ssNone ssHorizontal ssVertical ssBoth"), [](const T &c) { return c.ScrollBars(); },
                [](T &c, TScrollStyle v) { c.SetScrollBars(v); })
                .Def(ssNone),
            BoolProp<T>(
                QStringLiteral("WantTabs"), [](const T &c) { return c.WantTabs(); },
                [](T &c, bool v) { c.SetWantTabs(v); })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("WantReturns"), [](const T &c) { return c.WantReturns; },
                [](T &c, bool v) { c.WantReturns = v; })
                .Def(1),
            BoolProp<T>(
                QStringLiteral("WordWrap"), [](const T &c) { return c.WordWrap(); },
                [](T &c, bool v) { c.SetWordWrap(v); })
                .Def(1),
            CorrectAnswerProp<T>(),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext TabStop Align Alignment Anchors "
                             "BiDiMode BorderStyle BorderWidth Color Ctl3D DragCursor DragKind DragMode Enabled Font "
                             "HideSelection HideScrollBars ImeMode ImeName Constraints Lines MaxLength ParentBiDiMode "
                             "ParentColor ParentCtl3D ParentFont ParentShowHint PlainText PopupMenu ReadOnly "
                             "ScrollBars ShowHint TabOrder Visible WantTabs WantReturns WordWrap CorrectAnswer ID "
                             "Question",
                             own,
                             "OnChange OnClick OnDblClick OnDragDrop OnDragOver OnEndDock OnEndDrag OnEnter OnExit "
                             "OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp OnProtectChange "
                             "OnResizeRequest OnSaveClipboard OnSelectionChange OnStartDock OnStartDrag");
        return cls;
    }();
    return &info;
}

const TClassInfo *QADateTimeClassInfo()
{
    using T = TQADateTime;
    static const TClassInfo info = [] {
        TClassInfo cls = NewClassInfo<T>("TQADateTime");
        const QList<TPropInfo> own{
            EnumProp<T, TDTCalAlignment>(
                QStringLiteral("CalAlignment"), QStringLiteral("TDTCalAlignment"), Words("dtaLeft dtaRight"),
                [](const T &c) { return c.CalAlignment; }, [](T &c, TDTCalAlignment v) { c.CalAlignment = v; }),
            ObjectProp<T, TMonthCalColors>(
                QStringLiteral("CalColors"), QStringLiteral("TMonthCalColors"), MonthCalColorsClassInfo(),
                [](T &c) { return c.CalColors(); }, [](T &c, const TMonthCalColors &v) { *c.CalColors() = v; }),
            FloatProp<T>(
                QStringLiteral("Date"), QStringLiteral("TDate"), [](const T &c) { return c.Date(); },
                [](T &c, double v) { c.SetDate(v); }),
            FloatProp<T>(
                QStringLiteral("Time"), QStringLiteral("TTime"), [](const T &c) { return c.Time(); },
                [](T &c, double v) { c.SetTime(v); }),
            BoolProp<T>(
                QStringLiteral("ShowCheckbox"), [](const T &c) { return c.ShowCheckbox; },
                [](T &c, bool v) { c.ShowCheckbox = v; })
                .Def(0),
            BoolProp<T>(
                QStringLiteral("Checked"), [](const T &c) { return c.Checked; }, [](T &c, bool v) { c.Checked = v; })
                .Def(1),
            EnumProp<T, TDTDateFormat>(
                QStringLiteral("DateFormat"), QStringLiteral("TDTDateFormat"), Words("dfShort dfLong"),
                [](const T &c) { return c.DateFormat(); }, [](T &c, TDTDateFormat v) { c.SetDateFormat(v); }),
            EnumProp<T, TDTDateMode>(
                QStringLiteral("DateMode"), QStringLiteral("TDTDateMode"), Words("dmComboBox dmUpDown"),
                [](const T &c) { return c.DateMode(); }, [](T &c, TDTDateMode v) { c.SetDateMode(v); }),
            EnumProp<T, TDateTimeKind>(
                QStringLiteral("Kind"), QStringLiteral("TDateTimeKind"), Words("dtkDate dtkTime"),
                [](const T &c) { return c.Kind(); }, [](T &c, TDateTimeKind v) { c.SetKind(v); }),
            FloatProp<T>(
                QStringLiteral("MaxDate"), QStringLiteral("TDate"), [](const T &c) { return c.MaxDate(); },
                [](T &c, double v) { c.SetMaxDate(v); }),
            FloatProp<T>(
                QStringLiteral("MinDate"), QStringLiteral("TDate"), [](const T &c) { return c.MinDate(); },
                [](T &c, double v) { c.SetMinDate(v); }),
            BoolProp<T>(
                QStringLiteral("ParseInput"), [](const T &c) { return c.ParseInput; },
                [](T &c, bool v) { c.ParseInput = v; }),
            CorrectAnswerProp<T>(),
            FloatProp<T>(
                QStringLiteral("DateAnswer"), QStringLiteral("TDateTime"), [](const T &c) { return c.DateAnswer(); },
                [](T &c, double v) { c.SetDateAnswer(v); }),
            IDProp<T>(),
            QuestionProp<T>(),
        };
        BuildControlTable<T>(cls,
                             "Tag Left Top Width Height Cursor Hint HelpContext Anchors BiDiMode CalAlignment "
                             "CalColors Constraints Date Time ShowCheckbox Checked Color DateFormat DateMode "
                             "DragCursor DragKind DragMode Enabled Font ImeMode ImeName Kind MaxDate MinDate "
                             "ParseInput ParentBiDiMode ParentColor ParentFont ParentShowHint PopupMenu ShowHint "
                             "TabOrder TabStop Visible CorrectAnswer DateAnswer ID Question",
                             own,
                             "OnClick OnCloseUp OnChange OnDropDown OnDblClick OnDragDrop OnDragOver OnEndDock "
                             "OnEndDrag OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp OnStartDock OnStartDrag "
                             "OnUserInput");
        return cls;
    }();
    return &info;
}

namespace {

void EnsureTables()
{
    static const bool done = [] {
        for (const TClassInfo *info : {QAMaskEditClassInfo(), QAComboboxClassInfo(), QARadioGroupClassInfo(),
                                       QAListboxClassInfo(), QARichEditClassInfo(), QADateTimeClassInfo()})
            AddClassInfo(info);
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

void RegisterQuestionClasses()
{
    EnsureTables();
    for (const TClassInfo *info : {QAMaskEditClassInfo(), QAComboboxClassInfo(), QADateTimeClassInfo(),
                                   QARadioGroupClassInfo(), QAListboxClassInfo(), QARichEditClassInfo()})
        RegisterClass(info);
}

bool IsQuestionControl(const QObject *object)
{
    return qobject_cast<const TQAMaskEdit *>(object) || qobject_cast<const TQACombobox *>(object) ||
           qobject_cast<const TQARadioGroup *>(object) || qobject_cast<const TQAListbox *>(object) ||
           qobject_cast<const TQARichEdit *>(object) || qobject_cast<const TQADateTime *>(object);
}

TQAMaskEdit::TQAMaskEdit(QObject *owner, QWidget *parent) : TEditBox(nullptr)
{
    Place(this, owner, parent);
}

TQACombobox::TQACombobox(QObject *owner, QWidget *parent) : TComboBox(nullptr)
{
    Place(this, owner, parent);
}

TQARadioGroup::TQARadioGroup(QObject *owner, QWidget *parent) : TRadioGroup(nullptr)
{
    Place(this, owner, parent);
}

void TQARadioGroup::SetAnswers(const QStringList &value)
{
    FAnswers.Assign(value);
    Items()->Assign(value);
}

TQAListbox::TQAListbox(QObject *owner, QWidget *parent) : TListBox(nullptr)
{
    Place(this, owner, parent);
}

void TQAListbox::SetAnswers(const QStringList &value)
{
    FAnswers.Assign(value);
    Items()->Assign(value);
}

TQARichEdit::TQARichEdit(QObject *owner, QWidget *parent) : TRichEdit(nullptr)
{
    Place(this, owner, parent);
}

TQADateTime::TQADateTime(QObject *owner, QWidget *parent) : TDateTimePicker(nullptr)
{
    Place(this, owner, parent);
}

void TQADateTime::SetCorrectAnswer(const QString &value)
{
    FCorrectAnswer = value;
    if (IsValidDate(value))
        FDateAnswer = DateToDayNumber(StrToDate(value));
}
