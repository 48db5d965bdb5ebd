// Windows library loading over the dynamic loader.
#include "MaxWindows.h"
#include "Utf8.h"

#include <dlfcn.h>
#include <string>

namespace
{
thread_local std::string g_loaderError;
}

HMODULE LoadLibraryExW(const wchar_t* fileName, HANDLE, DWORD)
{
	g_loaderError.clear();
	if (!fileName)
		return nullptr;
	std::string path = maxsub::toUtf8(fileName);
	// dlopen searches the library path for a name without '/': a Windows
	// caller always means a file, so make a bare name relative.
	if (path.find('/') == std::string::npos)
		path = "./" + path;
	void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (!handle)
	{
		const char* err = dlerror();
		g_loaderError = err ? err : "cannot load library";
	}
	return handle;
}

FARPROC GetProcAddress(HMODULE module, const char* procName)
{
	if (!module || !procName)
		return nullptr;
	dlerror();
	void* sym = dlsym(module, procName);
	return reinterpret_cast<FARPROC>(sym);
}

BOOL FreeLibrary(HMODULE module)
{
	if (!module)
		return FALSE;
	return dlclose(module) == 0 ? TRUE : FALSE;
}

BOOL DisableThreadLibraryCalls(HMODULE module)
{
	return module ? TRUE : FALSE;
}

const char* GetLastLoaderError()
{
	return g_loaderError.c_str();
}
