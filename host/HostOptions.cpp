#include "host/HostOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <climits>

namespace halvex
{

namespace
{

bool parseInt(const std::string& text, int& value)
{
	if (text.empty())
		return false;
	errno = 0;
	char* end = nullptr;
	const long v = std::strtol(text.c_str(), &end, 10);
	if (errno || *end || v < INT_MIN || v > INT_MAX)
		return false;
	value = static_cast<int>(v);
	return true;
}

bool parseFloat(const std::string& text, float& value)
{
	if (text.empty())
		return false;
	errno = 0;
	char* end = nullptr;
	const float v = std::strtof(text.c_str(), &end);
	if (errno || *end || !std::isfinite(v))
		return false;
	value = v;
	return true;
}

} // namespace

const char* hostUsage()
{
	return
		"Usage: halvex-max [options] SCENE OUTPUT\n"
		"Exports SCENE (any file Assimp reads) through the Halvex Exporter plug-in.\n"
		"OUTPUT is the export file name as picked in an export dialog; the settings\n"
		"in the options window decide which files are written beside it.\n"
		"\n"
		"Options:\n"
		"  --root DIR           3ds Max root whose plugins/ holds the plug-in\n"
		"                       (default: the maxroot beside this program's build)\n"
		"  --select NAME        select the node NAME and export the selection only\n"
		"                       (repeatable)\n"
		"  --suppress-prompts   pass the prompt-suppression flag to the exporter\n"
		"  --fps N              frame rate of the scene (default 30)\n"
		"  --range START END    animation range in frames (default: the animation)\n"
		"  --take NAME|INDEX    animation that drives the bones (default: the first)\n"
		"  --scale F            uniform scale applied to the scene (default 1)\n"
		"  --press ACTION       once the options window is up, press \"export\" or\n"
		"                       \"back\", or \"close\" the window; without a display a\n"
		"                       virtual X server is started for the run\n"
		"  --help               show this text\n"
		"  --version            show the version\n"
		"\n"
		"Exit status: 0 exported, 1 export failed, 2 usage error, unreadable scene or\n"
		"missing plug-in, 3 cancelled in the options window.\n";
}

bool parseHostOptions(int argc, const char* const* argv, SHostOptions& options, std::string& error)
{
	std::vector<std::string> positional;
	bool optionsEnded = false;
	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg == "-")
		{
			positional.push_back(arg);
			continue;
		}
		if (arg == "--")
		{
			optionsEnded = true;
			continue;
		}
		// Every option with values takes them from the following arguments.
		auto value = [&](int index) -> const char* {
			return i + index < argc ? argv[i + index] : nullptr;
		};
		auto missing = [&](const char* what) {
			error = arg + " needs " + what;
			return false;
		};
		if (arg == "--help" || arg == "-h")
			options.Help = true;
		else if (arg == "--version")
			options.Version = true;
		else if (arg == "--suppress-prompts")
			options.SuppressPrompts = true;
		else if (arg == "--root")
		{
			if (!value(1) || !*value(1))
				return missing("a directory");
			options.Root = value(1);
			++i;
		}
		else if (arg == "--select")
		{
			if (!value(1) || !*value(1))
				return missing("a node name");
			options.Select.push_back(value(1));
			++i;
		}
		else if (arg == "--take")
		{
			if (!value(1) || !*value(1))
				return missing("an animation name or index");
			options.Import.Take = value(1);
			++i;
		}
		else if (arg == "--fps")
		{
			int fps = 0;
			if (!value(1))
				return missing("a frame rate");
			if (!parseInt(value(1), fps) || fps <= 0 || fps > 4800)
			{
				error = std::string("--fps: not a frame rate between 1 and 4800: ") + value(1);
				return false;
			}
			options.Import.FPS = fps;
			++i;
		}
		else if (arg == "--range")
		{
			int start = 0, end = 0;
			if (!value(1) || !value(2))
				return missing("a start and an end frame");
			if (!parseInt(value(1), start) || !parseInt(value(2), end))
			{
				error = std::string("--range: not whole frame numbers: ") + value(1) + " " + value(2);
				return false;
			}
			if (end < start)
			{
				error = std::string("--range: the end frame ") + value(2) + " lies before the start frame " + value(1);
				return false;
			}
			options.Import.HasRange = true;
			options.Import.RangeStart = start;
			options.Import.RangeEnd = end;
			i += 2;
		}
		else if (arg == "--scale")
		{
			float scale = 0.f;
			if (!value(1))
				return missing("a scale factor");
			if (!parseFloat(value(1), scale) || !(scale > 0.f))
			{
				error = std::string("--scale: not a positive number: ") + value(1);
				return false;
			}
			options.Import.Scale = scale;
			++i;
		}
		else if (arg == "--press")
		{
			if (!value(1))
				return missing("export, back or close");
			const std::string action = value(1);
			if (action == "export")
				options.Press = EPress::Export;
			else if (action == "back")
				options.Press = EPress::Back;
			else if (action == "close")
				options.Press = EPress::Close;
			else
			{
				error = "--press: unknown action \"" + action + "\" (export, back or close)";
				return false;
			}
			++i;
		}
		else
		{
			error = "unknown option " + arg;
			return false;
		}
	}
	if (options.Help || options.Version)
		return true;
	if (positional.size() != 2)
	{
		error = positional.size() < 2 ? "SCENE and OUTPUT are required"
			: "too many arguments: " + positional[2];
		return false;
	}
	if (positional[0].empty() || positional[1].empty())
	{
		error = "SCENE and OUTPUT must not be empty";
		return false;
	}
	options.Scene = positional[0];
	options.Output = positional[1];
	return true;
}

} // namespace halvex
