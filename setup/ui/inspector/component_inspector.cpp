#include "setup/ui/inspector/component_inspector.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/designer/component_container.h"
#include "setup/ui/inspector/inspector_system.h"
#include "setup/ui/inspector/property_editors.h"

namespace setup::ui {

const forms::ClassInfo& TComponentInspector::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TComponentInspector>("TComponentInspector",
                                                 &TCustomInspector::StaticClass())
            .Build();
    return info;
}

TComponentInspector::TComponentInspector(forms::TComponent* owner) : TCustomInspector(owner)
{
    m_model.onRowsChanged = [this] { SetItemCount(static_cast<int>(m_model.Rows().size())); };
}

TComponentInspector::~TComponentInspector()
{
    m_model.onRowsChanged = nullptr;
}

void TComponentInspector::Watch(forms::TComponent* component)
{
    if (component && component != this)
        FreeNotification(component);
}

void TComponentInspector::SetRoot(forms::TComponent* root)
{
    Watch(root);
    m_model.SetRoot(root);
}

void TComponentInspector::SetInstance(forms::TComponent* instance)
{
    Watch(instance);
    m_model.SetInstance(instance);
}

void TComponentInspector::SetMode(TCompInspMode mode)
{
    m_model.SetMode(mode);
}

void TComponentInspector::AddInstance(forms::TComponent* component)
{
    Watch(component);
    m_model.Add(component);
}

void TComponentInspector::RemoveInstance(forms::TComponent* component)
{
    m_model.Remove(component);
}

void TComponentInspector::Rebuild()
{
    m_model.Rebuild();
}

void TComponentInspector::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomInspector::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_model.Root())
        m_model.SetRoot(nullptr);
    if (m_model.Inspects(component))
        m_model.Remove(component);
}

int TComponentInspector::GetDefaultIndex()
{
    return std::max(0, m_model.FindRow(m_selectedName));
}

void TComponentInspector::SelectItem(int row)
{
    if (forms::TProperty* property = m_model.Row(row))
        m_selectedName = property->FullName();
}

std::string TComponentInspector::GetName(int row)
{
    forms::TProperty* property = m_model.Row(row);
    std::string text = property ? property->GetName() : std::string();
    if (onGetName)
        onGetName(row, text);
    return text;
}

std::string TComponentInspector::GetValue(int row)
{
    forms::TProperty* property = m_model.Row(row);
    std::string text = property ? property->DisplayText() : std::string();
    if (property && m_model.ListCount() > 1 && row != ItemIndex()) {
        const std::string fullName = property->FullName();
        for (std::size_t i = 1; i < m_model.ListCount(); ++i) {
            const forms::TProperty* other = m_model.List(i).Find(fullName);
            if (other && other->DisplayText() != text) {
                text.clear();
                break;
            }
        }
    }
    if (onGetValue)
        onGetValue(row, text);
    return text;
}

std::string TComponentInspector::GetNextValue(int row)
{
    const std::string current = GetValue(row);
    std::vector<std::string> values = GetValuesList(row);
    if (GetSortValuesList(row))
        std::sort(values.begin(), values.end());
    std::string text = current;
    const auto found = std::find(values.begin(), values.end(), current);
    if (found != values.end())
        text = found + 1 == values.end() ? values.front() : *(found + 1);
    if (onGetNextValue)
        onGetNextValue(row, text);
    return text;
}

void TComponentInspector::SetValue(int row, const std::string& text)
{
    forms::TProperty* property = m_model.Row(row);
    if (!property)
        return;
    const std::string fullName = property->FullName();
    if (onSetValue)
        onSetValue(row, text);
    try {
        for (std::size_t i = 0; i < m_model.ListCount(); ++i)
            if (forms::TProperty* target = m_model.List(i).Find(fullName))
                target->SetValueText(text);
    } catch (const forms::EPropertyException&) {
        // A value the property cannot take: it keeps its own, and the edit shows it again.
        System().Beep();
        RevertEditor();
        return;
    }
    if (onChange)
        onChange();
}

void TComponentInspector::StepValue(int row, int step)
{
    forms::TProperty* property = m_model.Row(row);
    if (!property)
        return;
    try {
        const long long value = std::stoll(property->GetValueText());
        SetValue(row, std::to_string(value + step));
    } catch (const std::logic_error&) {
        // Not a number: nothing to step.
    }
}

TButtonType TComponentInspector::GetButtonType(int row)
{
    forms::TProperty* property = m_model.Row(row);
    TButtonType type = property ? ButtonTypeOf(*property, CheckBoxes()) : btNone;
    if (onGetButtonType)
        onGetButtonType(row, type);
    return type;
}

