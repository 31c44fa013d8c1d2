// TStrings: the string list of Lines and Items properties. It tells its owner of changes (once per
// update block), reads its form-file property "Strings", and assigns from another list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/forms/persistent.h"

namespace setup::forms {

class TStrings : public TPersistent
{
public:
    FORMS_CLASS_INFO()

    std::size_t Count() const { return m_items.size(); }
    const std::string& operator[](std::size_t index) const { return m_items.at(index); }
    const std::vector<std::string>& Items() const { return m_items; }

    void Add(std::string item);
    void Insert(std::size_t index, std::string item);
    void Put(std::size_t index, std::string item);
    void Delete(std::size_t index);
    void Clear();
    void SetItems(std::vector<std::string> items);
    // Index of the first item equal to the text, letter case ignored; -1 for none.
    int IndexOf(std::string_view text) const;

    // The items, each followed by CR LF; setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);

    // Changes inside an update block are told once, when the outermost block ends.
    void BeginUpdate();
    void EndUpdate();
    std::function<void()> OnChanging;
    std::function<void()> OnChange;

    void Assign(const TPersistent& source) override;
    void DefineProperties(PropertyDefiner& definer) override;

private:
    template <class Edit>
    void Change(Edit edit);

    std::vector<std::string> m_items;
    int m_updateCount = 0;
    bool m_changedInUpdate = false;
};

}  // namespace setup::forms
