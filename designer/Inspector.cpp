#include "designer/Inspector.h"

#include "designer/AlignDialog.h"
#include "designer/Clipboard.h"
#include "designer/DesignForm.h"
#include "designer/EditMaskDialog.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/StretchHandle.h"
#include "designer/StringEdit.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/PropertyModel.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/Strings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int NameColLimit = 70; // neither column gets narrower by the mouse or a resize

bool IsTabPage(const QWidget *widget)
{
    return widget && widget->parentWidget() && qobject_cast<QStackedWidget *>(widget->parentWidget()) &&
           qobject_cast<QTabWidget *>(widget->parentWidget()->parentWidget());
}

const TPropInfo *FindProp(QObject *object, const QString &name, TPropObject *target)
{
    *target = PropObjectOf(object);
    return target->IsValid() ? target->Class->Find(name) : nullptr;
}

} // namespace

TInspector::TInspector(TObjectInspector *designer, QWidget *parent) : QDockWidget(parent), FDesigner(designer)
{
    setObjectName(QStringLiteral("Inspector"));
    setWindowTitle(QStringLiteral("Object Inspector"));
    setMinimumWidth(155);
    resize(230, 600);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel_Top = new QWidget(body);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setFixedHeight(33);
    ComboBox_Object = new QComboBox(Panel_Top);
    ComboBox_Object->setObjectName(QStringLiteral("ComboBox_Object"));
    ComboBox_Object->setGeometry(4, 5, 213, 22);
    layout->addWidget(Panel_Top);

    PageControl = new QTabWidget(body);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabSheet_Properties = new QWidget;
    TabSheet_Properties->setObjectName(QStringLiteral("TabSheet_Properties"));
    auto *sheetLayout = new QVBoxLayout(TabSheet_Properties);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    PropertyGrid = new TPropertyGrid(TabSheet_Properties);
    PropertyGrid->setObjectName(QStringLiteral("PropertyGrid"));
    PropertyGrid->SetDefaultNameColWidth(85);
    PropertyGrid->SetShowCheckColumn(false);
    PropertyGrid->SetRowCount(1);
    PropertyGrid->SetColor(clBtnFace);
    PropertyGrid->SetFixedColor(clBtnFace);
    PropertyGrid->SetEditFrameStyle(efFramed);
    PropertyGrid->SetValueColAutoSize(true);
    PropertyGrid->SetGridLineWidth(1);
    PropertyGrid->SetBorderStyle(bsSingle);
    PropertyGrid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing,
                              goAlwaysShowEditor, goThumbTracking});
    PropertyGrid->viewport()->setMouseTracking(true);
    PropertyGrid->setMouseTracking(true);
    PropertyGrid->viewport()->installEventFilter(this);
    sheetLayout->addWidget(PropertyGrid);
    PageControl->addTab(TabSheet_Properties, QStringLiteral("Properties"));
    layout->addWidget(PageControl, 1);

    Panel_Bottom = new QFrame(body);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    Panel_Bottom->setFrameShape(QFrame::Panel);
    Panel_Bottom->setFrameShadow(QFrame::Sunken);
    Panel_Bottom->setFixedHeight(71);
    auto *bottomLayout = new QVBoxLayout(Panel_Bottom);
    bottomLayout->setContentsMargins(5, 5, 5, 5);
    Label_Property = new QLabel(QStringLiteral("Property"), Panel_Bottom);
    Label_Property->setObjectName(QStringLiteral("Label_Property"));
    QFont bold = Label_Property->font();
    bold.setBold(true);
    Label_Property->setFont(bold);
    Label_Desc =
        new QLabel(QStringLiteral("This is where the description of the property in question goes."), Panel_Bottom);
    Label_Desc->setObjectName(QStringLiteral("Label_Desc"));
    Label_Desc->setWordWrap(true);
    Label_Desc->setFixedHeight(41);
    Label_Desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bottomLayout->addWidget(Label_Property);
    bottomLayout->addStretch(1);
    bottomLayout->addWidget(Label_Desc);
    layout->addWidget(Panel_Bottom);
    setWidget(body);

    FDPopupMenu_Control = new QMenu(this);
    FDPopupMenu_Control->setObjectName(QStringLiteral("FDPopupMenu_Control"));
    FDPopupMenu_Control->setProperty("Tag", -1);
    const auto item = [this](const char *name, const QString &caption, bool visible, int tag) {
        QAction *action = caption.isEmpty() ? FDPopupMenu_Control->addSeparator()
                                            : FDPopupMenu_Control->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setVisible(visible);
        action->setProperty("Tag", tag);
        return action;
    };
    FDSubMenuItem_NewPage = item("FDSubMenuItem_NewPage", QStringLiteral("Ne&w Page "), false, 0);
    FDSubMenuItem_NextPage = item("FDSubMenuItem_NextPage", QStringLiteral("Ne&xt Page"), false, 0);
    FDSubMenuItem_PreviousPage = item("FDSubMenuItem_PreviousPage", QStringLiteral("&Previous Page"), false, 0);
    FDN2 = item("FDN2", QString(), false, 0);
    FDSubMenuItem_Wizard = item("FDSubMenuItem_Wizard", QStringLiteral("Wizard"), false, 0);
    FDSubMenuItem_Align = item("FDSubMenuItem_Align", QStringLiteral("&Align"), true, -1);
    FDN3 = item("FDN3", QString(), true, 0);
    FDSubMenuItem_Cut = item("FDSubMenuItem_Cut", QStringLiteral("&Cut"), true, 0);
    FDSubMenuItem_Copy = item("FDSubMenuItem_Copy", QStringLiteral("C&opy"), true, 0);
    FDSubMenuItem_Paste = item("FDSubMenuItem_Paste", QStringLiteral("&Paste"), true, 0);
    N1 = item("N1", QString(), true, 0);
    FDSubMenuItem_Delete = item("FDSubMenuItem_Delete", QStringLiteral("&Delete"), true, 0);
    FDN1 = item("FDN1", QString(), false, -1);
    FDSubMenuItem_BringToFront = item("FDSubMenuItem_BringToFront", QStringLiteral("&Bring To Front"), true, -1);
    FDSubMenuItem_SendToBack = item("FDSubMenuItem_SendToBack", QStringLiteral("&Send To Back"), true, -1);

    connect(FDPopupMenu_Control, &QMenu::aboutToShow, this, &TInspector::FDPopupMenu_ControlPopup);
    connect(FDSubMenuItem_NewPage, &QAction::triggered, this, &TInspector::FDSubMenuItem_NewPageClick);
    connect(FDSubMenuItem_NextPage, &QAction::triggered, this,
            [this] { FDSubMenuItem_NextPageClick(FDSubMenuItem_NextPage); });
    connect(FDSubMenuItem_PreviousPage, &QAction::triggered, this,
            [this] { FDSubMenuItem_NextPageClick(FDSubMenuItem_PreviousPage); });
    connect(FDSubMenuItem_Align, &QAction::triggered, this, &TInspector::FDSubMenuItem_AlignClick);
    connect(FDSubMenuItem_Cut, &QAction::triggered, this, &TInspector::FDSubMenuItem_CutClick);
    connect(FDSubMenuItem_Copy, &QAction::triggered, this, &TInspector::FDSubMenuItem_CopyClick);
    connect(FDSubMenuItem_Paste, &QAction::triggered, this, &TInspector::FDSubMenuItem_PasteClick);
    connect(FDSubMenuItem_Delete, &QAction::triggered, this, &TInspector::FDSubMenuItem_DeleteClick);
    connect(FDSubMenuItem_BringToFront, &QAction::triggered, this, &TInspector::FDSubMenuItem_BringToFrontClick);
    connect(FDSubMenuItem_SendToBack, &QAction::triggered, this, &TInspector::FDSubMenuItem_SendToBackClick);
    connect(ComboBox_Object, &QComboBox::currentIndexChanged, this, &TInspector::ComboBox_ObjectChange);

    connect(PropertyGrid, &TCustomPrGrid::OnSelectCell, this, [this](int aCol, int aRow, bool *canSelect) {
        bool allow = canSelect ? *canSelect : true;
        PropertyGridSelectCell(aCol, aRow, allow);
        if (canSelect)
            *canSelect = allow;
    });
    connect(PropertyGrid, &TCustomPrGrid::OnKeyDown, this,
            [this](int *key, Qt::KeyboardModifiers shift) { PropertyGridKeyDown(*key, shift); });
    connect(PropertyGrid, &TCustomPrGrid::OnKeyUp, this,
            [this](int *key, Qt::KeyboardModifiers shift) { PropertyGridKeyUp(*key, shift); });
    connect(PropertyGrid, &TCustomPrGrid::OnKeyPress, this, [this](QChar *key) { PropertyGridKeyPress(*key); });
    connect(PropertyGrid, &TCustomPrGrid::OnComboCloseUp, this,
            [this](int aRow, int itemIndex, const QString &, bool) { PropertyGridComboCloseUp(aRow, itemIndex); });
    connect(PropertyGrid, &TCustomPrGrid::OnEditButtonClick, this,
            [this](int aRow, const QString &) { PropertyGridEditButtonClick(aRow); });
    connect(PropertyGrid, &TCustomPrGrid::OnSetEditText, this,
            [this](int, int aRow, const QString &value) { NotePendingEdit(aRow, value); });
    connect(PropertyGrid, &TCustomPrGrid::OnExit, this, &TInspector::PropertyGridExit);
    connect(PropertyGrid, &TCustomPrGrid::OnMouseDown, this, &TInspector::PropertyGridMouseDown);
    connect(PropertyGrid, &TCustomPrGrid::OnMouseMove, this, &TInspector::PropertyGridMouseMove);
    connect(PropertyGrid, &TCustomPrGrid::OnMouseUp, this, &TInspector::PropertyGridMouseUp);
    // Docked or floating, the window is active while the focus is inside it.
    connect(qApp, &QApplication::focusChanged, this, &TInspector::FocusChanged);
}

