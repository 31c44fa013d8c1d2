// Builds live components from a form tree: the root's properties are applied to an existing
// component, every child record creates a component of a registered class owned by the root,
// and component references are fixed up once the whole root has been read.
#pragma once

#include <functional>
#include <string>

#include "setup/forms/ansi_code_page.h"
#include "setup/forms/class_info.h"
#include "setup/forms/component.h"
#include "setup/forms/form_tree.h"

namespace setup::forms {

class ComponentReader
{
public:
    // UTF-16 and UTF-8 strings of the form reach properties as ANSI text of this code page.
    explicit ComponentReader(const ClassRegistry& registry,
                             const IAnsiCodePage& codePage = SystemAnsiCodePage())
        : m_registry(registry), m_codePage(codePage)
    {}

    // Told of each read error (a class that is not registered, a property that does not exist, a
    // value of the wrong type, a reference that finds nothing). True skips the offending property
    // or object record with everything it holds; false, or no handler, raises EReadError.
    std::function<bool(const std::string& message)> OnError;
    // Names each component created from a record; by default SetName with the stored name.
    std::function<void(TComponent& component, const std::string& name)> OnSetName;
    // Whether another root (another form of the application) bears the name. The root then takes
    // the stored name followed by "_1", "_2", ..., the first that is free.
    std::function<bool(const std::string& name)> IsRootNameTaken;

    // The root record's class name is not looked at; its name becomes the root's name.
    void ReadRootComponent(const FormObject& form, TComponent& root);

    const IAnsiCodePage& CodePage() const { return m_codePage; }

private:
    const ClassRegistry& m_registry;
    const IAnsiCodePage& m_codePage;
};

}  // namespace setup::forms
