#include "designer/Clipboard.h"

#include "designer/DesignForm.h"
#include "designer/StretchHandle.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/ObjectText.h"
#include "question/PropertyModel.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"

#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

QStringList TextLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

QString JoinLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

int Indentation(const QString &line)
{
    int n = 0;
    while (n < line.size() && line.at(n).isSpace())
        ++n;
    return n;
}

// "object Name: TClass" (also inherited/inline), at any indentation.
struct TObjectLine {
    QString Keyword; // as written
    QString Name; // empty when unnamed
    QString Rest; // class name and anything after it, as written
    bool HasColon = false;
};

bool ParseObjectLine(const QString &line, TObjectLine &out)
{
    const QString t = line.trimmed();
    for (const char *keyword : {"object ", "inherited ", "inline "}) {
        const QLatin1String k(keyword);
        if (!t.startsWith(k, Qt::CaseInsensitive))
            continue;
        out.Keyword = t.left(k.size() - 1);
        const QString body = t.mid(k.size());
        const qsizetype colon = body.indexOf(QLatin1Char(':'));
        out.HasColon = colon >= 0;
        out.Name = out.HasColon ? body.left(colon).trimmed() : QString();
        out.Rest = out.HasColon ? body.mid(colon + 1).trimmed() : body.trimmed();
        return true;
    }
    return false;
}

bool IsEndLine(const QString &line)
{
    return line.trimmed() == QLatin1String("end");
}

// The name of a property line ("Left = 10" gives "Left"); empty when it is none.
QString PropertyNameOf(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return QString();
    const QString name = line.left(eq).trimmed();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    return identifier.match(name).hasMatch() ? name : QString();
}

// Replaces the value of the property line at index, and drops the lines that continue
// its old value (the deeper indented ones below it).
void ReplaceProperty(QStringList &lines, qsizetype index, const QString &indent, const QString &value)
{
    const int depth = Indentation(lines.at(index));
    const QString name = PropertyNameOf(lines.at(index));
    lines[index] = indent + name + QStringLiteral(" = ") + value;
    while (index + 1 < lines.size() && !lines.at(index + 1).trimmed().isEmpty() &&
           Indentation(lines.at(index + 1)) > depth)
        lines.removeAt(index + 1);
}

bool IsTabPage(const QWidget *control)
{
    return control && control->parentWidget() &&
           qobject_cast<const QTabWidget *>(control->parentWidget()->parentWidget());
}

QTabWidget *PageControlOf(QWidget *target)
{
    if (auto *pages = qobject_cast<QTabWidget *>(target))
        return pages;
    if (qobject_cast<QStackedWidget *>(target))
        return qobject_cast<QTabWidget *>(target->parentWidget());
    return nullptr;
}

// Group boxes, panels, tab pages and scroll boxes take pasted controls inside them.
bool IsContainer(const QWidget *control)
{
    if (!control)
        return false;
    const QMetaObject *meta = control->metaObject();
    if (meta == &QGroupBox::staticMetaObject || meta == &QFrame::staticMetaObject ||
        qobject_cast<const QScrollArea *>(control) || IsTabPage(control))
        return true;
    static const QStringList containers{QStringLiteral("TGroupBox"), QStringLiteral("TPanel"),
                                        QStringLiteral("TTabSheet"), QStringLiteral("TScrollBox")};
    return containers.contains(ComponentClassName(control));
}

// A control's own Visible and Enabled, not those inherited from an unshown parent.
bool IsVisibleAndEnabled(const QWidget *control)
{
    if (const auto *c = dynamic_cast<const TControl *>(control))
        return c->Visible() && c->Enabled();
    const bool hidden = control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide);
    return !hidden && !control->testAttribute(Qt::WA_Disabled);
}

void MoveControl(QWidget *control, int left, int top)
{
    SetControlBounds(control, QRect(left, top, control->width(), control->height()));
    if (!dynamic_cast<TControl *>(control))
        control->move(left, top);
}

