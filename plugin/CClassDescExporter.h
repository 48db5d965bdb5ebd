// The class descriptor 3ds Max asks the plug-in library for: it names the
// exporter class and makes its instances.
#pragma once

#include "max.h"

namespace irr
{

class CClassDescExporter : public ClassDesc2
{
public:
	// `module` is the library's module handle, stored by the entry point;
	// the descriptor keeps a reference so HInstance always reports it.
	explicit CClassDescExporter(HINSTANCE& module) : Module(module) {}

	int IsPublic() override;
	// A new CHalvexExporter, allocated with the SDK's heap operators.
	void* Create(BOOL loading = FALSE) override;
	const MCHAR* ClassName() override;
	SClass_ID SuperClassID() override;
	Class_ID ClassID() override;
	const MCHAR* Category() override;
	const MCHAR* InternalName() override;
	HINSTANCE HInstance() override;

private:
	HINSTANCE& Module;
};

// The one descriptor of this library, made on the first call (safe against
// concurrent first calls) and destroyed when the library unloads.
CClassDescExporter* getExporterDesc();

// The module handle the entry point stored; null before the library ran it.
HINSTANCE& moduleHandle();

} // namespace irr
