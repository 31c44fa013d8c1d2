#include "shred/engine/shred_settings.h"

#include "core/unique_handle.h"

#include <new>

namespace shred {
namespace {

constexpr DWORD kShredCharBufferBytes = 20;
constexpr DWORD kShredCharMaxBytes = 520;
constexpr DWORD kTypesSupported = 7;
constexpr DWORD kCategoryCount = 2;

std::wstring ModulePath(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void SetString(HKEY key, const wchar_t* name, DWORD type, const std::wstring& value)
{
    ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

std::uint8_t ReadShredChar(const ShredVariant& variant, const ShredRegistry& registry)
{
    core::UniqueKey key;
    const std::wstring path = registry.prefix + variant.shredCharKey;
    if (::RegOpenKeyExW(registry.root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return 0;
    BYTE data[kShredCharBufferBytes] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExW(key.Get(), L"ShredChar", nullptr, nullptr, data, &size) !=
            ERROR_SUCCESS ||
        size > kShredCharMaxBytes)
        return 0;
    return data[0];
}

_OW_RUN* BuildShredAlgorithm(int algorithmId, const ShredVariant& variant)
{
    return BuildShredAlgorithm(algorithmId, variant, [&variant] { return ReadShredChar(variant); });
}

ShredEventLog::ShredEventLog(IShredSystem& system, const ShredVariant& variant,
                             ShredRegistry registry)
    : m_system(system), m_variant(variant), m_registry(std::move(registry))
{}

std::uint32_t ShredEventLog::ReadEventLogSetting() const
{
    if (!m_variant.hasEventLog)
        return 0;
    core::UniqueKey key;
    const std::wstring path = m_registry.prefix + kEventLogSettingsKey;
    if (::RegOpenKeyExW(m_registry.root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return 0;
    DWORD mode = 0;
    DWORD size = sizeof mode;
    if (::RegQueryValueExW(key.Get(), kEventLogSettingValue, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&mode), &size) != ERROR_SUCCESS)
        return 0;
    return mode;
}

void ShredEventLog::RegisterShredEventSource() const
{
    if (!m_variant.hasEventLog)
        return;
    try {
        core::UniqueKey key;
        const std::wstring path = m_registry.prefix + kEventSourceKeyPrefix + kShredEventSource;
        if (::RegCreateKeyExW(m_registry.root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
            return;
        const std::wstring messageFile = MessageFilePath();
        SetString(key.Get(), L"EventMessageFile", REG_EXPAND_SZ, messageFile);
        SetDword(key.Get(), L"TypesSupported", kTypesSupported);
        SetString(key.Get(), L"CategoryMessageFile", REG_EXPAND_SZ, messageFile);
        SetDword(key.Get(), L"CategoryCount", kCategoryCount);
    } catch (const std::bad_alloc&) {
        // The log never changes what the engine does; an unwritten key is all this costs.
    }
}

void ShredEventLog::ReportShredEvent(const std::wstring& path, int algorithmId, int result) const
{
    if (!m_variant.hasEventLog)
        return;
    try {
        m_system.WriteEvent(MakeShredEventRecord(path, algorithmId, result));
    } catch (const std::bad_alloc&) {
        // As above: a record that cannot be built is a record not written.
    }
}

std::wstring ShredEventLog::MessageFilePath()
{
    HMODULE module = ::GetModuleHandleW(L"Filewipe.dll");
    return ModulePath(module);
}

}  // namespace shred
