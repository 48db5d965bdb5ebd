// The core library's entry, looked up by name by the plug-in shell.
#include "core/COstrel.h"

extern "C" __attribute__((visibility("default"))) irr::IOstrel* getPluginModule()
{
	return new irr::COstrel();
}
