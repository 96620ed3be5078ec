#include "designer/ObjectInspector.h"

#include "designer/Clipboard.h"
#include "designer/DesignForm.h"
#include "designer/PropertyGrid.h"
#include "designer/StretchHandle.h"
#include "designer/SurfaceControls.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The selection handle as a screen reader hears it: a grip named for what it holds.
class TAccessibleHandle : public QAccessibleWidget {
public:
    explicit TAccessibleHandle(TStretchHandle *handle) : QAccessibleWidget(handle, QAccessible::Grip) { }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        QStringList names;
        for (const QWidget *control : static_cast<const TStretchHandle *>(widget())->Selection())
            names << control->objectName();
        return names.isEmpty() ? QStringLiteral("No Selection") : names.join(QStringLiteral(", "));
    }
};

QAccessibleInterface *HandleAccessible(const QString &, QObject *object)
{
    auto *handle = qobject_cast<TStretchHandle *>(object);
    return handle ? new TAccessibleHandle(handle) : nullptr;
}

// The dotted rectangle dragged over the empty surface to select several controls.
class TRubberBand : public QWidget {
public:
    explicit TRubberBand(QWidget *parent) : QWidget(parent)
    {
        setProperty("DesignerObject", true);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// Panels, tab pages, group boxes and scroll boxes take a new control inside them.
bool IsContainer(const QWidget *widget)
{
    if (!widget)
        return false;
    const QMetaObject *meta = widget->metaObject();
    if (meta == &QGroupBox::staticMetaObject || meta == &QFrame::staticMetaObject ||
        qobject_cast<const QScrollArea *>(widget))
        return true;
    return widget->parentWidget() && qobject_cast<const QTabWidget *>(widget->parentWidget()->parentWidget());
}

QWidget *CreationParentOf(QWidget *control)
{
    if (auto *pages = qobject_cast<QTabWidget *>(control))
        return pages->currentWidget();
    return IsContainer(control) ? control : nullptr;
}

Qt::KeyboardModifiers ExactModifiers(Qt::KeyboardModifiers shift)
{
    return shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

// ---------------------------------------------------------------------------
// TObjectInspector

TObjectInspector::TObjectInspector(QObject *owner) : QObject(nullptr)
{
    setObjectName(QStringLiteral("ObjectInspector"));
    if (owner)
        InsertComponent(owner, this);
    FDesignForm = new TDesignForm(this);
    static const bool handleHeard = (QAccessible::installFactory(HandleAccessible), true);
    Q_UNUSED(handleHeard);
}

TObjectInspector::~TObjectInspector()
{
    if (InspectorForm)
        InspectorForm->DetachActivation();
    // The surface goes first (with the handle and the rubber band), then the window.
    delete FDesignForm;
    FDesignForm = nullptr;
    StretchHandle = nullptr;
    // The host may have freed a docked window with its own main window already.
    delete FInspectorGuard.data();
}

QWidget *TObjectInspector::DesignSurface() const
{
    return FDesignForm ? FDesignForm->Surface() : nullptr;
}

bool TObjectInspector::Activate()
{
    if (!TemplateForm) {
        SaveMsgDialog(QStringLiteral("There is no form assigned to the Object Inspector!"), MsgWarning, BtnOK);
        return false;
    }
    try {
        FDesignForm->TemplateForm = TemplateForm;
        FDesignForm->Designer = this;
        if (!FDesignForm->BuildSurface())
            return false;
        QWidget *surface = DesignSurface();
        FDesignForm->OnSurfaceResize = [this] {
            if (InspectorForm && InspectorForm->ComboBox_Object->currentText() == QLatin1String("Form_Design"))
                RefreshInspector();
        };

        if (!InspectorForm) {
            InspectorForm = new TInspector(this);
            FInspectorGuard = InspectorForm;
            connect(InspectorForm, &QObject::destroyed, this, [this] { InspectorForm = nullptr; });
            InspectorForm->MergeDescriptions(FPropertyDescriptions);
        }
        StretchHandle = new TStretchHandle(surface, surface);
        StretchHandle->Designer = this;
        // The surface may be freed by the window the host placed it in.
        connect(StretchHandle, &QObject::destroyed, this, [this, handle = StretchHandle] {
            if (StretchHandle == handle)
                StretchHandle = nullptr;
        });

        InspectorForm->DisplayGrid = FDisplayGrid;
        InspectorForm->GridX = FGridX;
        InspectorForm->GridY = FGridY;
        StretchHandle->SetGridX(FGridX & 0xFF);
        StretchHandle->SetGridY(FGridY & 0xFF);
        InspectorForm->setGeometry(FInspectorLeft, FInspectorTop, FInspectorWidth, FInspectorHeight);
        InspectorForm->Panel_Bottom->setVisible(FShowDescriptions);

        StretchHandle->OnMouseDown = [this](QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                            const QPoint &pos) { SurfaceMouseDown(sender, button, shift, pos); };
        StretchHandle->OnMouseUp = [this](QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                          const QPoint &pos) { SurfaceMouseUp(sender, button, shift, pos); };
        StretchHandle->PopupMenu = InspectorForm->FDPopupMenu_Control;
        StretchHandle->SnapToGrid = FSnapToGrid;
        StretchHandle->CutAndPaste = FCutAndPaste;
        StretchHandle->AllowDeletes = FAllowDeletes;
        StretchHandle->ClearCutBufferOnPaste = FClearCutBufferOnPaste;
        StretchHandle->CreateText = FCreateText;
        StretchHandle->installEventFilter(this);

        FRubberBand = new TRubberBand(surface);
        FRubberBanding = false;

        if (auto *form = qobject_cast<TForm_DesignForm *>(surface)) {
            form->KeyPreview = true;
            form->OnKeyDown = [this](int &key, Qt::KeyboardModifiers shift) { FormKeyDown(key, shift); };
            form->OnPaint = [this](QPainter &painter) { FormPaint(painter); };
        }
        surface->setMouseTracking(true);
        // The surface is a Tab stop of its window, read out by what it holds.
        if (surface->accessibleName().isEmpty())
            surface->setAccessibleName(QStringLiteral("Question Design"));

        InspectorForm->RebuildComponentBox();
        {
            QComboBox *box = InspectorForm->ComboBox_Object;
            const QSignalBlocker blocker(box);
            box->setCurrentIndex(box->findText(surface->objectName()));
        }
        RouteMouseEvents();
        RefreshSurface();
        RefreshInspector();
        return true;
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgWarning, BtnOK);
        return false;
    }
}

void TObjectInspector::ShowInspector()
{
    if (InspectorForm) {
        InspectorForm->show();
        InspectorForm->raise();
    }
}

void TObjectInspector::RefreshSurface()
{
    if (QWidget *surface = DesignSurface())
        surface->update();
}

void TObjectInspector::FormPaint(QPainter &painter)
{
    QWidget *surface = DesignSurface();
    if (!surface || !InspectorForm || !InspectorForm->DisplayGrid || FGridX <= 0 || FGridY <= 0)
        return;
    const int n = RoundHalfEven(static_cast<double>(surface->width()) / FGridX);
    const int m = RoundHalfEven(static_cast<double>(surface->height()) / FGridY);
    QPolygon dots;
    dots.reserve((n + 1) * (m + 1));
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= m; ++j)
            dots << QPoint(i * FGridX, j * FGridY);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPoints(dots);
}

QWidget *TObjectInspector::CreatePreviewForm()
{
    try {
        return FDesignForm->BuildPreview();
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgWarning, BtnOK);
        return nullptr;
    }
}

