// The component that reads a page file into a form: the file's components join the form's own,
// read errors are skipped unless a handler says otherwise, and a name already taken on the form
// gives way to one made from the class name.
#pragma once

#include <functional>
#include <string>

#include "setup/forms/class_info.h"
#include "setup/forms/component.h"
#include "setup/forms/component_reader.h"
#include "setup/ui/form.h"

namespace setup::ui {

// How LoadFromFile reads the file.
enum class FormFileLayout
{
    Binary = 0,  // a resource file holding one form
    Text = 1,
};

class TFormDesigner : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TFormDesigner(forms::TComponent* owner);
    ~TFormDesigner() override;

    // The form given to the designer, else the owner when that is a form, else none.
    TCustomForm* Form() const;
    void SetForm(TCustomForm* form);

    // The classes a file may name; none reads no component.
    const forms::ClassRegistry* registry = nullptr;
    // False adds the file's components beside those the form has.
    bool clearBeforeLoad = true;
    // Told of each read error; `handled` starts true, and false ends the load with the error.
    std::function<void(forms::ComponentReader& reader, const std::string& message, bool& handled)>
        onReadError;

    // Reads the file into the form; a file that cannot be opened or read raises, and what was
    // read before the failure stays on the form. Does nothing without a form.
    void LoadFromFile(const std::string& path, FormFileLayout layout);
    // Frees every component of the form but the designer.
    void Clear();

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    void NameComponent(forms::TComponent& component, const std::string& name);
    bool IsFormNameTaken(const TCustomForm& form, const std::string& name) const;

    TCustomForm* m_form = nullptr;
};

}  // namespace setup::ui
