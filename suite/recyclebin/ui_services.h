// The windows a run may open besides its own dialogs: message boxes, the save dialog of the log
// and the program that opens the log. An interface, so tests record them and never block.
#pragma once

#include "suite/common/user_messages.h"

#include <optional>
#include <string>

namespace trashwipe {

class IUiServices : public suite::IUserMessages
{
public:
    // The file the user chose for `proposed`, or nothing when the dialog was cancelled.
    virtual std::optional<std::wstring> AskSavePath(const std::wstring& proposed,
                                                    const std::wstring& filterName) = 0;
    // Opens the document with the shell's "open" verb; the outcome is not examined.
    virtual void OpenDocument(const std::wstring& path) = 0;

protected:
    ~IUiServices() = default;
};

}  // namespace trashwipe