// The final fit of step 7: a control narrower than the target is moved inside it;
// one at least as wide gets 2.
int FitInto(int pos, int size, int targetSize)
{
    if (size >= targetSize)
        return 2;
    if (pos + size > targetSize)
        pos = targetSize - size;
    return pos < 0 ? 0 : pos;
}

class TUpdatesSuspended {
public:
    explicit TUpdatesSuspended(QWidget *widget) : FWidget(widget), FWas(widget && widget->updatesEnabled())
    {
        if (FWidget)
            FWidget->setUpdatesEnabled(false);
    }
    ~TUpdatesSuspended()
    {
        if (FWidget)
            FWidget->setUpdatesEnabled(FWas);
    }
    TUpdatesSuspended(const TUpdatesSuspended &) = delete;
    TUpdatesSuspended &operator=(const TUpdatesSuspended &) = delete;

private:
    QPointer<QWidget> FWidget;
    bool FWas;
};

void PasteBuffer(QStringList &buffer, bool fromCopy, QWidget *surface, QWidget *target, TStretchHandle *handle,
                 const std::function<void(QWidget *)> &onCreateControl, QList<QWidget *> &pasted)
{
    TUpdatesSuspended suspended(surface);
    buffer.removeIf([](const QString &entry) { return entry.trimmed().isEmpty(); });
    for (qsizetype i = 0; i < buffer.size(); ++i) {
        QString text = buffer.at(i);
        if (fromCopy)
            text = ClearCopyIdentity(text);
        QWidget *control = CreateControlFromText(surface, target, text);
        if (!control)
            continue;
        if (onCreateControl)
            onCreateControl(control);
        int left = control->x(), top = control->y();
        if (fromCopy) {
            left += 6;
            top += 6;
        }
        if (left > target->width())
            left = target->width() - control->width() - 2;
        if (left < 0)
            left = 2;
        if (top > target->height())
            top = target->height() - control->height() - 2;
        if (top < 0)
            top = 2;
        MoveControl(control, left, top);
        const TPropObject props = PropObjectOf(control);
        if (fromCopy && props.IsValid() && props.Class->Find(QStringLiteral("ID")))
            SetOrdProp(control, QStringLiteral("ID"), 0);

        text = StorePastedPosition(text, left, top);

        control->raise();
        MoveControl(control, FitInto(left, control->width(), target->width()),
                    FitInto(top, control->height(), target->height()));
        if (qobject_cast<QLabel *>(control) || ComponentClassName(control) == QLatin1String("TStaticText"))
            control->lower();
        if (QTabWidget *pages = PageControlOf(target);
            pages && ComponentClassName(control) == QLatin1String("TTabSheet"))
            pages->addTab(control, control->windowTitle());

        if (handle)
            handle->Attach(control);
        pasted << control;
        buffer[i] = text;
    }
}

} // namespace

TControlClipboard *TControlClipboard::Of(TStretchHandle *handle)
{
    if (!handle)
        return nullptr;
    if (auto *existing = handle->findChild<TControlClipboard *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TControlClipboard(handle);
}

bool HasClipboardContent(TStretchHandle *handle)
{
    const TControlClipboard *clipboard = TControlClipboard::Of(handle);
    return clipboard && (!clipboard->CutBuffer.isEmpty() || !clipboard->CopyBuffer.isEmpty());
}

QStringList ObjectTextsOfNames(QWidget *surface, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names) {
        auto *control = qobject_cast<QWidget *>(FindComponent(surface, name));
        const bool onSurface = control && control != surface && ControlTag(control) != -1 &&
                               PropObjectOf(control).IsValid() && surface->isAncestorOf(control);
        texts << (onSurface ? WriteObjectText(ComponentTreeToTextObject(control)) : QString());
    }
    return texts;
}