void TObjectInspector::BeginCreateControl(const QString &className, QString &text)
{
    try {
        text = FDesignForm->MakeDefaultText(className);
    } catch (const Exception &e) {
        text.clear();
        ShowErrorBox(e.Message());
    }
    FCreateText = text;
    if (StretchHandle)
        StretchHandle->CreateText = text;
}

void TObjectInspector::SetCreateText(const QString &text)
{
    FCreateText = text;
    if (StretchHandle) {
        StretchHandle->CreateText = text;
        if (!text.isEmpty())
            StretchHandle->ClearSelection();
    }
}

void TObjectInspector::SelectControl(QWidget *control)
{
    if (!StretchHandle || !control)
        return;
    StretchHandle->Attach(control);
    ShowTabPagesOf(control);
    if (StretchHandle->SelectedCount() > 0)
        StretchHandle->show();
    RefreshInspector();
}

QWidget *TObjectInspector::CreateControl(const QString &className, const QPoint &position)
{
    QWidget *surface = DesignSurface();
    if (!surface || !StretchHandle)
        return nullptr;
    QString text;
    BeginCreateControl(className, text);
    if (text.isEmpty())
        return nullptr;
    StretchHandle->SetCaptured(false);
    // Painted once the host has placed the new control, not where it was made.
    surface->setUpdatesEnabled(false);
    const QPointer<QWidget> control = CreateControlAt(surface, position);
    if (StretchHandle)
        StretchHandle->Creating = false;
    surface->setUpdatesEnabled(true);
    surface->update();
    return control.data();
}

