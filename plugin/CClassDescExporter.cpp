#include "plugin/CClassDescExporter.h"

#include "plugin/CHalvexExporter.h"

namespace irr
{

HINSTANCE& moduleHandle()
{
	static HINSTANCE handle = nullptr;
	return handle;
}

CClassDescExporter* getExporterDesc()
{
	// A function-local static: the compiler guards its first construction
	// against concurrent callers and registers its destruction for unload.
	static CClassDescExporter desc(moduleHandle());
	return &desc;
}

int CClassDescExporter::IsPublic()
{
	return 1;
}

void* CClassDescExporter::Create(BOOL)
{
	return new CHalvexExporter();
}

const MCHAR* CClassDescExporter::ClassName()
{
	return _M("Halvex Exporter");
}

SClass_ID CClassDescExporter::SuperClassID()
{
	return SCENE_EXPORT_CLASS_ID;
}

Class_ID CClassDescExporter::ClassID()
{
	return Class_ID(0x79d613a4, 0x4f21c3ad);
}

const MCHAR* CClassDescExporter::Category()
{
	return _M("Halvex Exporter");
}

const MCHAR* CClassDescExporter::InternalName()
{
	return _M("HalvexExporter");
}

HINSTANCE CClassDescExporter::HInstance()
{
	return Module;
}

} // namespace irr