void CutSelection(TStretchHandle *handle, QWidget *surface)
{
    if (!handle || !surface || !handle->CutAndPaste)
        return;
    const QList<QWidget *> selection = handle->Selection();
    if (selection.size() == 1 && IsTabPage(selection.first()))
        return;
    TControlClipboard *clipboard = TControlClipboard::Of(handle);
    clipboard->CopyBuffer.clear();
    clipboard->CutBuffer.clear();
    QStringList names;
    for (QWidget *control : selection)
        if (!(ControlTag(control) & TagNoCut))
            names << control->objectName();
    clipboard->CutBuffer = ObjectTextsOfNames(surface, names);

    // Everything leaves the selection first, so the handle is parked on the surface
    // before any container it may sit in is freed.
    QList<QPointer<QWidget>> controls;
    for (QWidget *control : selection)
        controls << control;
    for (qsizetype i = controls.size() - 1; i >= 0; --i)
        if (controls.at(i))
            handle->Detach(controls.at(i));
    handle->ClearSelection();
    // Only a control whose text is in the buffer is freed: one the object text cannot
    // carry would be lost. One freed with a container cut before it is skipped.
    QStringList buffered;
    for (qsizetype i = 0; i < names.size(); ++i)
        if (!clipboard->CutBuffer.at(i).trimmed().isEmpty())
            buffered << names.at(i);
    for (qsizetype i = controls.size() - 1; i >= 0; --i)
        if (QWidget *control = controls.at(i); control && buffered.contains(control->objectName(), Qt::CaseInsensitive))
            delete control;
}

void CopySelection(TStretchHandle *handle, QWidget *surface)
{
    if (!handle || !surface || !handle->CutAndPaste)
        return;
    const QList<QWidget *> selection = handle->Selection();
    if (selection.size() == 1 && IsTabPage(selection.first()))
        return;
    TControlClipboard *clipboard = TControlClipboard::Of(handle);
    clipboard->CopyBuffer.clear();
    clipboard->CutBuffer.clear();
    QStringList names;
    for (QWidget *control : selection)
        if (!(ControlTag(control) & TagNoCopy))
            names << control->objectName();
    clipboard->CopyBuffer = ObjectTextsOfNames(surface, names);
}

QList<QWidget *> PasteControls(TStretchHandle *handle, QWidget *surface,
                               const std::function<void(QWidget *)> &onCreateControl)
{
    QList<QWidget *> pasted;
    if (!handle || !surface || !handle->CutAndPaste)
        return pasted;
    TControlClipboard *clipboard = TControlClipboard::Of(handle);
    if (clipboard->CutBuffer.isEmpty() && clipboard->CopyBuffer.isEmpty())
        return pasted;

    const QList<QWidget *> selection = handle->Selection();
    QWidget *target = surface;
    if (selection.size() == 1 && IsContainer(selection.first()))
        target = selection.first();
    else if (!selection.isEmpty() && selection.first()->parentWidget())
        target = selection.first()->parentWidget();

    if (!IsVisibleAndEnabled(target)) {
        SaveMsgDialog(QStringLiteral("You cannot paste controls onto an invisible or disabled parent control! (") +
                          target->objectName() + QLatin1Char(')'),
                      MsgWarning, BtnOK);
        return pasted;
    }
    if (ControlTag(target) & TagNoPaste) {
        SaveMsgDialog(QStringLiteral("You cannot paste controls onto ") + target->objectName() + QLatin1Char(')'),
                      MsgWarning, BtnOK);
        return pasted;
    }

    handle->ClearSelection();
    if (clipboard->CutBuffer.isEmpty()) {
        PasteBuffer(clipboard->CopyBuffer, true, surface, target, handle, onCreateControl, pasted);
    } else {
        PasteBuffer(clipboard->CutBuffer, false, surface, target, handle, onCreateControl, pasted);
        // After a cut, later pastes are pastes of copies.
        if (!handle->ClearCutBufferOnPaste)
            clipboard->CopyBuffer = clipboard->CutBuffer;
        clipboard->CutBuffer.clear();
    }
    return pasted;
}

