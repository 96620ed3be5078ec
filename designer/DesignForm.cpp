#include "designer/DesignForm.h"

#include "designer/StretchHandle.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/PropertyTables.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

TForm_DesignForm::TForm_DesignForm(QObject *owner, QWidget *parent) : QWidget(parent), TControl(this)
{
    DesignFormClassInfo();
    if (owner)
        InsertComponent(owner, this);
    setObjectName(QStringLiteral("Form_DesignForm"));
    if (!parent)
        setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Form_DesignForm"));
    InitColor(clBtnFace, false);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(palette);
    resize(688, 453);
}

TForm_DesignForm::~TForm_DesignForm() = default;

void TForm_DesignForm::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (OnPaint) {
        QPainter painter(this);
        OnPaint(painter);
    }
}

void TForm_DesignForm::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyDown)
        OnKeyDown(key, event->modifiers());
    if (key == 0)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

const TClassInfo *DesignFormClassInfo()
{
    static const TClassInfo *info = [] {
        using T = TForm_DesignForm;
        auto *c = new TClassInfo;
        c->ClassName = QStringLiteral("TForm_DesignForm");
        c->Instance = [](QObject *object) -> void * { return qobject_cast<T *>(object); };
        c->Create = [](QObject *owner, QWidget *parent) -> QWidget * { return new T(owner, parent); };
        const QList<TPropInfo> own{
            StringProp<T>(
                QStringLiteral("Caption"), QStringLiteral("TCaption"), [](const T &f) { return f.Caption(); },
                [](T &f, const QString &v) { f.SetCaption(v); }),
            IntegerProp<T>(
                QStringLiteral("ClientHeight"), [](const T &f) { return f.ClientHeight(); },
                [](T &f, int v) { f.SetClientHeight(v); }),
            IntegerProp<T>(
                QStringLiteral("ClientWidth"), [](const T &f) { return f.ClientWidth(); },
                [](T &f, int v) { f.SetClientWidth(v); }),
            BoolProp<T>(
                QStringLiteral("KeyPreview"), [](const T &f) { return f.KeyPreview; },
                [](T &f, bool v) { f.KeyPreview = v; })
                .Def(0),
        };
        BuildControlTable<T>(*c,
                             "Left Top Width Height Align Caption ClientHeight ClientWidth Color Enabled Font "
                             "KeyPreview ParentFont Tag Visible",
                             own, "");
        AddClassInfo(c);
        return c;
    }();
    return info;
}

namespace {

bool IsTreeChild(const QWidget *parent, const QWidget *child)
{
    if (!child || child->isWindow() || ControlTag(child) == -1 || !PropObjectOf(const_cast<QWidget *>(child)).IsValid())
        return false;
    const QObject *owner = ComponentOwner(child);
    return owner && (owner == parent || owner == ComponentOwner(parent));
}

void DropEventLines(TTextObject &object)
{
    object.Properties.removeIf([](const TTextProperty &p) { return p.Path.startsWith(QLatin1String("On")); });
    for (TTextObject &child : object.Children)
        DropEventLines(child);
}

// The component list of a surface frees its components newest first and cannot
// follow one that another component's Qt destruction took along; the handle, the
// oldest component, may sit inside a selected container, so it is parked first.
void FreeSurface(QWidget *surface)
{
    if (!surface)
        return;
    for (TStretchHandle *handle : surface->findChildren<TStretchHandle *>())
        handle->ClearSelection();
    delete surface;
}

void ShowAsRead(QWidget *widget)
{
    const auto *control = dynamic_cast<const TControl *>(widget);
    widget->setVisible(control ? control->Visible() : true);
}

} // namespace

TTextObject ComponentTreeToTextObject(QWidget *component)
{
    TTextObject object = ComponentToTextObject(component);
    for (QObject *child : component->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (IsTreeChild(component, widget))
            object.Children.append(ComponentTreeToTextObject(widget));
    }
    return object;
}

void ReadComponentTree(QWidget *component, const TTextObject &object, QObject *owner)
{
    const TPropObject target = PropObjectOf(component);
    for (const TTextProperty &property : object.Properties) {
        try {
            if (!target.IsValid())
                throw Exception(QStringLiteral("Property does not exist"));
            ReadProperty(target, property);
        } catch (const Exception &e) {
            throw Exception(
                QStringLiteral("Error reading %1.%2: %3").arg(component->objectName(), property.Path, e.Message()));
        }
    }
    for (const TTextObject &childText : object.Children) {
        const TClassInfo *cls = GetClass(childText.ClassName);
        if (!cls || !cls->Create)
            throw Exception(QStringLiteral("Class %1 not found").arg(childText.ClassName));
        QWidget *child = cls->Create(owner, component);
        try {
            SetComponentName(child, childText.Name);
            ReadComponentTree(child, childText, owner);
        } catch (...) {
            delete child;
            throw;
        }
        ShowAsRead(child);
    }
}