TInspector::~TInspector()
{
    DetachActivation();
}

void TInspector::DetachActivation()
{
    disconnect(qApp, &QApplication::focusChanged, this, &TInspector::FocusChanged);
}

void TInspector::MergeDescriptions(const QStringList &lines)
{
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? line : line.left(eq);
        const QString text = eq < 0 ? QString() : line.mid(eq + 1);
        qsizetype at = -1;
        for (qsizetype i = 0; i < DescriptionNames.size() && at < 0; ++i)
            if (DescriptionNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
                at = i;
        if (at >= 0) {
            DescriptionTexts[at] = text;
        } else {
            DescriptionNames << name;
            DescriptionTexts << text;
        }
    }
}

void TInspector::ShowDescription(const QString &name)
{
    Label_Property->setText(name);
    QString text;
    for (qsizetype i = 0; i < DescriptionNames.size(); ++i)
        if (DescriptionNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            text = DescriptionTexts.at(i);
    Label_Desc->setText(text);
}

void TInspector::RebuildComponentBox()
{
    QWidget *surface = FDesigner->DesignSurface();
    const QSignalBlocker blocker(ComboBox_Object);
    const QString chosen = ComboBox_Object->currentText();
    ComboBox_Object->clear();
    QStringList names;
    if (surface) {
        names << surface->objectName();
        for (QObject *component : OwnedComponents(surface)) {
            auto *control = qobject_cast<QWidget *>(component);
            if (control && !control->objectName().isEmpty() && control->parentWidget() && ControlTag(control) != -1 &&
                !qobject_cast<TStretchHandle *>(control))
                names << control->objectName();
        }
    }
    names.sort(Qt::CaseInsensitive);
    ComboBox_Object->addItems(names);
    ComboBox_Object->setCurrentIndex(ComboBox_Object->findText(chosen));
}

void TInspector::RefreshValues(bool force)
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    TPropertyList &list = FDesigner->FPropertyList;
    const QList<QWidget *> selection = handle ? handle->Selection() : QList<QWidget *>();
    const int current = PropertyGrid->Row();
    list.RefreshValues(selection, FDesigner->DesignSurface(), force ? -1 : current);
    // The rows are rewritten, not edited: nothing may echo back as an edit.
    const QSignalBlocker blocker(PropertyGrid);
    TCellValueProps *items = PropertyGrid->PropValues();
    for (int i = 0; i < list.Count() && i < items->Count(); ++i) {
        if (!force && i == current)
            continue;
        if (items->Items(i)->PropertyLabel() == list.Row(i).Name)
            items->Items(i)->SetPropertyValue(list.Row(i).Value);
    }
}

