#include "setup/ui/shell_data_object_win32.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

#include "core/com_object_win32.h"
#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

FORMATETC FormatOf(CLIPFORMAT format)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

HGLOBAL GlobalCopy(const std::string& bytes)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!memory)
        return nullptr;
    if (void* at = ::GlobalLock(memory)) {
        std::memcpy(at, bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        return memory;
    }
    ::GlobalFree(memory);
    return nullptr;
}

class FormatEnumerator final : public core::ComObject<IEnumFORMATETC>
{
public:
    FormatEnumerator(std::vector<FORMATETC> formats, std::size_t position)
        : ComObject(IID_IEnumFORMATETC), m_formats(std::move(formats)), m_position(position)
    {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override
    {
        ULONG copied = 0;
        while (copied < count && m_position < m_formats.size())
            formats[copied++] = m_formats[m_position++];
        if (fetched)
            *fetched = copied;
        return copied == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const std::size_t left = m_formats.size() - m_position;
        m_position += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override
    {
        if (!clone)
            return E_POINTER;
        *clone = new FormatEnumerator(m_formats, m_position);
        return S_OK;
    }

private:
    std::vector<FORMATETC> m_formats;
    std::size_t m_position;
};

class ShellDataObject final : public core::ComObject<IDataObject>
{
public:
    ShellDataObject() : ComObject(IID_IDataObject) {}
    // Offered in this order: the ID-list array, then the file-drop list.
    void Offer(CLIPFORMAT format, std::string block)
    {
        m_formats.push_back(FormatOf(format));
        m_blocks.push_back(std::move(block));
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!medium)
            return E_POINTER;
        const HRESULT found = QueryGetData(format);
        if (FAILED(found))
            return found;
        for (std::size_t i = 0; i < m_formats.size(); ++i)
            if (m_formats[i].cfFormat == format->cfFormat) {
                HGLOBAL copy = GlobalCopy(m_blocks[i]);
                if (!copy)
                    return E_OUTOFMEMORY;
                medium->tymed = TYMED_HGLOBAL;
                medium->hGlobal = copy;
                medium->pUnkForRelease = nullptr;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (!format || format->dwAspect != DVASPECT_CONTENT)
            return DV_E_FORMATETC;
        bool otherMedia = false;
        for (const FORMATETC& offered : m_formats)
            if (offered.cfFormat == format->cfFormat) {
                if (offered.tymed & format->tymed)
                    return S_OK;
                otherMedia = true;
            }
        return otherMedia ? DV_E_TYMED : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (!formats)
            return E_POINTER;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        *formats = new FormatEnumerator(m_formats, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<FORMATETC> m_formats;
    std::vector<std::string> m_blocks;
};

class DropSource final : public core::ComObject<IDropSource>
{
public:
    explicit DropSource(std::uint32_t button) : ComObject(IID_IDropSource), m_button(button) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        switch (ContinueDrag(escape != FALSE, keys, m_button)) {
            case DragAnswer::Cancel:
                return DRAGDROP_S_CANCEL;
            case DragAnswer::Drop:
                return DRAGDROP_S_DROP;
            default:
                return S_OK;
        }
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    std::uint32_t m_button;
};

std::u16string ForParsingName(IShellFolder& folder, const IdList& item)
{
    STRRET text{};
    auto pidl = reinterpret_cast<LPCITEMIDLIST>(item.data());
    if (FAILED(folder.GetDisplayNameOf(pidl, SHGDN_FORPARSING, &text)))
        return {};
    LPWSTR name = nullptr;
    if (FAILED(::StrRetToStrW(&text, pidl, &name)) || !name)
        return {};
    std::u16string result(reinterpret_cast<const char16_t*>(name));
    ::CoTaskMemFree(name);
    return result;
}

}  // namespace

CLIPFORMAT IdListArrayFormat()
{
    static const CLIPFORMAT format =
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Shell IDList Array"));
    return format;
}

IDataObject* MakeShellDataObject(IShellFolder& folder, const IdList& folderList,
                                 const std::vector<IdList>& items)
{
    if (items.empty())
        return nullptr;
    auto* data = new ShellDataObject;
    data->Offer(IdListArrayFormat(), BuildIdListArray({folderList, items}));
    std::vector<std::u16string> paths;
    for (const IdList& item : items)
        paths.push_back(ForParsingName(folder, item));
    data->Offer(CF_HDROP, BuildDropFiles(paths));
    return data;
}

IDropSource* MakeDropSource(std::uint32_t dragButton)
{
    return new DropSource(dragButton);
}

std::uint32_t AllowedEffectsOfData(IDataObject& data, IShellFolder& desktop)
{
    FORMATETC format = FormatOf(IdListArrayFormat());
    STGMEDIUM medium{};
    if (data.QueryGetData(&format) != S_OK || FAILED(data.GetData(&format, &medium)))
        return kDropAll;
    std::string block;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        if (const void* at = ::GlobalLock(medium.hGlobal)) {
            block.assign(static_cast<const char*>(at), ::GlobalSize(medium.hGlobal));
            ::GlobalUnlock(medium.hGlobal);
        }
    ::ReleaseStgMedium(&medium);
    const auto array = ParseIdListArray(block);
    if (!array || array->items.empty())
        return kDropAll;
    IShellFolder* parent = nullptr;
    if (IdListCount(array->parent).value_or(0) == 0) {
        desktop.AddRef();
        parent = &desktop;
    } else if (FAILED(desktop.BindToObject(reinterpret_cast<LPCITEMIDLIST>(array->parent.data()),
                                           nullptr, IID_IShellFolder,
                                           reinterpret_cast<void**>(&parent)))) {
        return kDropAll;
    }
    std::vector<LPCITEMIDLIST> pidls;
    for (const IdList& item : array->items)
        pidls.push_back(reinterpret_cast<LPCITEMIDLIST>(item.data()));
    SFGAOF attributes = kDropAll;
    if (FAILED(parent->GetAttributesOf(static_cast<UINT>(pidls.size()), pidls.data(), &attributes)))
        attributes = kDropAll;
    parent->Release();
    return attributes & kDropAll;
}

}  // namespace setup::ui
