/* The merged proxy/stub of ISnapwipeo as widl generates it, with the entry points renamed Prx* so
   that the module's own DllMain and registration call them. mingw's C view of unknwnbase.h leaves
   out the IUnknown proxy routines that the generated tables name. */
#include <objbase.h>

HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown* This, REFIID riid,
                                                        void** ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown* This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown* This);

#include "snapwipe_i.c"
#include "snapwipe_p.c"
#include "dlldata.c"
