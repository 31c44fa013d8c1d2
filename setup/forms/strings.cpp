#include "setup/forms/strings.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"
#include "setup/forms/type_info.h"

namespace setup::forms {

const ClassInfo& TStrings::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TStrings>("TStrings", &TPersistent::StaticClass()).Build();
    return info;
}

template <class Edit>
void TStrings::Change(Edit edit)
{
    if (m_updateCount == 0 && OnChanging)
        OnChanging();
    edit();
    if (m_updateCount > 0)
        m_changedInUpdate = true;
    else if (OnChange)
        OnChange();
}

void TStrings::Add(std::string item)
{
    Change([&] { m_items.push_back(std::move(item)); });
}

void TStrings::Insert(std::size_t index, std::string item)
{
    if (index > m_items.size())
        throw rtl::Exception("List index out of bounds (" + std::to_string(index) + ")");
    Change([&] {
        m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    });
}

void TStrings::Put(std::size_t index, std::string item)
{
    if (index >= m_items.size())
        throw rtl::Exception("List index out of bounds (" + std::to_string(index) + ")");
    Change([&] { m_items[index] = std::move(item); });
}

void TStrings::Delete(std::size_t index)
{
    if (index >= m_items.size())
        throw rtl::Exception("List index out of bounds (" + std::to_string(index) + ")");
    Change([&] { m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index)); });
}

void TStrings::Clear()
{
    if (!m_items.empty())
        Change([&] { m_items.clear(); });
}

void TStrings::SetItems(std::vector<std::string> items)
{
    Change([&] { m_items = std::move(items); });
}

int TStrings::IndexOf(std::string_view text) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (SameName(m_items[i], text))
            return static_cast<int>(i);
    return -1;
}

std::string TStrings::Text() const
{
    std::string text;
    for (const std::string& item : m_items)
        text += item + "\r\n";
    return text;
}

void TStrings::SetText(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            items.emplace_back(text.substr(start));
            break;
        }
        items.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    SetItems(std::move(items));
}

void TStrings::BeginUpdate()
{
    if (m_updateCount++ == 0) {
        m_changedInUpdate = false;
        if (OnChanging)
            OnChanging();
    }
}

void TStrings::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedInUpdate && OnChange)
        OnChange();
}

void TStrings::Assign(const TPersistent& source)
{
    if (const auto* other = dynamic_cast<const TStrings*>(&source)) {
        SetItems(other->m_items);
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::DefineProperties(PropertyDefiner& definer)
{
    definer.DefineProperty(
        "Strings",
        [this](const FormValue& value) {
            if (value.type != ValueType::List)
                throw rtl::Exception("Invalid property value");
            std::vector<std::string> items;
            for (const FormValue& item : value.list) {
                if (!item.IsString())
                    throw rtl::Exception("Invalid property value");
                items.push_back(item.AsText());
            }
            SetItems(std::move(items));
        },
        [this]() -> std::optional<FormValue> {
            if (m_items.empty())
                return std::nullopt;
            std::vector<FormValue> items;
            for (const std::string& item : m_items)
                items.push_back(FormValue::Text(item));
            return FormValue::Values(std::move(items));
        });
}

}  // namespace setup::forms