void TObjectInspector::AdoptControl(QWidget *control)
{
    if (!control)
        return;
    RouteMouseEvents();
    if (InspectorForm)
        InspectorForm->RebuildComponentBox();
    SelectControl(control);
}

void TObjectInspector::RemoveSelectedControls()
{
    if (!StretchHandle)
        return;
    StretchHandle->DeleteSelected();
    RefreshComponents();
}

void TObjectInspector::ClearSurface()
{
    if (!StretchHandle)
        return;
    StretchHandle->ClearSelection();
    QList<QPointer<QWidget>> controls;
    for (QWidget *control : DesignedControls())
        controls << control;
    for (auto it = controls.crbegin(); it != controls.crend(); ++it)
        if (it->data())
            DestroyControl(it->data());
    RefreshComponents();
}

QList<QWidget *> TObjectInspector::DesignedControls() const
{
    QList<QWidget *> controls;
    QWidget *surface = DesignSurface();
    if (!surface)
        return controls;
    for (QObject *component : OwnedComponents(surface)) {
        auto *control = qobject_cast<QWidget *>(component);
        if (control && !control->objectName().isEmpty() && !qobject_cast<TStretchHandle *>(control) &&
            control != FRubberBand && ControlTag(control) != -1)
            controls << control;
    }
    return controls;
}

int TObjectInspector::SelectedCount() const
{
    return StretchHandle ? StretchHandle->SelectedCount() : 0;
}

QWidget *TObjectInspector::SelectedControl(int index) const
{
    return index >= 0 && index < SelectedCount() ? StretchHandle->SelectedControls(index) : nullptr;
}

void TObjectInspector::MoveControl(QWidget *control, const QPoint &topLeft)
{
    if (control)
        SetControlBounds(control, QRect(topLeft, control->size()));
}

void TObjectInspector::UpdateHandles()
{
    if (StretchHandle)
        StretchHandle->UpdateHandles();
}

void TObjectInspector::RefreshComponents()
{
    if (InspectorForm)
        InspectorForm->RebuildComponentBox();
    RefreshInspector();
}

QDockWidget *TObjectInspector::InspectorWindow() const
{
    return InspectorForm;
}

QMenu *TObjectInspector::ControlMenu() const
{
    return InspectorForm ? InspectorForm->FDPopupMenu_Control : nullptr;
}

void TObjectInspector::SetObjectListVisible(bool visible)
{
    if (InspectorForm)
        InspectorForm->Panel_Top->setVisible(visible);
}

int TObjectInspector::FitNameColumn(const QStringList &names)
{
    TPropertyGrid *grid = InspectorForm ? InspectorForm->PropertyGrid : nullptr;
    if (!grid)
        return 0;
    int width = grid->DefaultNameColWidth();
    for (const QString &name : names)
        width = std::max(width, grid->fontMetrics().horizontalAdvance(name) + 8);
    grid->SetDefaultNameColWidth(width);
    return width;
}

void TObjectInspector::LoadRows()
{
    if (!InspectorForm)
        return;
    TPropertyGrid *grid = InspectorForm->PropertyGrid;
    const QSignalBlocker blocker(grid);
    grid->BeginUpdate();
    const int count = std::max(1, FPropertyList.Count());
    if (grid->RowCount() != count)
        grid->SetRowCount(count);
    TCellValueProps *items = grid->PropValues();
    items->BeginUpdate();
    for (int i = 0; i < items->Count(); ++i) {
        TCellValueProp *item = items->Items(i);
        if (i >= FPropertyList.Count()) {
            item->SetPropertyLabel(QString());
            item->SetPropertyValue(QString());
            continue;
        }
        const TPropertyRow &row = FPropertyList.Row(i);
        item->SetPropertyLabel(row.Name);
        item->SetPropertyValue(row.Value);
        item->SetPropertyType(row.Type);
        item->SetEditMode(row.EditMode);
        item->SetReadOnly(row.ReadOnly());
        item->SetPickList(row.PickList.isEmpty() ? nullptr : &row.PickList);
    }
    items->EndUpdate();
    grid->EndUpdate();
}