QString RenameClashingObjects(const QString &text, const QObject *owner)
{
    QStringList lines = TextLines(text);
    QSet<QString> used; // names of earlier objects of the text, lower case
    auto taken = [&](const QString &name) { return used.contains(name.toLower()) || FindComponent(owner, name); };
    for (QString &line : lines) {
        TObjectLine object;
        if (!ParseObjectLine(line, object) || !object.HasColon || object.Name.isEmpty())
            continue;
        if (taken(object.Name)) {
            const QString className = object.Rest.section(QLatin1Char(' '), 0, 0);
            const QString base = className.mid(1);
            QString name;
            for (int n = 1;; ++n) {
                name = base + QString::number(n);
                if (!taken(name))
                    break;
            }
            line = line.left(Indentation(line)) + object.Keyword + QLatin1Char(' ') + name + QStringLiteral(": ") +
                   object.Rest;
            object.Name = name;
        }
        used.insert(object.Name.toLower());
    }
    return JoinLines(lines);
}

QWidget *CreateControlFromText(QObject *owner, QWidget *parent, const QString &text)
{
    const TTextObject object = ParseObjectText(RenameClashingObjects(text, owner));
    const TClassInfo *cls = GetClass(object.ClassName);
    if (!cls || !cls->Create)
        throw Exception(QStringLiteral("Class %1 not found").arg(object.ClassName));
    QWidget *control = cls->Create(owner, parent);
    try {
        SetComponentName(control, object.Name);
        ReadComponentTree(control, object, owner);
    } catch (...) {
        delete control;
        throw;
    }
    const auto *c = dynamic_cast<const TControl *>(control);
    control->setVisible(c ? c->Visible() : true);
    return control;
}

QString ClearCopyIdentity(const QString &text)
{
    QStringList lines = TextLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = PropertyNameOf(lines.at(i));
        const QString indent = lines.at(i).left(Indentation(lines.at(i)));
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            ReplaceProperty(lines, i, indent, QStringLiteral("0"));
        else if (name.compare(QLatin1String("Description"), Qt::CaseInsensitive) == 0)
            ReplaceProperty(lines, i, indent, QStringLiteral("''"));
    }
    return JoinLines(lines);
}

QString StorePastedPosition(const QString &text, int left, int top)
{
    QStringList lines = TextLines(text);
    qsizetype objectLine = -1;
    for (qsizetype i = 0; i < lines.size() && objectLine < 0; ++i) {
        TObjectLine object;
        if (ParseObjectLine(lines.at(i), object))
            objectLine = i;
    }
    if (objectLine < 0)
        return text;

    auto blockEnd = [&] {
        qsizetype end = objectLine + 1;
        TObjectLine nested;
        while (end < lines.size() && !IsEndLine(lines.at(end)) && !ParseObjectLine(lines.at(end), nested))
            ++end;
        return end;
    };
    const qsizetype first = objectLine + 1;
    const bool emptyBlock = first >= blockEnd();
    const int depth = emptyBlock ? Indentation(lines.at(objectLine)) + 2 : Indentation(lines.at(first));
    const QString indent(depth, QLatin1Char(' '));

    // Property lines of the block sit at its first line's depth; deeper ones continue a value.
    auto find = [&](const QString &property) -> qsizetype {
        const qsizetype end = blockEnd();
        for (qsizetype i = first; i < end; ++i)
            if (Indentation(lines.at(i)) == depth &&
                PropertyNameOf(lines.at(i)).compare(property, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    auto set = [&](const QString &property, const QString &value, bool insertMissing) {
        const qsizetype at = find(property);
        if (at >= 0)
            ReplaceProperty(lines, at, indent, value);
        else if (insertMissing)
            lines.insert(first, indent + property + QStringLiteral(" = ") + value);
    };
    set(QStringLiteral("Top"), QString::number(top), true);
    set(QStringLiteral("Left"), QString::number(left), true);
    set(QStringLiteral("ID"), QStringLiteral("0"), false);
    set(QStringLiteral("Description"), QStringLiteral("''"), false);
    return JoinLines(lines);
}
