// Stand-ins for the core library, built three ways (FAKE_CORE_KIND):
//   0  records the request it receives into <root>/record.txt and returns
//      the number in <root>/result.txt (1 when absent) from run;
//   1  exports no getPluginModule;
//   2  its getPluginModule returns null.
// <root> is what the request's Interface reports for the root directory.
#include "core/IOstrel.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

// Calls of getPluginModule since this library was loaded: 1 at every run
// when the shell unloads the core after each export.
int g_created = 0;

std::string narrow(const wchar_t* w)
{
	std::string s;
	for (; w && *w; ++w)
		s += *w < 0x80 ? static_cast<char>(*w) : '?';
	return s;
}

class CRecordingCore : public irr::IOstrel
{
public:
	~CRecordingCore() override
	{
		if (FILE* f = std::fopen(recordPath().c_str(), "a"))
		{
			std::fputs("destroyed\n", f);
			std::fclose(f);
		}
	}
	const irr::c8* getName() const override { return "fake"; }
	irr::s32 run() override
	{
		if (FILE* f = std::fopen(recordPath().c_str(), "w"))
		{
			std::fprintf(f, "FileName=%s\nExportIface=%p\nMaxIface=%p\nSuppressPrompts=%d\nOptions=%u\nCreated=%d\n",
				narrow(Params.FileName.c_str()).c_str(), static_cast<void*>(Params.ExportIface),
				static_cast<void*>(Params.MaxIface), Params.SuppressPrompts, Params.Options, g_created);
			std::fclose(f);
		}
		int result = 1;
		if (FILE* f = std::fopen((root() + "result.txt").c_str(), "r"))
		{
			if (std::fscanf(f, "%d", &result) != 1)
				result = 1;
			std::fclose(f);
		}
		return result;
	}
	bool exportScene() override { return false; }
	irr::SExportParams* getParams() override { return &Params; }
	irr::IrrlichtDevice* getDevice() override { return nullptr; }
	void setResult(irr::s32) override {}

private:
	std::string root() const
	{
		std::string r = Params.MaxIface ? narrow(Params.MaxIface->GetDir(APP_MAXROOT_DIR)) : "";
		for (char& c : r)
			if (c == '\\')
				c = '/';
		if (!r.empty() && r.back() != '/')
			r += '/';
		return r;
	}
	std::string recordPath() const { return root() + "record.txt"; }

	irr::SExportParams Params;
};

} // namespace

#if FAKE_CORE_KIND == 0
FAKE_EXPORT irr::IOstrel* getPluginModule()
{
	++g_created;
	return new CRecordingCore();
}
#elif FAKE_CORE_KIND == 1
FAKE_EXPORT irr::IOstrel* getOtherModule()
{
	++g_created;
	return new CRecordingCore();
}
#elif FAKE_CORE_KIND == 2
FAKE_EXPORT irr::IOstrel* getPluginModule()
{
	++g_created;
	return nullptr;
}
#endif
