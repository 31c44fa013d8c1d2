// The shred engine as Trashwipe uses it: "Filewipe.dll" from the suite's library folder, loaded
// anew for every call, with the two callbacks forwarding to the run's observer.
#pragma once

#include "suite/common/user_messages.h"
#include "suite/recyclebin/shred_run.h"

namespace trashwipe {

inline constexpr wchar_t kShredLibrary[] = L"Filewipe.dll";

class FilewipeEngine final : public IShredEngine
{
public:
    FilewipeEngine(suite::ISuiteLocator& locator, suite::IUserMessages& messages)
        : m_locator(locator), m_messages(messages)
    {}
    int ShredPath(const std::wstring& path, ShredAlgorithmId algorithm, IShredObserver* observer,
                  volatile char* abortFlag) override;

private:
    suite::ISuiteLocator& m_locator;
    suite::IUserMessages& m_messages;
};

}  // namespace trashwipe
