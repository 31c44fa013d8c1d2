#include "setup/engine/system/resource_file_win32.h"

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {

void WriteResourceFile(HMODULE module, const char* name, const std::string& path)
{
    const HRSRC resource = ::FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr)
        throw rtl::Exception(std::string("Resource ") + name + " not found");
    const DWORD size = ::SizeofResource(module, resource);
    const core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw rtl::EFCreateError(path);
    DWORD written = 0;
    if (!::WriteFile(file.Get(), data, size, &written, nullptr) || written != size)
        throw rtl::EWriteError();
}

}  // namespace setup::engine