void TObjectInspector::RefreshInspector()
{
    if (!InspectorForm || !StretchHandle)
        return;
    InspectorForm->CommitPendingEdit();
    QWidget *surface = DesignSurface();
    QComboBox *box = InspectorForm->ComboBox_Object;
    {
        const QSignalBlocker blocker(box);
        if (surface && box->findText(surface->objectName()) < 0)
            InspectorForm->RebuildComponentBox();
        const int count = StretchHandle->SelectedCount();
        if (count == 0 && surface)
            box->setCurrentIndex(box->findText(surface->objectName()));
        else if (count == 1)
            box->setCurrentIndex(box->findText(StretchHandle->SelectedControls(0)->objectName()));
        else
            box->setCurrentIndex(-1);
    }
    QString current;
    SelectedPropertyName(current);
    FPropertyList.Rebuild(StretchHandle->Selection(), surface);
    LoadRows();
    TPropertyGrid *grid = InspectorForm->PropertyGrid;
    const int row = std::max(0, FPropertyList.FindRow(current));
    if (row < grid->RowCount() && grid->Row() != row) {
        const QSignalBlocker blocker(grid);
        grid->SetRow(row);
    }
    QString name;
    SelectedPropertyName(name);
    InspectorForm->ShowDescription(name);
}

void TObjectInspector::ApplyEditButtonProps()
{
    RefreshInspector();
}

int TObjectInspector::FindPropertyRow(const QString &name) const
{
    return FPropertyList.FindRow(name);
}

void TObjectInspector::GetPropertyValue(int row, QString &value) const
{
    if (row >= 0 && row < FPropertyList.Count())
        value = FPropertyList.Row(row).Value;
}

bool TObjectInspector::SetPropertyValue(int row, const QString &value)
{
    if (row < 0 || row >= FPropertyList.Count() || !StretchHandle)
        return false;
    TPropertyGrid *grid = InspectorForm ? InspectorForm->PropertyGrid : nullptr;
    if (grid && row < grid->RowCount()) {
        const QSignalBlocker blocker(grid);
        grid->SetRow(row);
    }
    const QString old = FPropertyList.Row(row).Value;
    FPropertyList.SetValue(row, value);
    bool accepted = false;
    try {
        accepted = FPropertyList.ApplyText(row, PropertyTargets(StretchHandle->Selection(), DesignSurface()));
    } catch (const Exception &) {
        accepted = false;
    }
    if (accepted)
        StretchHandle->UpdateHandles();
    else
        FPropertyList.SetValue(row, old);
    if (grid && row < grid->PropValues()->Count())
        grid->PropValues()->Items(row)->SetPropertyValue(FPropertyList.Row(row).Value);
    return accepted;
}

void TObjectInspector::SelectedPropertyName(QString &name) const
{
    name.clear();
    if (!InspectorForm)
        return;
    const int row = InspectorForm->PropertyGrid->Row();
    if (row >= 0 && row < FPropertyList.Count())
        name = FPropertyList.Row(row).Name;
}

void TObjectInspector::GridSelectCell(int aCol, int aRow, bool &canSelect)
{
    if (InspectorForm)
        InspectorForm->PropertyGridSelectCell(aCol, aRow, canSelect);
    else
        DoSelectCell(aCol, aRow, canSelect);
}

// ---------------------------------------------------------------------------
// Published properties

void TObjectInspector::SetAllowDeletes(bool value)
{
    FAllowDeletes = value;
    if (StretchHandle)
        StretchHandle->AllowDeletes = value;
}

void TObjectInspector::SetBitMaskProps(const QStringList &value)
{
    FPropertyList.BitMaskProps = value;
}

void TObjectInspector::SetBitMaskTags(bool value)
{
    FPropertyList.BitMaskTags = value;
}

void TObjectInspector::SetClearCutBufferOnPaste(bool value)
{
    FClearCutBufferOnPaste = value;
    if (StretchHandle)
        StretchHandle->ClearCutBufferOnPaste = value;
}

void TObjectInspector::SetCutAndPaste(bool value)
{
    FCutAndPaste = value;
    if (StretchHandle)
        StretchHandle->CutAndPaste = value;
}