QString TInspector::TakeRowText(int row)
{
    TPropertyList &list = FDesigner->FPropertyList;
    if (row < 0 || row >= list.Count() || row >= PropertyGrid->RowCount())
        return QString();
    const QString text = PropertyGrid->Cells(PropertyGrid->ValueCol(), row);
    list.SetValue(row, text);
    return text;
}

void TInspector::CancelMouseCapture()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (FDesigner->StretchHandle)
        FDesigner->StretchHandle->SetCaptured(false);
}

// ---------------------------------------------------------------------------
// Window events

void TInspector::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TInspector::closeEvent(QCloseEvent *event)
{
    // Closing only hides the window; F11 or the host shows it again.
    event->ignore();
    hide();
}

bool TInspector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PropertyGrid->viewport()) {
        // The grid's client area decides; the window's own size arrives before its layout.
        if (event->type() == QEvent::Resize && PropertyGrid->isVisible())
            FormResize();
        // A press on the column divider only starts resizing; the grid must not move its row.
        if (event->type() == QEvent::MouseButtonPress && FSplitCursor &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            FResizing = true;
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void TInspector::FormShow()
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    QWidget *surface = FDesigner->DesignSurface();
    if (!handle || !surface)
        return;
    handle->ClearSelection();
    {
        const QSignalBlocker blocker(ComboBox_Object);
        if (ComboBox_Object->findText(surface->objectName()) < 0)
            RebuildComponentBox();
        ComboBox_Object->setCurrentIndex(ComboBox_Object->findText(surface->objectName()));
    }
    FDesigner->RefreshInspector();
}

void TInspector::FocusChanged(QWidget *old, QWidget *now)
{
    const auto inside = [this](QWidget *w) { return w && (w == this || isAncestorOf(w)); };
    if (inside(now) && !inside(old))
        FormActivate();
    else if (inside(old) && !inside(now))
        FormDeactivate();
}

void TInspector::FormActivate()
{
    RebuildComponentBox();
    FCheckCells = true;
}

void TInspector::FormDeactivate()
{
    // The refusal message takes the focus for a moment; the typed text stays for correcting.
    if (FRefusing)
        return;
    // Leaving the window never runs the leave-cell check, but a valid number typed there
    // is applied, as the teacher expects when he clicks elsewhere.
    CommitPendingEdit();
    RefreshValues(true);
    FCheckCells = false;
}

void TInspector::NotePendingEdit(int aRow, const QString &text)
{
    TPropertyList &list = FDesigner->FPropertyList;
    if (aRow < 0 || aRow >= list.Count())
        return;
    const QString type = list.Row(aRow).Type;
    if (type != QLatin1String("Integer") && type != QLatin1String("Float"))
        return;
    TStretchHandle *handle = FDesigner->StretchHandle;
    TPendingEdit pending{list.Row(aRow).Name, type, text, {}};
    for (QObject *target :
         PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface()))
        pending.Targets << target;
    FPending = pending;
}