TInplaceEditorType TComponentInspector::GetInplaceEditorType(int row)
{
    forms::TProperty* property = m_model.Row(row);
    TInplaceEditorType type = property ? EditorTypeOf(*property, CheckBoxes()) : ieNone;
    if (onGetInplaceEditorType)
        onGetInplaceEditorType(row, type);
    return type;
}

bool TComponentInspector::GetEnableExternalEditor(int row)
{
    forms::TProperty* property = m_model.Row(row);
    bool enabled = property && ExternalEditorEnabled(*property);
    if (onGetEnableExternalEditor)
        onGetEnableExternalEditor(row, enabled);
    return enabled;
}

bool TComponentInspector::GetReadOnly(int row)
{
    forms::TProperty* property = m_model.Row(row);
    bool readOnly = property && IsReadOnlyProperty(*property);
    if (onGetReadOnly)
        onGetReadOnly(row, readOnly);
    return readOnly;
}

TExpandState TComponentInspector::GetExpandState(int row)
{
    forms::TProperty* property = m_model.Row(row);
    TExpandState state = esNone;
    if (property && CanExpand(*property)) {
        const forms::TProperty* next = m_model.Row(row + 1);
        state = next && next->Level() > property->Level() ? esCollapse : esExpand;
    }
    if (onGetExpandState)
        onGetExpandState(row, state);
    return state;
}

int TComponentInspector::GetLevel(int row)
{
    forms::TProperty* property = m_model.Row(row);
    int level = property ? property->Level() : 0;
    if (onGetLevel)
        onGetLevel(row, level);
    return level;
}

std::vector<std::string> TComponentInspector::GetValuesList(int row)
{
    forms::TProperty* property = m_model.Row(row);
    std::vector<std::string> values;
    if (property) {
        if (property->Kind() == forms::TypeKind::Method && onFillEventList)
            onFillEventList(*property->Type(), values);
        else
            values = property->GetValues();
    }
    if (onGetValuesList)
        onGetValuesList(row, values);
    return values;
}

bool TComponentInspector::GetSortValuesList(int row)
{
    forms::TProperty* property = m_model.Row(row);
    return property && SortsValues(*property);
}

bool TComponentInspector::GetAutoApply(int row)
{
    forms::TProperty* property = m_model.Row(row);
    return property && property->Kind() != forms::TypeKind::Class && m_model.ListCount() < 2 &&
           GetInplaceEditorType(row) != ieCheckBox;
}

bool TComponentInspector::CallEditor(int row)
{
    forms::TProperty* property = m_model.Row(row);
    if (!property)
        return false;
    bool handled = false;
    bool changed = false;
    if (onCallEditorHook)
        onCallEditorHook(row, handled, changed);
    if (handled)
        return changed;
    changed = EditProperty(*property, *this, System());
    if (changed) {
        const std::string text = property->GetValueText();
        if (property->Kind() != forms::TypeKind::Class)
            SetValue(row, text);
        else if (onChange)
            onChange();
    }
    m_model.Rebuild();
    return changed;
}

void TComponentInspector::Expand(int row)
{
    m_model.Expand(row);
    TCustomInspector::Expand(row);
}

void TComponentInspector::Collapse(int row)
{
    m_model.Collapse(row);
    TCustomInspector::Collapse(row);
}

// The pairing with the designer.

const forms::ClassInfo& TRFInspector::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TRFInspector>("TRFInspector", &TComponentInspector::StaticClass())
            .Build();
    return info;
}

TRFInspector::TRFInspector(forms::TComponent* owner) : TComponentInspector(owner)
{
    onChange = [this] {
        if (m_designer) {
            m_designer->Update();
            m_designer->DoChange();
        }
    };
}

TRFInspector::~TRFInspector()
{
    SetDesigner(nullptr);
}

void TRFInspector::SetDesigner(TRFDesigner* designer)
{
    if (designer == m_designer)
        return;
    TRFDesigner* previous = m_designer;
    m_designer = designer;
    if (previous) {
        RemoveFreeNotification(previous);
        previous->SetInspector(nullptr);
    }
    if (designer) {
        FreeNotification(designer);
        designer->SetInspector(this);
    }
    DesignerSelectionChanged();
}

void TRFInspector::SetDefaultInstance(forms::TComponent* component)
{
    if (m_defaultInstance)
        RemoveFreeNotification(m_defaultInstance);
    m_defaultInstance = component;
    if (component)
        FreeNotification(component);
    if (Model().ListCount() == 0)
        SetInstance(component);
}

void TRFInspector::Notification(forms::TComponent* component, forms::Operation operation)
{
    TComponentInspector::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_designer)
        m_designer = nullptr;
    if (component == m_defaultInstance)
        m_defaultInstance = nullptr;
}

