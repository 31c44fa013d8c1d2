// TComponentInspector: the inspector grid over the published properties (or events) of one or
// several components, answering the grid's questions from the merged property lists; a value
// typed into the grid is written to every inspected component. TRFInspector and TRFDesigner pair
// an inspector with a form designer so each follows the other's selection.
#pragma once

#include <functional>
#include <string>

#include "setup/ui/form_designer.h"
#include "setup/ui/inspector/component_inspector_model.h"
#include "setup/ui/inspector/inspector_grid.h"
#include "setup/ui/inspector/property_rows.h"

namespace setup::ui {

class TComponentInspector : public TCustomInspector
{
public:
    FORMS_CLASS_INFO()
    explicit TComponentInspector(forms::TComponent* owner);
    ~TComponentInspector() override;

    forms::TComponent* Root() const { return m_model.Root(); }
    void SetRoot(forms::TComponent* root);
    forms::TComponent* Instance() const { return m_model.Instance(); }
    void SetInstance(forms::TComponent* instance);
    TCompInspMode Mode() const { return m_model.Mode(); }
    void SetMode(TCompInspMode mode);
    void AddInstance(forms::TComponent* component);
    void RemoveInstance(forms::TComponent* component);
    TCompInspList& Model() { return m_model; }
    const TCompInspList& Model() const { return m_model; }
    // The model from the components again, the remembered row selected.
    void Rebuild();
    forms::TProperty* Property(int row) const { return m_model.Row(row); }
    // Steps an ordinal value by the given amount.
    void StepValue(int row, int step);

    // A value was set through the grid.
    std::function<void()> onChange;
    // May take over the external editor: set `handled`, and answer whether the value changed.
    std::function<void(int row, bool& handled, bool& changed)> onCallEditorHook;
    // Handed the inspector of an editor's form, to be set up like this one.
    std::function<void(TComponentInspector& inspector)> onCustomizeInspector;
    // Fills the admissible handler names of an event type.
    std::function<void(const forms::TypeInfo& type, std::vector<std::string>& names)>
        onFillEventList;

    int GetDefaultIndex() override;
    std::string GetName(int row) override;
    std::string GetValue(int row) override;
    std::string GetNextValue(int row) override;
    void SetValue(int row, const std::string& text) override;
    TButtonType GetButtonType(int row) override;
    TInplaceEditorType GetInplaceEditorType(int row) override;
    bool GetEnableExternalEditor(int row) override;
    bool GetReadOnly(int row) override;
    TExpandState GetExpandState(int row) override;
    int GetLevel(int row) override;
    std::vector<std::string> GetValuesList(int row) override;
    bool GetSortValuesList(int row) override;
    bool GetAutoApply(int row) override;
    bool CallEditor(int row) override;
    void Expand(int row) override;
    void Collapse(int row) override;
    void SelectItem(int row) override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    void Watch(forms::TComponent* component);
    TCompInspList m_model;
    std::string m_selectedName;
};

class TRFDesigner;

class TRFInspector : public TComponentInspector
{
public:
    FORMS_CLASS_INFO()
    explicit TRFInspector(forms::TComponent* owner);
    ~TRFInspector() override;
    TRFDesigner* Designer() const { return m_designer; }
    void SetDesigner(TRFDesigner* designer);
    forms::TComponent* DefaultInstance() const { return m_defaultInstance; }
    void SetDefaultInstance(forms::TComponent* component);
    // The designer's selection changed: show what it holds.
    void DesignerSelectionChanged();

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;
    // The designer selects what the inspector shows.
    void Updated() override;

private:
    friend class TRFDesigner;
    TRFDesigner* m_designer = nullptr;
    forms::TComponent* m_defaultInstance = nullptr;
    // What the inspected components are, in the model's order.
    std::vector<forms::TComponent*> Inspected() const;
    // Set while following the designer, which then needs no telling back.
    bool m_following = false;
    // The components the designer and the inspector last agreed on: only a change of the
    // inspector's own goes to the designer, never one half-way through the designer's.
    std::vector<forms::TComponent*> m_agreed;
};

class TRFDesigner : public TFormDesigner
{
public:
    FORMS_CLASS_INFO()
    explicit TRFDesigner(forms::TComponent* owner);
    ~TRFDesigner() override;
    TRFInspector* Inspector() const { return m_inspector; }
    void SetInspector(TRFInspector* inspector);

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;
    void DoSelectionChange() override;
    void DoChange() override;
    void DoMoveSizeControl() override;

private:
    friend class TRFInspector;
    TRFInspector* m_inspector = nullptr;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TCompInspMode, "imProperties", "imEvents")