void TObjectInspector::SetDisplayGrid(bool value)
{
    FDisplayGrid = value;
    if (InspectorForm)
        InspectorForm->DisplayGrid = value;
    RefreshSurface();
}

void TObjectInspector::SetEditButtonProps(const QStringList &value)
{
    FPropertyList.EditButtonProps = value;
}

void TObjectInspector::SetGridX(int value)
{
    FGridX = value;
    if (InspectorForm)
        InspectorForm->GridX = value;
    if (StretchHandle)
        StretchHandle->SetGridX(value & 0xFF);
    RefreshSurface();
}

void TObjectInspector::SetGridY(int value)
{
    FGridY = value;
    if (InspectorForm)
        InspectorForm->GridY = value;
    if (StretchHandle)
        StretchHandle->SetGridY(value & 0xFF);
    RefreshSurface();
}

int TObjectInspector::InspectorLeft() const
{
    return InspectorForm ? InspectorForm->x() : FInspectorLeft;
}

void TObjectInspector::SetInspectorLeft(int value)
{
    FInspectorLeft = value;
    if (InspectorForm)
        InspectorForm->move(value, InspectorForm->y());
}

int TObjectInspector::InspectorTop() const
{
    return InspectorForm ? InspectorForm->y() : FInspectorTop;
}

void TObjectInspector::SetInspectorTop(int value)
{
    FInspectorTop = value;
    if (InspectorForm)
        InspectorForm->move(InspectorForm->x(), value);
}

int TObjectInspector::InspectorWidth() const
{
    return InspectorForm ? InspectorForm->width() : FInspectorWidth;
}

void TObjectInspector::SetInspectorWidth(int value)
{
    FInspectorWidth = value;
    if (InspectorForm)
        InspectorForm->resize(value, InspectorForm->height());
}

int TObjectInspector::InspectorHeight() const
{
    return InspectorForm ? InspectorForm->height() : FInspectorHeight;
}

void TObjectInspector::SetInspectorHeight(int value)
{
    FInspectorHeight = value;
    if (InspectorForm)
        InspectorForm->resize(InspectorForm->width(), value);
}

void TObjectInspector::SetPropertyDescriptions(const QStringList &value)
{
    FPropertyDescriptions = value;
    if (InspectorForm)
        InspectorForm->MergeDescriptions(value);
}

void TObjectInspector::SetShowDescriptions(bool value)
{
    FShowDescriptions = value;
    if (InspectorForm)
        InspectorForm->Panel_Bottom->setVisible(value);
}

void TObjectInspector::SetSnapToGrid(bool value)
{
    FSnapToGrid = value;
    if (StretchHandle)
        StretchHandle->SnapToGrid = value;
}

void TObjectInspector::SetSupportedProps(const QStringList &value)
{
    FPropertyList.SupportedProps = value;
}

void TObjectInspector::SetUnSupportedProps(const QStringList &value)
{
    FPropertyList.UnSupportedProps = value;
}

void TObjectInspector::SetUnEditableProps(const QStringList &value)
{
    FPropertyList.UnEditableProps = value;
}

// ---------------------------------------------------------------------------
// Events

void TObjectInspector::DoCreateControl(QWidget *control)
{
    if (OnCreateControl)
        OnCreateControl(this, control);
}

void TObjectInspector::DoEditButtonClick()
{
    if (OnEditButtonClick)
        OnEditButtonClick(this);
}

void TObjectInspector::DoBeforeCopy(bool &canCopy)
{
    if (OnBeforeCopy)
        OnBeforeCopy(this, canCopy);
}

void TObjectInspector::DoBeforeCut(bool &canCut)
{
    if (OnBeforeCut)
        OnBeforeCut(this, canCut);
}

void TObjectInspector::DoDelete(bool &success)
{
    if (OnDelete)
        OnDelete(this, success);
}

void TObjectInspector::DoBeforeDelete(bool &canDelete)
{
    if (OnBeforeDelete)
        OnBeforeDelete(this, canDelete);
}

void TObjectInspector::DoBeforePaste(bool &canPaste)
{
    if (OnBeforePaste)
        OnBeforePaste(this, canPaste);
}

void TObjectInspector::DoMenuPopup()
{
    if (OnMenuPopup)
        OnMenuPopup(this);
}

void TObjectInspector::DoSelectCell(int aCol, int aRow, bool &canSelect)
{
    if (OnSelectCell)
        OnSelectCell(this, aCol, aRow, canSelect);
}

