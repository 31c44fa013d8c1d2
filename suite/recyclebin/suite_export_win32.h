// One export of another suite library, loaded for one use from the folder the setup recorded and
// released with the returned owner; the "Could not locate necessary dll" messages when it is
// missing.
#pragma once

#include "core/unique_handle.h"
#include "suite/common/user_messages.h"

#include <windows.h>

#include <optional>

namespace trashwipe {

struct BoundExport
{
    core::UniqueModule library;
    FARPROC function;
};

enum class ExportMessage
{
    NamesExport,  // "... 'Filewipe.dll' (VNTShredFile)"
    LibraryOnly,  // the same text as for a missing library
};

std::optional<BoundExport> BindSuiteExport(suite::ISuiteLocator& locator,
                                           suite::IUserMessages& messages, const wchar_t* fileName,
                                           const char* exportName,
                                           ExportMessage message = ExportMessage::NamesExport);

}  // namespace trashwipe