void TInspector::CommitPendingEdit()
{
    if (!FPending)
        return;
    const TPendingEdit pending = *FPending;
    FPending.reset();
    const bool isInteger = pending.Type == QLatin1String("Integer");
    double number = 0;
    if (isInteger ? !IsValidInteger(pending.Text) : !TryTextToFloat(pending.Text, &number))
        return;
    bool changed = false;
    for (const QPointer<QObject> &target : pending.Targets) {
        if (!target)
            continue;
        try {
            if (isInteger) {
                const qint64 value = pending.Text.trimmed().toLongLong();
                if (GetOrdProp(target, pending.Name) != value) {
                    SetOrdProp(target, pending.Name, value);
                    changed = true;
                }
            } else if (GetFloatProp(target, pending.Name) != number) {
                SetFloatProp(target, pending.Name, number);
                changed = true;
            }
        } catch (const Exception &) {
        }
    }
    if (changed && FDesigner->StretchHandle)
        FDesigner->StretchHandle->UpdateHandles();
}

void TInspector::FormResize()
{
    if (!ComboBox_Object || !PropertyGrid)
        return;
    ComboBox_Object->resize(PropertyGrid->width(), ComboBox_Object->height());
    const int lines = 2;
    int name = PropertyGrid->DefaultNameColWidth();
    const int client = PropertyGrid->viewport()->width();
    if (PropertyGrid->width() > 100)
        while (name > NameColLimit && client - name - lines < NameColLimit)
            --name;
    if (name != PropertyGrid->DefaultNameColWidth())
        PropertyGrid->SetDefaultNameColWidth(name);
}

void TInspector::ComboBox_ObjectChange()
{
    if (FChangingBox)
        return;
    FChangingBox = true;
    const bool checking = FCheckCells;
    FCheckCells = false;
    QWidget *surface = FDesigner->DesignSurface();
    TStretchHandle *handle = FDesigner->StretchHandle;
    const QString name = ComboBox_Object->currentText();
    if (surface && handle) {
        QWidget *chosen = name == surface->objectName() ? surface
                                                        : qobject_cast<QWidget *>(FindComponent(surface, name));
        if (chosen) {
            ShowTabPagesOf(chosen);
            if (handle->IndexOfControl(chosen) < 0 || handle->SelectedCount() > 1) {
                handle->ClearSelection();
                if (chosen != surface)
                    handle->Attach(chosen);
            }
            FDesigner->RefreshInspector();
        }
    }
    FCheckCells = checking;
    FChangingBox = false;
}