// ---------------------------------------------------------------------------
// Clipboard and deleting

void TObjectInspector::ClipboardCut(bool fromKey)
{
    QWidget *surface = DesignSurface();
    if (!FCutAndPaste || !StretchHandle || !surface || StretchHandle->SelectedCount() == 0)
        return;
    bool canCut = true;
    DoBeforeCut(canCut);
    if (!canCut)
        return;
    CutSelection(StretchHandle, surface);
    if (fromKey)
        StretchHandle->SelectLastControl();
    if (InspectorForm)
        InspectorForm->RebuildComponentBox();
    RefreshInspector();
}

void TObjectInspector::ClipboardCopy()
{
    QWidget *surface = DesignSurface();
    if (!FCutAndPaste || !StretchHandle || !surface || StretchHandle->SelectedCount() == 0)
        return;
    bool canCopy = true;
    DoBeforeCopy(canCopy);
    if (canCopy)
        CopySelection(StretchHandle, surface);
}

bool TObjectInspector::ClipboardPaste()
{
    QWidget *surface = DesignSurface();
    if (!FCutAndPaste || !StretchHandle || !surface)
        return false;
    bool canPaste = true;
    DoBeforePaste(canPaste);
    if (!canPaste)
        return false;
    try {
        PasteControls(StretchHandle, surface, [this](QWidget *control) { DoCreateControl(control); });
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
    }
    RouteMouseEvents();
    if (InspectorForm)
        InspectorForm->RebuildComponentBox();
    RefreshInspector();
    return true;
}

void TObjectInspector::DeleteSelection(bool fromKey)
{
    if (!FAllowDeletes || !StretchHandle)
        return;
    bool canDelete = true;
    DoBeforeDelete(canDelete);
    if (!canDelete)
        return;
    StretchHandle->DeleteSelected();
    if (InspectorForm)
        InspectorForm->RebuildComponentBox();
    if (fromKey) {
        StretchHandle->SelectLastControl();
        if (StretchHandle->SelectedCount() == 1)
            ShowTabPagesOf(StretchHandle->SelectedControls(0));
    } else {
        RefreshInspector();
    }
    bool success = true;
    DoDelete(success);
    if (fromKey)
        RefreshInspector();
}

// ---------------------------------------------------------------------------
// Mouse and keys

QWidget *TObjectInspector::DesignControlOf(QObject *watched) const
{
    QWidget *surface = DesignSurface();
    auto *widget = qobject_cast<QWidget *>(watched);
    while (widget && widget != surface) {
        if (ComponentOwner(widget) == surface && ControlTag(widget) != -1)
            return widget;
        widget = widget->parentWidget();
    }
    return nullptr;
}

void TObjectInspector::RouteMouseEvents()
{
    QWidget *surface = DesignSurface();
    if (!surface)
        return;
    surface->installEventFilter(this);
    for (QWidget *widget : surface->findChildren<QWidget *>()) {
        if (widget == StretchHandle || widget == FRubberBand || ControlTag(widget) == -1)
            continue;
        if (StretchHandle && StretchHandle->isAncestorOf(widget))
            continue;
        widget->installEventFilter(this);
        // The handle is the Tab stop of the selection; the control is edited through the inspector.
        widget->setFocusPolicy(Qt::NoFocus);
    }
}

