// Windows library loading over the dynamic loader.
#include "MaxWindows.h"

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
	std::string path;
	for (const wchar_t* p = fileName; *p; ++p)
	{
		unsigned c = (unsigned)*p;
		if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
			c = 0xFFFD;
		if (c < 0x80)
			path += (char)c;
		else if (c < 0x800)
		{
			path += (char)(0xC0 | (c >> 6));
			path += (char)(0x80 | (c & 0x3F));
		}
		else if (c < 0x10000)
		{
			path += (char)(0xE0 | (c >> 12));
			path += (char)(0x80 | ((c >> 6) & 0x3F));
			path += (char)(0x80 | (c & 0x3F));
		}
		else
		{
			path += (char)(0xF0 | (c >> 18));
			path += (char)(0x80 | ((c >> 12) & 0x3F));
			path += (char)(0x80 | ((c >> 6) & 0x3F));
			path += (char)(0x80 | (c & 0x3F));
		}
	}
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
