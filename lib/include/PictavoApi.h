// Export/import switch for the PictavoLib64 DLL. The library build defines
// PICTAVOLIB_BUILD; every user of the headers gets dllimport.
#pragma once

#if defined(PICTAVOLIB_BUILD)
#define PICTAVO_API __declspec(dllexport)
#else
#define PICTAVO_API __declspec(dllimport)
#endif

// Plain C entry points with unmangled names, for callers that load the
// library at run time and look functions up by name.
#define PICTAVO_CAPI extern "C" PICTAVO_API