bool TObjectInspector::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *surface = DesignSurface();
    if (!surface)
        return false;
    const QEvent::Type type = event->type();

    if (watched == StretchHandle) {
        // The surface previews the keys of the handle when it is a window of its own.
        if (type == QEvent::KeyPress && surface->isWindow()) {
            auto *keyEvent = static_cast<QKeyEvent *>(event);
            int key = keyEvent->key();
            FormKeyDown(key, keyEvent->modifiers());
            return key == 0;
        }
        return false;
    }

    const bool isSurface = watched == surface;
    // A control the host put on the surface itself is designed like a created one.
    if (isSurface && type == QEvent::ChildPolished)
        RouteMouseEvents();
    QWidget *control = isSurface ? nullptr : DesignControlOf(watched);
    if (!isSurface && !control)
        return false;

    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        QWidget *sender = isSurface ? surface : control;
        const QPoint pos = sender->mapFromGlobal(mouse->globalPosition().toPoint());
        const bool captured = StretchHandle && StretchHandle->Captured() && !StretchHandle->PassingThrough() &&
                              StretchHandle->isVisible() && !FRubberBanding;
        if (type == QEvent::MouseMove) {
            if (captured)
                StretchHandle->HandleMouseMove(mouse->buttons(), mouse->modifiers(),
                                               StretchHandle->mapFromGlobal(mouse->globalPosition().toPoint()));
            else
                SurfaceMouseMove(sender, mouse->modifiers(), pos);
        } else if (type == QEvent::MouseButtonRelease) {
            if (captured)
                StretchHandle->HandleMouseUp(mouse->button(), mouse->buttons(), mouse->modifiers(),
                                             StretchHandle->mapFromGlobal(mouse->globalPosition().toPoint()));
            else
                SurfaceMouseUp(sender, mouse->button(), mouse->modifiers(), pos);
        } else {
            SurfaceMouseDown(sender, mouse->button(), mouse->modifiers(), pos);
        }
        return true;
    }
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        // Live controls on the surface are designed, not used.
        return !isSurface;
    case QEvent::KeyPress:
        if (!isSurface && surface->isWindow()) {
            auto *keyEvent = static_cast<QKeyEvent *>(event);
            int key = keyEvent->key();
            FormKeyDown(key, keyEvent->modifiers());
            return key == 0;
        }
        return false;
    default:
        return false;
    }
}

void TObjectInspector::ForwardToSurface(QWidget *from, QMouseEvent *event)
{
    QWidget *surface = DesignSurface();
    if (!surface)
        return;
    const QPoint pos = surface->mapFromGlobal(from->mapToGlobal(event->position().toPoint()));
    switch (event->type()) {
    case QEvent::MouseMove:
        SurfaceMouseMove(surface, event->modifiers(), pos);
        break;
    case QEvent::MouseButtonRelease:
        SurfaceMouseUp(surface, event->button(), event->modifiers(), pos);
        break;
    default:
        SurfaceMouseDown(surface, event->button(), event->modifiers(), pos);
        break;
    }
}

QRect TObjectInspector::NormalizedBand(const QPoint &to) const
{
    return QRect(QPoint(std::min(to.x(), FBandOrigin.x()), std::min(to.y(), FBandOrigin.y())),
                 QSize(std::abs(to.x() - FBandOrigin.x()), std::abs(to.y() - FBandOrigin.y())));
}

void TObjectInspector::SurfaceMouseDown(QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                        const QPoint &pos)
{
    QWidget *surface = DesignSurface();
    TStretchHandle *handle = StretchHandle;
    if (!surface || !handle)
        return;

    if (sender == surface) {
        handle->SetCaptured(false);
        if (button == Qt::RightButton) {
            if (EmptySurfaceActions) {
                handle->ClearSelection();
                RefreshInspector();
                if (InspectorForm)
                    InspectorForm->FDPopupMenu_Control->popup(surface->mapToGlobal(pos));
            }
            return;
        }
        if (button != Qt::LeftButton)
            return;
        if (!FCreateText.isEmpty()) {
            CreateControlAt(surface, pos);
            return;
        }
        FRubberBanding = true;
        FBandOrigin = pos;
        // A press the handle passed on leaves the handle hidden; the surface keeps the
        // mouse until the release instead.
        if (handle->PassingThrough()) {
            surface->grabMouse();
            FBandGrab = true;
        }
        if (FRubberBand) {
            FRubberBand->setGeometry(QRect(pos, QSize(0, 0)));
            FRubberBand->raise();
            FRubberBand->show();
        }
        if (EmptySurfaceActions)
            handle->ClearSelection();
        RefreshInspector();
        return;
    }

    if (button == Qt::RightButton)
        return;
    if (sender == handle) {
        QWidget *first = handle->SelectedControls(0);
        if (!FCreateText.isEmpty() && first) {
            if (QWidget *inside = CreationParentOf(first))
                CreateControlAt(inside, pos);
            else if (first->parentWidget())
                CreateControlAt(first->parentWidget(), pos + first->pos());
        } else if ((shift & Qt::ShiftModifier) && handle->SelectedCount() > 1) {
            QList<QWidget *> others = handle->Selection();
            others.removeAt(std::max(0, handle->CurrentIndex()));
            handle->ClearSelection();
            for (QWidget *control : std::as_const(others))
                handle->Attach(control);
        }
    } else {
        if (!FCreateText.isEmpty()) {
            if (QWidget *inside = CreationParentOf(sender))
                CreateControlAt(inside, sender->mapTo(inside, pos));
            else if (sender->parentWidget())
                CreateControlAt(sender->parentWidget(), sender->mapTo(sender->parentWidget(), pos));
        } else if (shift & Qt::ShiftModifier) {
            handle->Attach(sender);
        } else if (handle->SelectedControls(handle->CurrentIndex()) != sender) {
            handle->ClearSelection();
            handle->Attach(sender);
        }
    }
    RefreshInspector();
    if (handle->SelectedCount() > 0) {
        handle->SetCaptured(true);
        // The user clicked into the surface: the keys belong to the selection now.
        if (handle->window()->isActiveWindow())
            handle->setFocus(Qt::MouseFocusReason);
    }
    handle->SetLocked(false);
    handle->update();
}

