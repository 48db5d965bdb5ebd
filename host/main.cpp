// halvex-max: the stand-in host. It plays 3ds Max for one export: loads a
// scene file into the substitute scene, loads the exporter plug-in, makes
// its class and calls DoExport as the export dialog would, and reports the
// outcome through its exit status.
#include "host/CVirtualDisplay.h"
#include "host/CWindowPresser.h"
#include "host/HostOptions.h"
#include "host/SceneImport.h"

#include "SubstituteScene.h"
#include "max.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

enum EExit { ExitExported = 0, ExitFailed = 1, ExitUsage = 2, ExitCancelled = 3 };

int fail(int status, const std::string& message)
{
	std::fprintf(stderr, "halvex-max: %s\n", message.c_str());
	return status;
}

// UTF-8 to wide text; malformed bytes become U+FFFD.
std::wstring widen(const std::string& s)
{
	std::wstring out;
	for (size_t i = 0; i < s.size();)
	{
		const unsigned char c = static_cast<unsigned char>(s[i]);
		int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
		unsigned code = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
		size_t j = i + 1;
		for (int k = 0; k < extra; ++k, ++j)
		{
			if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80)
			{
				extra = -1;
				break;
			}
			code = (code << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
		}
		if (extra < 0)
		{
			out += L'\xFFFD';
			++i;
			continue;
		}
		out += static_cast<wchar_t>(code);
		i = j;
	}
	return out;
}

// The maxroot the build prepares beside bin/, where this program lives.
std::string defaultRoot()
{
	std::error_code ec;
	const fs::path self = fs::read_symlink("/proc/self/exe", ec);
	if (ec)
		return "maxroot";
	return (self.parent_path().parent_path() / "maxroot").string();
}

struct SFileStamp
{
	fs::file_time_type Time;
	uintmax_t Size;
};

std::map<std::string, SFileStamp> listFiles(const fs::path& dir)
{
	std::map<std::string, SFileStamp> files;
	std::error_code ec;
	for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
	{
		std::error_code fileError;
		if (!it->is_regular_file(fileError))
			continue;
		files[it->path().filename().string()] = {it->last_write_time(fileError), it->file_size(fileError)};
	}
	return files;
}

// The exporter plug-in, loaded as 3ds Max loads plug-ins.
class CPlugin
{
public:
	~CPlugin()
	{
		if (Module)
		{
			if (Shutdown)
				Shutdown();
			FreeLibrary(Module);
		}
	}