// ---------------------------------------------------------------------------
// Control popup menu

QTabWidget *TInspector::SelectedPageControl() const
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    if (!handle || handle->SelectedCount() != 1)
        return nullptr;
    QWidget *control = handle->SelectedControls(0);
    if (auto *pages = qobject_cast<QTabWidget *>(control))
        return pages;
    return IsTabPage(control) ? qobject_cast<QTabWidget *>(control->parentWidget()->parentWidget()) : nullptr;
}

void TInspector::FDPopupMenu_ControlPopup()
{
    FDesigner->DoMenuPopup();
    TStretchHandle *handle = FDesigner->StretchHandle;
    const int count = handle ? handle->SelectedCount() : 0;
    FDSubMenuItem_Cut->setEnabled(count > 0 && FDesigner->CutAndPaste());
    FDSubMenuItem_Copy->setEnabled(count > 0 && FDesigner->CutAndPaste());
    FDSubMenuItem_Paste->setEnabled(handle && HasClipboardContent(handle) && FDesigner->CutAndPaste());
    FDSubMenuItem_Delete->setEnabled(count > 0 && FDesigner->AllowDeletes());
    FDSubMenuItem_Align->setEnabled(count > 1);
    FDSubMenuItem_BringToFront->setVisible(count == 1);
    FDSubMenuItem_SendToBack->setVisible(count == 1);
    const bool pages = SelectedPageControl() != nullptr;
    FDSubMenuItem_NewPage->setVisible(pages);
    FDSubMenuItem_NextPage->setVisible(pages);
    FDSubMenuItem_PreviousPage->setVisible(pages);
    FDN2->setVisible(pages);
}

void TInspector::FDSubMenuItem_NewPageClick()
{
    QTabWidget *pages = SelectedPageControl();
    TStretchHandle *handle = FDesigner->StretchHandle;
    QObject *owner = pages ? ComponentOwner(pages) : nullptr;
    if (!pages || !handle || !owner)
        return;
    auto *page = new QWidget;
    InsertComponent(owner, page);
    const QString name = UniqueComponentName(QStringLiteral("TTabSheet"), owner);
    SetComponentName(page, name);
    pages->addTab(page, name);
    FDesigner->DoCreateControl(page);
    pages->setCurrentWidget(page);
    handle->ClearSelection();
    handle->Attach(page);
    RebuildComponentBox();
    FDesigner->RouteMouseEvents();
    FDesigner->RefreshInspector();
}

void TInspector::FDSubMenuItem_NextPageClick(QAction *sender)
{
    QTabWidget *pages = SelectedPageControl();
    if (!pages || pages->count() == 0)
        return;
    const int step = sender == FDSubMenuItem_PreviousPage ? -1 : 1;
    pages->setCurrentIndex((pages->currentIndex() + step + pages->count()) % pages->count());
}

void TInspector::FDSubMenuItem_AlignClick()
{
    TForm_Align dialog(FDesigner->StretchHandle);
    dialog.exec();
}

void TInspector::FDSubMenuItem_CutClick()
{
    FDesigner->ClipboardCut(false);
}

void TInspector::FDSubMenuItem_CopyClick()
{
    FDesigner->ClipboardCopy();
}

void TInspector::FDSubMenuItem_PasteClick()
{
    FDesigner->ClipboardPaste();
}

void TInspector::FDSubMenuItem_DeleteClick()
{
    FDesigner->DeleteSelection(false);
}

void TInspector::FDSubMenuItem_BringToFrontClick()
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    if (!handle || handle->SelectedCount() != 1)
        return;
    handle->SelectedControls(0)->raise();
    handle->UpdateHandles();
}

void TInspector::FDSubMenuItem_SendToBackClick()
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    if (!handle || handle->SelectedCount() != 1)
        return;
    handle->SelectedControls(0)->lower();
    handle->UpdateHandles();
}

// ---------------------------------------------------------------------------
// Grid handlers

