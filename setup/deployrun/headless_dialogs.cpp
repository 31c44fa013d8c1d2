#include "setup/deployrun/headless_dialogs.h"

#include "setup/engine/rtl/exceptions.h"

namespace setup::deployrun {

namespace {

constexpr int kNextResult = 6;

}  // namespace

void HeadlessDialogPool::InitDialogPool(const std::string& supportDir)
{
    m_supportDir = supportDir;
    m_pages.clear();
}

void HeadlessDialogPool::LoadDialog(const std::string& key, const std::string& file)
{
    m_pages[key] = file;
}

engine::PageResult HeadlessDialogPool::ShowDialog(const std::string& key)
{
    if (m_pages.count(key) == 0)
        throw rtl::Exception("Dialog " + key + " was not loaded");
    engine::PageResult result;
    result.code = kNextResult;
    return result;
}

}  // namespace setup::deployrun