std::vector<forms::TComponent*> TRFInspector::Inspected() const
{
    std::vector<forms::TComponent*> components;
    for (std::size_t i = 0; i < Model().ListCount(); ++i)
        components.push_back(Model().Component(i));
    return components;
}

void TRFInspector::DesignerSelectionChanged()
{
    struct Following
    {
        TRFInspector& inspector;
        bool was = inspector.m_following;
        ~Following()
        {
            inspector.m_following = was;
            inspector.m_agreed = inspector.Inspected();
        }
    } following{*this};
    m_following = true;
    if (!m_designer) {
        SetInstance(m_defaultInstance);
        return;
    }
    const std::size_t count = m_designer->ControlCount();
    if (count == 0) {
        SetInstance(m_defaultInstance);
        return;
    }
    if (count == 1) {
        SetInstance(m_designer->Control());
        return;
    }
    std::vector<forms::TComponent*> selected;
    for (std::size_t i = 0; i < count; ++i) {
        TControl* control = m_designer->Controls(static_cast<int>(i));
        auto* container = dynamic_cast<TComponentContainer*>(control);
        selected.push_back(container ? container->Component() : control);
    }
    for (forms::TComponent* component : selected)
        if (!Model().Inspects(component))
            AddInstance(component);
    if (Model().ListCount() > 1 && m_defaultInstance &&
        std::find(selected.begin(), selected.end(), m_defaultInstance) == selected.end())
        RemoveInstance(m_defaultInstance);
    for (std::size_t i = Model().ListCount(); i-- > 0;) {
        forms::TComponent* inspected = Model().Component(i);
        if (std::find(selected.begin(), selected.end(), inspected) == selected.end())
            RemoveInstance(inspected);
    }
}

void TRFInspector::Updated()
{
    if (!m_designer || m_following)
        return;
    const std::vector<forms::TComponent*> inspected = Inspected();
    if (inspected == m_agreed)
        return;
    m_agreed = inspected;
    // What the designer should select: controls themselves, other components through their
    // placeholders; the form (or anything without a mark) selects nothing.
    std::vector<TControl*> wanted;
    for (std::size_t i = 0; i < Model().ListCount(); ++i) {
        forms::TComponent* component = Model().Component(i);
        if (!component || component == m_designer->Form())
            continue;
        auto* control = dynamic_cast<TControl*>(component);
        if (!control)
            control = m_designer->FindContainer(component);
        if (control)
            wanted.push_back(control);
    }
    bool same = wanted.size() == m_designer->ControlCount();
    for (std::size_t i = 0; same && i < wanted.size(); ++i)
        same = m_designer->IsSelected(wanted[i]);
    if (same)
        return;
    m_designer->BeginUpdate();
    try {
        m_designer->Select(wanted.empty() ? nullptr : wanted.front());
        for (std::size_t i = 1; i < wanted.size(); ++i)
            m_designer->AddControl(wanted[i]);
    } catch (...) {
        m_designer->EndUpdate();
        throw;
    }
    m_designer->EndUpdate();
}

const forms::ClassInfo& TRFDesigner::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TRFDesigner>("TRFDesigner", &TFormDesigner::StaticClass()).Build();
    return info;
}

TRFDesigner::TRFDesigner(forms::TComponent* owner) : TFormDesigner(owner) {}

TRFDesigner::~TRFDesigner()
{
    if (m_inspector) {
        TRFInspector* inspector = m_inspector;
        m_inspector = nullptr;
        inspector->m_designer = nullptr;
    }
}

void TRFDesigner::SetInspector(TRFInspector* inspector)
{
    if (inspector == m_inspector)
        return;
    TRFInspector* previous = m_inspector;
    m_inspector = inspector;
    if (previous) {
        RemoveFreeNotification(previous);
        previous->SetDesigner(nullptr);
    }
    if (inspector) {
        FreeNotification(inspector);
        inspector->SetDesigner(this);
    }
}

void TRFDesigner::Notification(forms::TComponent* component, forms::Operation operation)
{
    TFormDesigner::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_inspector)
        m_inspector = nullptr;
}

void TRFDesigner::DoSelectionChange()
{
    TFormDesigner::DoSelectionChange();
    if (m_inspector && UpdateCount() == 0)
        m_inspector->DesignerSelectionChanged();
}

void TRFDesigner::DoChange()
{
    TFormDesigner::DoChange();
    if (m_inspector)
        m_inspector->Update();
}

void TRFDesigner::DoMoveSizeControl()
{
    TFormDesigner::DoMoveSizeControl();
    if (m_inspector)
        m_inspector->Update();
}

}  // namespace setup::ui
