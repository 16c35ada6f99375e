#include "LibModule.h"

#include "res/resource.h"

namespace {

HMODULE g_Module = nullptr;
wchar_t g_LibName[100] = L"";

} // namespace

HMODULE PictavoModule()
{
    return g_Module;
}

const wchar_t *PictavoLibName()
{
    return g_LibName;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_Module = instance;
        LoadStringW(instance, IDS_LIBNAME, g_LibName, _countof(g_LibName));
    }
    return TRUE;
}
