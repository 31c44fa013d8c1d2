// Wizard pages without the dialog runtime: the pages start-up preloads are remembered by key, and
// showing one answers as a silent run does (next). Stands in until the page forms exist.
#pragma once

#include <map>
#include <string>

#include "setup/deployrun/startup_services.h"
#include "setup/engine/interpreter/interpreter_host.h"

namespace setup::deployrun {

class HeadlessDialogPool final : public IDialogPool
{
public:
    void InitDialogPool(const std::string& supportDir) override;
    void LoadDialog(const std::string& key, const std::string& file) override;

    // The page loaded under the key answers "next"; a key that was never loaded raises.
    engine::PageResult ShowDialog(const std::string& key);
    const std::map<std::string, std::string>& Pages() const { return m_pages; }

private:
    std::string m_supportDir;
    std::map<std::string, std::string> m_pages;  // key -> page file
};

}  // namespace setup::deployrun
