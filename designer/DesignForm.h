#pragma once

// The template form of the design surface and TDesignForm, which builds the surface
// (a copy of the template named "Form_Design") and preview copies of it
// ("Form_Preview") through the object text.

#include "question/ObjectText.h"
#include "toolkit/StdCtrls.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class QPainter;
class TObjectInspector;
struct TClassInfo;

// The template: an empty borderless form, 688 x 453, button face colour, key preview.
// Its paint, key and mouse steps can be handed to the designer.
class TForm_DesignForm : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TForm_DesignForm(QObject *owner = nullptr, QWidget *parent = nullptr);
    ~TForm_DesignForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &value) { setWindowTitle(value); }
    int ClientWidth() const { return width(); }
    void SetClientWidth(int value) { SetWidth(value); }
    int ClientHeight() const { return height(); }
    void SetClientHeight(int value) { SetHeight(value); }
    bool KeyPreview = true;

    // Painted after the form itself (the designer's grid dots).
    std::function<void(QPainter &)> OnPaint;
    // Keys the form receives while it has the focus itself.
    std::function<void(int &key, Qt::KeyboardModifiers)> OnKeyDown;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }
};

const TClassInfo *DesignFormClassInfo();

// Object text of a component with the controls it carries (display children owned
// by the same owner, whose classes have property tables); the designer's own objects
// never appear.
TTextObject ComponentTreeToTextObject(QWidget *component);
// Reads the properties of a parsed object into an existing component and creates its
// children from the class registry (owner: owner, parent: the component). The
// component keeps its own name.
void ReadComponentTree(QWidget *component, const TTextObject &object, QObject *owner);
// The class name without its first letter followed by the smallest number from 1 that
// no component of owner uses ("QAMaskEdit1").
QString UniqueComponentName(const QString &className, const QObject *owner);

class TDesignForm : public QObject {
    Q_OBJECT
public:
    explicit TDesignForm(QObject *owner = nullptr);
    ~TDesignForm() override;

    QWidget *TemplateForm = nullptr;
    TObjectInspector *Designer = nullptr;
    bool Active = true;
    QString TemplateName() const { return FTemplateName; }

    // The current surface ("Form_Design"); nullptr before the first build.
    QWidget *Surface() const { return FSurface; }

    // Builds a new surface from the template (the old one is freed). False after a
    // message when there is no template or building failed.
    bool BuildSurface();
    // A new hidden "Form_Preview" carrying a copy of the surface's controls.
    QWidget *BuildPreview();
    // A component as object text.
    QString ObjectTextOf(QWidget *component) const;
    // Object text of a default instance of a registered class (made on the surface and
    // freed again). Raises Exception for an unknown class.
    QString MakeDefaultText(const QString &className);

    // Raised after the surface was resized.
    std::function<void()> OnSurfaceResize;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *NewInstance(const QString &className, QObject *owner) const;

    QPointer<QWidget> FSurface;
    QString FTemplateName;
};