	bool load(const std::string& path, std::string& error)
	{
		std::error_code ec;
		if (!fs::is_regular_file(path, ec))
		{
			error = path + ": plug-in not found";
			return false;
		}
		Module = LoadLibraryExW(widen(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
		if (!Module)
		{
			error = path + ": cannot load the plug-in: " + GetLastLoaderError();
			return false;
		}
		auto version = reinterpret_cast<ULONG (*)()>(GetProcAddress(Module, "LibVersion"));
		auto initialize = reinterpret_cast<int (*)()>(GetProcAddress(Module, "LibInitialize"));
		auto classDesc = reinterpret_cast<ClassDesc* (*)(int)>(GetProcAddress(Module, "LibClassDesc"));
		Shutdown = reinterpret_cast<int (*)()>(GetProcAddress(Module, "LibShutdown"));
		if (!version || !classDesc)
		{
			error = path + ": not a 3ds Max plug-in (LibVersion or LibClassDesc missing)";
			return false;
		}
		if (version() != VERSION_3DSMAX)
		{
			error = path + ": plug-in built for another 3ds Max version";
			return false;
		}
		if (initialize && !initialize())
		{
			error = path + ": the plug-in refused to initialise";
			return false;
		}
		Desc = classDesc(0);
		if (!Desc || Desc->SuperClassID() != SCENE_EXPORT_CLASS_ID)
		{
			error = path + ": the plug-in offers no scene exporter";
			return false;
		}
		return true;
	}

	SceneExport* createExporter() const { return static_cast<SceneExport*>(Desc->Create(FALSE)); }

private:
	HMODULE Module = nullptr;
	int (*Shutdown)() = nullptr;
	ClassDesc* Desc = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
	halvex::SHostOptions options;
	std::string error;
	if (!halvex::parseHostOptions(argc, argv, options, error))
	{
		std::fprintf(stderr, "halvex-max: %s (see halvex-max --help)\n", error.c_str());
		return ExitUsage;
	}
	if (options.Help)
	{
		std::fputs(halvex::hostUsage(), stdout);
		return ExitExported;
	}
	if (options.Version)
	{
		std::printf("halvex-max %s\n", HALVEX_VERSION);
		return ExitExported;
	}

	const std::string root = options.Root.empty() ? defaultRoot() : options.Root;
	const std::string pluginPath = (fs::path(root) / "plugins" / "HalvexExporter-64.dle").string();
	std::error_code ec;
	if (!fs::is_regular_file(pluginPath, ec))
		return fail(ExitUsage, pluginPath + ": plug-in not found (check --root)");

	// The scene first: an unreadable scene must leave nothing beside OUTPUT.
	if (!fs::exists(options.Scene, ec))
		return fail(ExitUsage, options.Scene + ": no such file");
	if (fs::is_directory(options.Scene, ec))
		return fail(ExitUsage, options.Scene + ": is a directory, not a scene file");
	if (access(options.Scene.c_str(), R_OK) != 0)
		return fail(ExitUsage, options.Scene + ": cannot read: " + std::strerror(errno));
	std::unique_ptr<maxsub::Scene> scene = halvex::importScene(options.Scene, options.Import, error);
	if (!scene)
	{
		if (error.empty())
			error = "not a scene file Assimp can read";
		return fail(ExitUsage, error.compare(0, options.Scene.size(), options.Scene) == 0
			? error : options.Scene + ": " + error);
	}

	DWORD exportOptions = 0;
	for (const std::string& name : options.Select)
	{
		maxsub::Node* node = scene->findNode(widen(name));
		if (!node)
			return fail(ExitUsage, options.Scene + ": no node named \"" + name + "\" to select");
		node->select();
		exportOptions |= SCENE_EXPORT_SELECTED;
	}

	// The export dialog hands over a full path; the core splits it into the
	// output directory and the base name.
	const fs::path output = fs::absolute(options.Output, ec);
	if (ec || output.filename().empty())
		return fail(ExitUsage, options.Output + ": not a file name");

	CPlugin plugin;
	if (!plugin.load(pluginPath, error))
		return fail(ExitUsage, error);
	std::unique_ptr<SceneExport> exporter(plugin.createExporter());
	if (!exporter)
		return fail(ExitUsage, pluginPath + ": the plug-in made no exporter");

	halvex::CVirtualDisplay virtualDisplay;
	const char* display = std::getenv("DISPLAY");
	if (!display || !*display)
	{
		if (options.Press == halvex::EPress::Wait)
			return fail(ExitUsage, "no X display for the options window (set DISPLAY, or use --press for an unattended run)");
		if (!virtualDisplay.start(error))
			return fail(ExitUsage, error);
	}

	std::unique_ptr<halvex::CWindowPresser> presser;
	if (options.Press != halvex::EPress::Wait)
	{
		presser.reset(new halvex::CWindowPresser(options.Press));
		if (!presser->start(error))
			return fail(ExitUsage, error);
	}

	const auto before = listFiles(output.parent_path());
	maxsub::Host host(widen(root));
	ExpInterface exportInterface;
	int result = 0;
	{
		// Standard output carries this program's report only; what the engine
		// prints while the window runs goes to standard error.
		std::fflush(stdout);
		const int savedStdout = dup(STDOUT_FILENO);
		dup2(STDERR_FILENO, STDOUT_FILENO);
		maxsub::ScopedCurrentScene current(*scene, &host);
		result = exporter->DoExport(widen(output.string()).c_str(), &exportInterface, &host,
			options.SuppressPrompts ? TRUE : FALSE, exportOptions);
		std::fflush(stdout);
		if (savedStdout >= 0)
		{
			dup2(savedStdout, STDOUT_FILENO);
			close(savedStdout);
		}
	}
	const bool windowSeen = presser && presser->windowSeen();
	if (presser)
		presser->stop();
	exporter.reset();
	virtualDisplay.stop();

	if (result == 1)
	{
		const auto after = listFiles(output.parent_path());
		for (const auto& file : after)
		{
			const auto old = before.find(file.first);
			if (old != before.end() && old->second.Time == file.second.Time && old->second.Size == file.second.Size)
				continue;
			std::printf("%s (%ju bytes)\n", (output.parent_path() / file.first).string().c_str(),
				file.second.Size);
		}
		return ExitExported;
	}
	if (result == 2)
	{
		if (presser && !windowSeen)
			return fail(ExitCancelled, "the options window did not open (no OpenGL display?); nothing exported");
		return fail(ExitCancelled, "export cancelled in the options window; nothing written");
	}
	if (!fs::is_directory(output.parent_path(), ec))
		return fail(ExitFailed, output.string() + ": export failed: the directory "
			+ output.parent_path().string() + " does not exist");
	if (!fs::is_regular_file(fs::path(root) / "plugins" / "Ostrel-64.dll", ec))
		return fail(ExitFailed, (fs::path(root) / "plugins" / "Ostrel-64.dll").string()
			+ ": export failed: core library not found");
	return fail(ExitFailed, output.string() + ": export failed: the export log could not be created"
		" or the core library could not be used");
}
