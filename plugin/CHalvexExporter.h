// The scene exporter 3ds Max offers in its export dialog. It holds no export
// logic: each DoExport loads the core library from the plugins directory,
// hands it the request and unloads it again.
#pragma once

#include "max.h"

namespace irr
{

class CHalvexExporter : public SceneExport
{
public:
	~CHalvexExporter() override;

	int ExtCount() override;
	// 0 amb, 1 bnc, 2 skc, 3 gmb, 4 gmc, anything else des. The extension
	// picked in the dialog does not choose the format; the settings do.
	const MCHAR* Ext(int n) override;
	const MCHAR* LongDesc() override;
	const MCHAR* ShortDesc() override;
	const MCHAR* AuthorName() override;
	const MCHAR* CopyrightMessage() override;
	const MCHAR* OtherMessage1() override;
	const MCHAR* OtherMessage2() override;
	// Integer part of the IGame version.
	unsigned int Version() override;
	void ShowAbout(HWND hWnd) override;
	// Loads <root>/plugins/Ostrel-64.dll, runs one export request through it
	// and unloads it. 1 exported, 0 failed (also: core missing or unusable,
	// no interface), 2 cancelled in the options window.
	int DoExport(const MCHAR* name, ExpInterface* ei, Interface* i,
		BOOL suppressPrompts = FALSE, DWORD options = 0) override;
	// Every extension and option, so 3ds Max also offers "export selected".
	BOOL SupportsOptions(int ext, DWORD options) override;
};

} // namespace irr