void TObjectInspector::SurfaceMouseMove(QWidget *sender, Qt::KeyboardModifiers, const QPoint &pos)
{
    QWidget *surface = DesignSurface();
    if (sender == surface && FRubberBanding) {
        if (FRubberBand)
            FRubberBand->setGeometry(NormalizedBand(pos));
        surface->setCursor(Qt::ArrowCursor);
        return;
    }
    if (sender)
        sender->setCursor(Qt::ArrowCursor);
}

void TObjectInspector::SurfaceMouseUp(QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &pos)
{
    QWidget *surface = DesignSurface();
    TStretchHandle *handle = StretchHandle;
    if (!surface || !handle)
        return;
    if (sender != surface) {
        if (button == Qt::RightButton)
            return;
        RefreshInspector();
        handle->Creating = false;
        return;
    }
    if (FRubberBanding) {
        FRubberBanding = false;
        if (FBandGrab)
            surface->releaseMouse();
        FBandGrab = false;
        if (FRubberBand)
            FRubberBand->hide();
        const int w = std::abs(pos.x() - FBandOrigin.x()), h = std::abs(pos.y() - FBandOrigin.y());
        if (w > 0 && h > 0) {
            const int left = std::min(pos.x(), FBandOrigin.x()), top = std::min(pos.y(), FBandOrigin.y());
            // Attaching raises the handle, which reorders the surface's children.
            const QObjectList children = surface->children();
            for (QObject *child : children) {
                auto *control = qobject_cast<QWidget *>(child);
                if (!control || control == handle || control == FRubberBand || ControlTag(control) == -1 ||
                    control->isWindow() || control->isHidden())
                    continue;
                const QPoint corner = control->pos();
                if (corner.x() >= left && corner.x() <= left + w && corner.y() >= top && corner.y() <= top + h)
                    handle->Attach(control);
            }
            RefreshInspector();
        }
    }
    handle->SetCaptured(false);
    surface->setCursor(Qt::ArrowCursor);
    handle->Creating = false;
    if (handle->SelectedCount() == 0)
        RefreshInspector();
}

QWidget *TObjectInspector::CreateControlAt(QWidget *parent, const QPoint &point)
{
    QWidget *surface = DesignSurface();
    TStretchHandle *handle = StretchHandle;
    handle->Creating = true;
    QWidget *control = nullptr;
    try {
        control = CreateControlFromText(surface, parent, FCreateText);
    } catch (const Exception &e) {
        control = nullptr;
        ShowErrorBox(e.Message());
    }
    if (control) {
        SetControlBounds(control, QRect(point, control->size()));
        SetComponentName(control, QString());
        SetComponentName(control, UniqueComponentName(ComponentClassName(control), surface));
        control->show();
        handle->ClearSelection();
        handle->Attach(control);
        DoCreateControl(control);
        RouteMouseEvents();
        if (InspectorForm)
            InspectorForm->RebuildComponentBox();
        RefreshInspector();
    }
    if (!RepeatCreate)
        SetCreateText(QString());
    surface->setCursor(Qt::ArrowCursor);
    return control;
}

void TObjectInspector::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers mods = ExactModifiers(shift);
    if (key == Qt::Key_F11) {
        ShowInspector();
    } else if (key == Qt::Key_V && mods == Qt::ControlModifier && FCutAndPaste) {
        // Consumed even when refused, so the handle does not ask a second time.
        ClipboardPaste();
        key = 0;
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) &&
               (mods == Qt::ShiftModifier || mods == Qt::ControlModifier)) {
        RefreshInspector();
    }
}