void TInspector::AdjustSpecialRow(int row)
{
    TPropertyList &list = FDesigner->FPropertyList;
    if (row < 0 || row >= list.Count() || row >= PropertyGrid->PropValues()->Count())
        return;
    const QString name = list.Row(row).Name;
    TPropEditMode mode = list.Row(row).EditMode;
    const int kindRow = list.FindRow(QStringLiteral("Kind"));
    const QString kind = kindRow >= 0 ? list.Row(kindRow).Value : QString();
    if (name == QLatin1String("DateMode")) {
        if (kindRow < 0)
            return;
        mode = kind == QLatin1String("dtkTime") ? emNoEdit : emPickList;
    } else if (name == QLatin1String("PopupTime")) {
        if (kindRow < 0)
            return;
        mode = kind == QLatin1String("dtkDate") ? emNoEdit : emPickList;
    } else if (name == QLatin1String("Visible") || name == QLatin1String("ReadOnly") ||
               name == QLatin1String("Required") || name == QLatin1String("Enabled")) {
        const QList<QWidget *> selection = FDesigner->StretchHandle ? FDesigner->StretchHandle->Selection()
                                                                    : QList<QWidget *>();
        mode = list.IsEditable(name, selection) ? emPickList : emNoEdit;
    } else {
        return;
    }
    list.SetEditMode(row, mode);
    TCellValueProp *item = PropertyGrid->PropValues()->Items(row);
    item->SetEditMode(mode);
    item->SetReadOnly(mode == emPickList || mode == emEllipsis);
}

void TInspector::PropertyGridSelectCell(int aCol, int aRow, bool &canSelect)
{
    if (!FCheckCells) {
        FDesigner->DoSelectCell(aCol, aRow, canSelect);
        return;
    }
    TPropertyList &list = FDesigner->FPropertyList;
    TStretchHandle *handle = FDesigner->StretchHandle;
    const QList<QObject *> targets =
        PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface());
    const int count = handle ? handle->SelectedCount() : 0;
    const int row = PropertyGrid->Row();
    if (row >= 0 && row < list.Count()) {
        const QString type = list.Row(row).Type;
        const bool isInteger = type == QLatin1String("Integer");
        const bool isFloat = type == QLatin1String("Float");
        if (isInteger || isFloat) {
            const QString text = TakeRowText(row);
            double number = 0;
            const bool valid = isInteger ? IsValidInteger(text) : TryTextToFloat(text, &number);
            if (!valid) {
                // An empty text over several controls stands for values that differ.
                if (count > 1 && text.isEmpty()) {
                    // nothing to apply
                } else {
                    canSelect = false;
                    const QString message = QLatin1Char('"') + text + QLatin1Char('"') +
                                            (isInteger ? QStringLiteral(" is not a valid integer value.")
                                                       : QStringLiteral(" is not a valid floating point value."));
                    FRefusing = true;
                    SaveMsgDialog(message, MsgWarning, BtnOK);
                    FRefusing = false;
                    // The refused text stays in the editor, selected, to be corrected.
                    if (TPropertyInplaceEdit *editor = PropertyGrid->PropertyEditor()) {
                        if (PropertyGrid->Cells(PropertyGrid->ValueCol(), row) != text)
                            PropertyGrid->SetCells(PropertyGrid->ValueCol(), row, text);
                        if (editor->text() != text)
                            editor->setText(text);
                        editor->setFocus();
                        editor->selectAll();
                    }
                    return;
                }
            } else {
                FPending.reset();
                if (isInteger ? list.ApplyOrdinal(row, targets) : list.ApplyFloat(row, targets))
                    RefreshValues(true);
            }
        }
    }
    if (handle)
        handle->UpdateHandles();
    CancelMouseCapture();
    if (aRow >= 0 && aRow < list.Count())
        ShowDescription(list.Row(aRow).Name);
    AdjustSpecialRow(aRow);
    FDesigner->DoSelectCell(aCol, aRow, canSelect);
    canSelect = true;
}

void TInspector::PropertyGridKeyDown(int &key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    TPropertyList &list = FDesigner->FPropertyList;
    TStretchHandle *handle = FDesigner->StretchHandle;
    const int row = PropertyGrid->Row();
    if (row < 0 || row >= list.Count())
        return;
    const QString type = list.Row(row).Type;
    const QString text = TakeRowText(row);
    const QList<QObject *> targets =
        PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface());
    double number = 0;
    if (type == QLatin1String("Integer") && IsValidInteger(text))
        list.ApplyOrdinal(row, targets);
    else if (type == QLatin1String("Float") && TryTextToFloat(text, &number))
        list.ApplyFloat(row, targets);
    else
        return;
    FPending.reset();
    RefreshValues(true);
    if (handle)
        handle->UpdateHandles();
}

