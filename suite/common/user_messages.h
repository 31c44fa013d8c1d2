// The message boxes the suite's libraries show when something they need is missing: an interface,
// so a test records them instead of waiting on a window.
#pragma once

#include <string>
#include <string_view>

namespace suite {

enum class MessageIcon
{
    Error,
    Exclamation,
    None
};

class IUserMessages
{
public:
    // An OK box; `caption` empty means the library's own title.
    virtual void Show(std::wstring_view text, std::wstring_view caption, MessageIcon icon) = 0;

protected:
    ~IUserMessages() = default;
};

// Where the suite's libraries are: the folder the setup recorded for a library, and the folder of
// the program that loaded the caller.
class ISuiteLocator
{
public:
    virtual std::wstring SuiteLibraryFolder(std::wstring_view fileName) = 0;
    virtual std::wstring ModuleFolder() = 0;

protected:
    ~ISuiteLocator() = default;
};

}  // namespace suite
