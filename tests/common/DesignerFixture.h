#pragma once

// The run-time designer as its tests start it: a template form and a designer on it, the
// surface shown at the top left of the screen. A test class derives from it beside QObject.

#include "designer/DesignForm.h"
#include "designer/ObjectInspector.h"
#include "designer/StretchHandle.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"

#include <QtTest>

#include <memory>

class TDesignerFixture {
public:
    std::unique_ptr<TForm_DesignForm> Template;
    std::unique_ptr<TObjectInspector> Designer;
    QWidget *Surface = nullptr;
    TStretchHandle *Handle = nullptr;

    // A designer on a fresh template, to be set up before Activate.
    void CreateDesigner()
    {
        Template = std::make_unique<TForm_DesignForm>();
        Designer = std::make_unique<TObjectInspector>();
        Designer->TemplateForm = Template.get();
    }

    // Activates the designer; false when it refused.
    bool ActivateDesigner()
    {
        if (!Designer->Activate())
            return false;
        Surface = Designer->DesignSurface();
        Handle = Designer->StretchHandle;
        return true;
    }

    // Shows the surface at the top left; false when the platform never exposed it.
    bool ShowSurface()
    {
        Surface->move(0, 0);
        Surface->show();
        return QTest::qWaitForWindowExposed(Surface);
    }

    void DestroyDesigner()
    {
        Designer.reset();
        Template.reset();
        Surface = nullptr;
        Handle = nullptr;
    }

    // A control of class T named name on the surface (or in parent), that the designer's
    // mouse handling reaches.
    template <class T = TQAMaskEdit> T *Add(const QString &name, const QRect &bounds, QWidget *parent = nullptr)
    {
        auto *control = new T(Surface, parent ? parent : Surface);
        SetComponentName(control, name);
        control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        control->show();
        Designer->RouteMouseEvents();
        return control;
    }

    TQAMaskEdit *AddEdit(const QString &name, const QRect &bounds, QWidget *parent = nullptr)
    {
        return Add<TQAMaskEdit>(name, bounds, parent);
    }
};