void TInspector::PropertyGridKeyUp(int &key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_PageDown)
        return;
    TPropertyList &list = FDesigner->FPropertyList;
    TStretchHandle *handle = FDesigner->StretchHandle;
    const int row = PropertyGrid->Row();
    if (row < 0 || row >= list.Count() || list.Row(row).Type != QLatin1String("String") ||
        list.Row(row).EditMode != emSimple)
        return;
    const QString text = TakeRowText(row);
    const int count = handle ? handle->SelectedCount() : 0;
    // An empty text over several controls stands for values that differ.
    if (count > 1 && text.isEmpty() && key != Qt::Key_Backspace && key != Qt::Key_Delete && key != Qt::Key_Clear)
        return;
    list.ApplyString(row,
                     PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface()));
    RefreshValues(false);
    if (handle)
        handle->UpdateHandles();
}

void TInspector::PropertyGridKeyPress(QChar &key)
{
    TPropertyList &list = FDesigner->FPropertyList;
    const int row = PropertyGrid->Row();
    if (row < 0 || row >= list.Count() || list.Row(row).Type != QLatin1String("Boolean") ||
        PropertyGrid->EditModeOf(row) != emPickList)
        return;
    const QChar upper = key.toUpper();
    if (upper != QLatin1Char('T') && upper != QLatin1Char('F'))
        return;
    const int index =
        list.Row(row).PickList.indexOf(upper == QLatin1Char('T') ? QStringLiteral("True") : QStringLiteral("False"));
    key = QChar();
    if (index >= 0)
        PropertyGrid->PropertyEditor()->ChooseItem(index);
}

void TInspector::PropertyGridComboCloseUp(int aRow, int itemIndex)
{
    TPropertyList &list = FDesigner->FPropertyList;
    TStretchHandle *handle = FDesigner->StretchHandle;
    if (aRow < 0 || aRow >= list.Count())
        return;
    if (itemIndex >= 0 && itemIndex < list.Row(aRow).PickList.size())
        list.SetValue(aRow, list.Row(aRow).PickList.at(itemIndex));
    const bool changed = list.ApplyOrdinal(
        aRow, PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface()));
    if (changed) {
        CancelMouseCapture();
        RefreshValues(false);
        if (handle)
            handle->UpdateHandles();
    }
}

void TInspector::PropertyGridEditButtonClick(int aRow)
{
    FDesigner->DoEditButtonClick();
    TPropertyList &list = FDesigner->FPropertyList;
    if (aRow < 0 || aRow >= list.Count())
        return;
    const TPropertyRow row = list.Row(aRow);
    if (row.Value == QLatin1String("(TStrings)") && !list.EditButtonProps.contains(row.Name, Qt::CaseInsensitive)) {
        EditStrings(aRow);
    } else if (row.Name == QLatin1String("EditMask")) {
        EditMask(aRow);
    } else if (row.Name == QLatin1String("Font")) {
        EditFont();
    } else {
        TStretchHandle *handle = FDesigner->StretchHandle;
        try {
            list.ApplyText(
                aRow, PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface()));
        } catch (const Exception &) {
        }
    }
}

void TInspector::EditStrings(int row)
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    const QList<QObject *> targets =
        PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface());
    if (targets.isEmpty())
        return;
    const QString name = FDesigner->FPropertyList.Row(row).Name;
    TPropObject object;
    const TPropInfo *p = FindProp(targets.first(), name, &object);
    if (!p || p->Kind != TPropKind::Object || p->ObjectClass != StringsClassInfo() || !p->GetObj)
        return;
    auto *strings = static_cast<TStrings *>(p->GetObj(object.Self));
    if (!strings)
        return;
    TForm_StringEdit dialog(this);
    dialog.SetLines(strings->Lines());
    dialog.exec();
    if (dialog.ModalResult() != ResultOK)
        return;
    // Through the property's setter, never into the list in place: the setter is what
    // copies Answers into the visible Items.
    TStrings edited;
    edited.Assign(dialog.Lines());
    for (QObject *target : targets) {
        TPropObject each;
        const TPropInfo *q = FindProp(target, name, &each);
        if (q && q->Kind == TPropKind::Object && q->ObjectClass == StringsClassInfo() && q->SetObj)
            q->SetObj(each.Self, &edited);
    }
    RefreshValues(false);
    if (handle)
        handle->UpdateHandles();
}

