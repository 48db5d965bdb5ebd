// Windows names the exporter and its plug-in use, on this platform.
//
// Handles are opaque pointers. Library loading is the dynamic loader
// underneath: LoadLibraryExW takes a wide path, converts it to UTF-8 and
// dlopen()s it; GetProcAddress is dlsym(); FreeLibrary is dlclose().
// LOAD_WITH_ALTERED_SEARCH_PATH is accepted and needs nothing: libraries built
// for this platform carry an $ORIGIN run path, so their own directory is
// searched first for what they link.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef std::uint32_t DWORD;
typedef unsigned long ULONG;
typedef void* HINSTANCE;
typedef void* HMODULE;
typedef void* HWND;
typedef void* HANDLE;
typedef void* LPVOID;
typedef void (*FARPROC)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

HMODULE LoadLibraryExW(const wchar_t* fileName, HANDLE file, DWORD flags);
FARPROC GetProcAddress(HMODULE module, const char* procName);
BOOL FreeLibrary(HMODULE module);
BOOL DisableThreadLibraryCalls(HMODULE module);

// Text of the loader's last failure (dlerror), or an empty string.
const char* GetLastLoaderError();
