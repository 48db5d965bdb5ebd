// Helpers for tests that load the built plug-in the way the host does.
#pragma once

#include "max.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace halvex_test
{

namespace fs = std::filesystem;

using CTempDir = TempDir;

inline std::string pluginPath()
{
	return std::string(HALVEX_PLUGINS_DIR) + "/HalvexExporter-64.dle";
}

// True while the library at `path` is loaded in this process.
inline bool isLoaded(const std::string& path)
{
	void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
	if (!h)
		return false;
	dlclose(h);
	return true;
}

inline std::wstring widen(const std::string& s)
{
	return std::wstring(s.begin(), s.end());
}

// The plug-in library, opened with the dynamic loader, and its exports.
class CPluginLibrary
{
public:
	typedef const MCHAR* (*DescriptionFn)();
	typedef int (*IntFn)();
	typedef ULONG (*UlongFn)();
	typedef ClassDesc* (*ClassDescFn)(int);

	CPluginLibrary() { open(); }
	~CPluginLibrary() { close(); }
	CPluginLibrary(const CPluginLibrary&) = delete;
	CPluginLibrary& operator=(const CPluginLibrary&) = delete;

	void open()
	{
		Handle = dlopen(pluginPath().c_str(), RTLD_NOW | RTLD_LOCAL);
		ASSERT_NE(Handle, nullptr) << dlerror();
		LibClassDesc = reinterpret_cast<ClassDescFn>(symbol("LibClassDesc"));
	}
	void close()
	{
		if (Handle)
			dlclose(Handle);
		Handle = nullptr;
		LibClassDesc = nullptr;
	}
	void* symbol(const char* name) const { return Handle ? dlsym(Handle, name) : nullptr; }
	void* handle() const { return Handle; }

	// A new exporter from the descriptor, as 3ds Max makes one.
	SceneExport* createExporter() const
	{
		ClassDesc* desc = LibClassDesc ? LibClassDesc(0) : nullptr;
		return desc ? static_cast<SceneExport*>(desc->Create(FALSE)) : nullptr;
	}

	ClassDescFn LibClassDesc = nullptr;

private:
	void* Handle = nullptr;
};

} // namespace halvex_test
