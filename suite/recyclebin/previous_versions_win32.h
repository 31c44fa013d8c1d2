// The suite's snapshot-removal library "Snapprompt.dll" behind the worker's prompt interface:
// ShowRemovePVGUI gets the progress dialog, the shred method and the collected drive letters.
#pragma once

#include "suite/common/user_messages.h"
#include "suite/recyclebin/shred_worker.h"

namespace trashwipe {

inline constexpr wchar_t kSnapshotPromptLibrary[] = L"Snapprompt.dll";

class SnappromptPrompt final : public IPreviousVersionsPrompt
{
public:
    SnappromptPrompt(suite::ISuiteLocator& locator, suite::IUserMessages& messages,
                     void* progressDialog)
        : m_locator(locator), m_messages(messages), m_progressDialog(progressDialog)
    {}
    int Show(ShredAlgorithmId algorithm, const wchar_t* driveLetters) override;

private:
    suite::ISuiteLocator& m_locator;
    suite::IUserMessages& m_messages;
    void* m_progressDialog;
};

}  // namespace trashwipe
