// The library's exports as 3ds Max expects them of an export plug-in, and
// its entry point.
#include "plugin/CClassDescExporter.h"

#include <dlfcn.h>

#define HALVEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

// Runs on process attach like a Windows DLL entry: stores the module handle
// and turns off the thread notifications nobody here needs.
BOOL dllMain(HINSTANCE module, DWORD reason)
{
	if (reason == DLL_PROCESS_ATTACH)
	{
		irr::moduleHandle() = module;
		DisableThreadLibraryCalls(module);
	}
	return TRUE;
}

// The load-time constructor is this platform's entry point. The loader's
// handle of this library is found through an address inside it. The
// RTLD_NOLOAD open only looks the library up but counts as a reference,
// which is given back at once so the handle does not keep the library
// loaded (a module handle is no reference on Windows either).
__attribute__((constructor)) void onLibraryLoad()
{
	Dl_info info;
	if (!dladdr(reinterpret_cast<void*>(&onLibraryLoad), &info) || !info.dli_fname)
		return;
	void* self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
	if (!self)
		return;
	dlclose(self);
	dllMain(self, DLL_PROCESS_ATTACH);
}

} // namespace

HALVEX_EXPORT const MCHAR* LibDescription()
{
	return _M("Halvex Exporter");
}

HALVEX_EXPORT int LibNumberClasses()
{
	return 1;
}

HALVEX_EXPORT ClassDesc* LibClassDesc(int i)
{
	return i == 0 ? irr::getExporterDesc() : nullptr;
}

HALVEX_EXPORT ULONG LibVersion()
{
	return VERSION_3DSMAX;
}

HALVEX_EXPORT ULONG CanAutoDefer()
{
	return 1;
}

HALVEX_EXPORT int LibInitialize()
{
	return 1;
}

HALVEX_EXPORT int LibShutdown()
{
	return 1;
}
