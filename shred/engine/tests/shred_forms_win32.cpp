#include "shred/engine/tests/shred_forms_win32.h"

#include <windows.h>

namespace shred::testing {

std::vector<TargetForm> TargetForms()
{
    return {
        {L"%R\\t\\tgt", L"t\\tgt\\", L""},
        {L"%R/t/tgt", L"t\\tgt\\", L""},
        {L"%R\\t\\tgt/f0.bin", L"t\\tgt\\f0.bin", L""},
        {L"t\\tgt", L"t\\tgt\\", L""},
        {L".\\t\\..\\t\\tgt\\f1.bin", L"t\\tgt\\f1.bin", L""},
        {L"%D:t\\tgt", L"t\\tgt\\", L""},
        {L"%D:t/tgt/f0.bin", L"t\\tgt\\f0.bin", L""},
        {L"%R\\t\\tgt ", L"t\\tgt\\", L""},
        {L"t\\tgt. .", L"t\\tgt\\", L""},
        {L"%R\\t\\tgt.\\f1.bin .", L"t\\tgt\\f1.bin", L""},
        {L"%R\\t\\tgt\\*", L"t\\tgt\\", L""},
        {L"%R/t/tgt/f*.bin", L"t\\tgt\\", L".bin", false},
        {L"t/tgt/*.bin", L"t\\tgt\\", L".bin", false},
        {L"%R\\t\\tgt\\", L"", L"", true, true},
        {L"%R\\t\\tgt\\*.", L"", L"", true, true},
        {L"%D:", L"", L"", true, true},
    };
}

std::wstring ExpandForm(std::wstring text, const std::wstring& root)
{
    for (std::size_t at; (at = text.find(L"%R")) != std::wstring::npos;)
        text.replace(at, 2, root);
    for (std::size_t at; (at = text.find(L"%D")) != std::wstring::npos;)
        text.replace(at, 2, root.substr(0, 1));
    return text;
}

bool IsFormTarget(const TargetForm& form, const std::wstring& relative)
{
    if (form.refused || !relative.starts_with(form.shredPrefix) ||
        !relative.ends_with(form.shredSuffix))
        return false;
    return form.nested || relative.find(L'\\', form.shredPrefix.size()) == std::wstring::npos;
}

std::wstring LongForm(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(buffer, length) : path;
}

FormsTreeLayout MakeFormsTreeLayout(std::mt19937& random, std::uint32_t seed)
{
    FormsTreeLayout layout;
    layout.folders = {L"t", L"t\\tgt", L"t\\tgt2"};
    layout.files = {L"f0.bin", L"t\\f1.bin", L"t\\tgt.bin", L"t\\tgt.bak", L"t\\tgt2\\f2.bin"};
    // Names that differ between runs, so that a form reaching too far shows in some tree.
    const auto fileName = [&](const wchar_t* prefix, const wchar_t* ext) {
        return std::wstring(prefix) + std::to_wstring(layout.files.size()) + L"_" +
               std::to_wstring(seed) + ext;
    };
    const int top = 2 + static_cast<int>(random() % 3);
    for (int i = 0; i < top; ++i)
        layout.files.push_back(L"t\\tgt\\" + (i < 2 ? L"f" + std::to_wstring(i) + L".bin"
                                                    : fileName(L"f", i % 2 ? L".bin" : L".dat")));
    layout.files.push_back(L"t\\tgt\\keep" + std::to_wstring(seed) + L".dat");
    std::wstring folder = L"t\\tgt";
    for (int depth = 1 + static_cast<int>(random() % 3); depth > 0; --depth) {
        folder += L"\\s" + std::to_wstring(depth);
        layout.folders.push_back(folder);
        for (int i = static_cast<int>(random() % 3); i >= 0; --i)
            layout.files.push_back(folder + L"\\" + fileName(L"n", L".bin"));
    }
    return layout;
}

CurrentFolderGuard::CurrentFolderGuard()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
    if (length > 0 && length < MAX_PATH)
        m_saved.assign(buffer, length);
}

CurrentFolderGuard::~CurrentFolderGuard()
{
    if (!m_saved.empty())
        ::SetCurrentDirectoryW(m_saved.c_str());
}

}  // namespace shred::testing