QString UniqueComponentName(const QString &className, const QObject *owner)
{
    const QString base = className.mid(1);
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!FindComponent(owner, name))
            return name;
    }
}

TDesignForm::TDesignForm(QObject *owner) : QObject(nullptr)
{
    if (owner)
        InsertComponent(owner, this);
}

TDesignForm::~TDesignForm()
{
    FreeSurface(FSurface);
}

QWidget *TDesignForm::NewInstance(const QString &className, QObject *owner) const
{
    const TClassInfo *cls = FindClassInfo(className);
    if (!cls || !cls->Create)
        throw Exception(QStringLiteral("Class %1 not found").arg(className));
    return cls->Create(owner, nullptr);
}

QString TDesignForm::ObjectTextOf(QWidget *component) const
{
    return WriteObjectText(ComponentTreeToTextObject(component));
}

bool TDesignForm::BuildSurface()
{
    if (!TemplateForm) {
        SaveMsgDialog(QStringLiteral("There is no form assigned to the Design Form!"), MsgWarning, BtnOK);
        return false;
    }
    bool result = true;
    QWidget *surface = nullptr;
    try {
        FTemplateName = TemplateForm->objectName();
        const QString className = ComponentClassName(TemplateForm);
        QStringList lines = ObjectTextOf(TemplateForm).trimmed().split(QStringLiteral("\r\n"));
        lines[0] = QStringLiteral("object Form_Design: ") + className;
        for (QString &line : lines)
            if (line.trimmed().startsWith(QLatin1String("On")))
                line.clear();

        FreeSurface(FSurface);
        surface = NewInstance(className, nullptr);
        if (auto *form = qobject_cast<TForm_DesignForm *>(surface))
            form->KeyPreview = true;
        const QList<QObject *> own = OwnedComponents(surface);
        for (qsizetype i = own.size() - 1; i >= 0; --i)
            delete own.at(i);

        ReadComponentTree(surface, ParseObjectText(lines.join(QStringLiteral("\r\n"))), surface);
        surface->setObjectName(QStringLiteral("Form_Design"));
        const QList<QObject *> read = OwnedComponents(surface);
        for (QObject *component : read)
            if (!component->isWidgetType())
                delete component;
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgWarning, BtnOK);
        result = false;
    }
    FSurface = surface;
    if (surface)
        surface->installEventFilter(this);
    return result;
}

QWidget *TDesignForm::BuildPreview()
{
    if (!FSurface)
        return nullptr;
    const QString className = ComponentClassName(FSurface);
    TTextObject object = ComponentTreeToTextObject(FSurface);
    object.Name = QStringLiteral("Form_Preview");
    // The preview starts hidden; its caller shows it.
    TTextProperty hidden;
    hidden.Path = QStringLiteral("Visible");
    hidden.Value.Kind = TTextValue::Ident;
    hidden.Value.Text = QStringLiteral("False");
    bool replaced = false;
    for (TTextProperty &property : object.Properties) {
        if (property.Path.compare(QLatin1String("Visible"), Qt::CaseInsensitive) == 0) {
            property.Value = hidden.Value;
            replaced = true;
        }
    }
    if (!replaced)
        object.Properties.prepend(hidden);
    DropEventLines(object);

    QWidget *preview = NewInstance(className, nullptr);
    const QList<QObject *> own = OwnedComponents(preview);
    for (qsizetype i = own.size() - 1; i >= 0; --i)
        delete own.at(i);
    preview->setObjectName(QStringLiteral("Form_Preview"));
    try {
        ReadComponentTree(preview, ParseObjectText(WriteObjectText(object)), preview);
    } catch (...) {
        delete preview;
        throw;
    }
    preview->setObjectName(QStringLiteral("Form_Preview"));
    preview->hide();
    return preview;
}

QString TDesignForm::MakeDefaultText(const QString &className)
{
    const TClassInfo *cls = GetClass(className);
    if (!cls || !cls->Create)
        throw Exception(QStringLiteral("Class %1 not found").arg(className));
    QWidget *sample = cls->Create(FSurface, nullptr);
    const QString text = WriteObjectText(ComponentToTextObject(sample));
    delete sample;
    return text;
}

bool TDesignForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FSurface && event->type() == QEvent::Resize && OnSurfaceResize)
        OnSurfaceResize();
    return QObject::eventFilter(watched, event);
}
