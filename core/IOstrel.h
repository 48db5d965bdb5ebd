// The exporter interface shared by the core library and the plug-in shell.
//
// The shell knows only this header: it obtains an object from the core's
// getPluginModule, fills the request fields of SExportParams, calls run and
// deletes the object through its virtual destructor. The virtual order below
// is the contract between the two libraries; do not reorder it.
#pragma once

#include <irrlicht.h>

#include "IGame/IGame.h"
#include "max.h"

namespace irr
{

struct SExportParams
{
	// Written by the shell.
	core::stringw FileName;   // the chosen export file name, full path
	ExpInterface* ExportIface; // stored, not used by the core
	Interface* MaxIface;       // replaced with GetCOREInterface() by run
	s32 SuppressPrompts;       // stored, not used by the core
	u32 Options;               // bit 0: export only the selected nodes

	// Filled by the core.
	core::stringw OutputDir;   // directory of FileName, '/' separators, ends in '/'
	core::stringw BaseName;    // file name before its first dot
	core::stringw Extension;   // file name after its first dot
	core::stringw PluginDir;   // <3ds Max root>/plugins/
	core::stringw SettingsPath; // PluginDir + "HalvexExporter.xml"

	// The shell writes the pointers and numbers before run reads them.
	SExportParams() : ExportIface(0), MaxIface(0), SuppressPrompts(0), Options(0) {}
	~SExportParams() {}
};

class IOstrel
{
public:
	virtual ~IOstrel() {}
	virtual const c8* getName() const = 0;
	// Shows the options window; 1 exported, 0 failed, 2 cancelled.
	virtual s32 run() = 0;
	// The export driver; false when the export log could not be created.
	virtual bool exportScene() = 0;
	virtual SExportParams* getParams() = 0;
	virtual IrrlichtDevice* getDevice() = 0;
	virtual void setResult(s32 value) = 0;
};

} // namespace irr

// The core library's only entry; a new exporter object per call.
extern "C" irr::IOstrel* getPluginModule();
typedef irr::IOstrel* (*GetPluginModuleFn)();