void TInspector::EditMask(int row)
{
    TForm_Editmask dialog(this);
    dialog.InputMask = FDesigner->FPropertyList.Row(row).Value;
    dialog.exec();
    if (dialog.ModalResult() != ResultOK)
        return;
    TPropertyList &list = FDesigner->FPropertyList;
    TStretchHandle *handle = FDesigner->StretchHandle;
    list.SetRow(row, QStringLiteral("EditMask"), emEllipsis, QStringLiteral("String"), dialog.InputMask);
    {
        const QSignalBlocker blocker(PropertyGrid);
        if (row < PropertyGrid->PropValues()->Count())
            PropertyGrid->PropValues()->Items(row)->SetPropertyValue(dialog.InputMask);
    }
    list.ApplyString(row,
                     PropertyTargets(handle ? handle->Selection() : QList<QWidget *>(), FDesigner->DesignSurface()));
    RefreshValues(false);
}

void TInspector::EditFont()
{
    TStretchHandle *handle = FDesigner->StretchHandle;
    QWidget *surface = FDesigner->DesignSurface();
    QList<QObject *> controls;
    if (handle && handle->SelectedCount() > 0) {
        for (QWidget *control : handle->Selection())
            controls << control;
    } else if (surface) {
        const QString chosen = ComboBox_Object->currentText();
        QObject *object = chosen == surface->objectName() ? surface : FindComponent(surface, chosen);
        if (object)
            controls << object;
    }
    TFont *first = nullptr;
    bool effects = true;
    bool requiredSeen = false;
    qint64 required = 0;
    for (QObject *control : std::as_const(controls)) {
        TPropObject object;
        const TPropInfo *font = FindProp(control, QStringLiteral("Font"), &object);
        if (!first && font && font->GetObj && font->ObjectClass == FontClassInfo())
            first = static_cast<TFont *>(font->GetObj(object.Self));
        if (const TPropInfo *req = FindProp(control, QStringLiteral("Required"), &object);
            req && req->IsOrdinal() && req->GetOrd) {
            const qint64 value = req->GetOrd(object.Self);
            if (requiredSeen && value != required)
                effects = false;
            requiredSeen = true;
            required = value;
        }
        // Date pickers draw their text in the system's colour.
        if (control->inherits("QDateTimeEdit"))
            effects = false;
    }
    if (!first)
        return;
    if (requiredSeen && required != 0)
        effects = false;
    FontDialog.Font.Assign(*first);
    FontDialog.Effects = effects;
    const bool chosen = FontDialog.Execute(this);
    if (QWidget *owner = surface ? surface->window() : nullptr)
        owner->raise();
    window()->raise();
    if (!chosen)
        return;
    for (QObject *control : std::as_const(controls)) {
        TPropObject object;
        const TPropInfo *font = FindProp(control, QStringLiteral("Font"), &object);
        if (font && font->GetObj && font->ObjectClass == FontClassInfo())
            if (auto *target = static_cast<TFont *>(font->GetObj(object.Self)))
                target->Assign(FontDialog.Font);
    }
    RefreshValues(false);
    if (handle)
        handle->UpdateHandles();
}

void TInspector::PropertyGridExit()
{
    CancelMouseCapture();
}

void TInspector::PropertyGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (button != Qt::LeftButton)
        return;
    if (FSplitCursor) {
        FResizing = true;
        return;
    }
    const TGridCoord cell = PropertyGrid->MouseCoord(QPoint(x, y));
    if (cell.X == 0 && cell.Y >= 0 && cell.Y < PropertyGrid->RowCount())
        PropertyGrid->SetRow(cell.Y);
}

void TInspector::PropertyGridMouseMove(Qt::KeyboardModifiers, int x, int y)
{
    Q_UNUSED(y);
    TPropertyList &list = FDesigner->FPropertyList;
    const int row = PropertyGrid->Row();
    PropertyGrid->setToolTip(row >= 0 && row < list.Count() ? list.Row(row).Value : QString());
    const int name = PropertyGrid->DefaultNameColWidth();
    FSplitCursor = FResizing || (x >= name - 1 && x <= name + 1);
    PropertyGrid->viewport()->setCursor(FSplitCursor ? Qt::SplitHCursor : Qt::ArrowCursor);
    if (FResizing && x >= NameColLimit && x <= PropertyGrid->width() - NameColLimit)
        PropertyGrid->SetDefaultNameColWidth(x);
}

void TInspector::PropertyGridMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    PropertyGrid->viewport()->setCursor(Qt::ArrowCursor);
    FResizing = false;
    FSplitCursor = false;
}
