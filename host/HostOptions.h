// The command line of the stand-in host program halvex-max.
#pragma once

#include "host/SceneImport.h"

#include <string>
#include <vector>

namespace halvex
{

// What --press does once the options window is up; Wait leaves it to the user.
enum class EPress { Wait, Export, Back, Close };

struct SHostOptions
{
	std::string Root;                 // 3ds Max root; empty: the build's maxroot
	std::vector<std::string> Select;  // node names; any makes the export "selected"
	bool SuppressPrompts = false;
	SImportOptions Import;            // --fps, --range, --take, --scale
	EPress Press = EPress::Wait;
	bool Help = false;
	bool Version = false;
	std::string Scene;
	std::string Output;
};

// Reads argv[1..]. False with a one-line reason in `error` on a usage error.
// With --help or --version the positional arguments are not required.
bool parseHostOptions(int argc, const char* const* argv, SHostOptions& options, std::string& error);

// The text --help prints.
const char* hostUsage();

} // namespace halvex
