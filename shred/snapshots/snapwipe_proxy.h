// The entry points of the merged proxy/stub (snapwipe_proxy.c): the module hands them its handle
// when it loads and calls them beside its own class registration and class objects.
#pragma once

#include <windows.h>

extern "C" {
BOOL WINAPI PrxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
HRESULT WINAPI PrxDllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT WINAPI PrxDllCanUnloadNow();
HRESULT WINAPI PrxDllRegisterServer();
HRESULT WINAPI PrxDllUnregisterServer();
}
