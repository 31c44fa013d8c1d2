// The texts the shell controls show, as lists to compare with.
#pragma once

#include <string>
#include <vector>

#include "setup/forms/strings.h"
#include "setup/ui/common_controls.h"

namespace setup::ui::testing {

inline std::vector<std::string> ChildTexts(const TTreeNode* node)
{
    std::vector<std::string> texts;
    for (const auto& child : node->Children())
        texts.push_back(child->Text());
    return texts;
}

inline std::vector<std::string> Texts(const forms::TStrings& items)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < items.Count(); ++i)
        texts.push_back(items[i]);
    return texts;
}

}  // namespace setup::ui::testing
