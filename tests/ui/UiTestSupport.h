// Helpers shared by the window and settings tests: temporary folders, file
// bytes, golden comparison, and an exporter stand-in over a scene.
#pragma once

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/TempDir.h"

namespace ui_test
{

using halvex_test::TempDir;
using halvex_test::readFile;
using halvex_test::writeFile;

inline irr::core::stringw wide(const std::filesystem::path& p)
{
	return irr::core::stringw(p.wstring().c_str());
}

// Compares an output file with tests/ui/golden/<name>. On a mismatch the
// output is kept as <output>.actual and the first differing line and byte
// offset are reported. HALVEX_UPDATE_GOLDEN=1 rewrites the golden instead.
inline void expectGolden(const std::filesystem::path& output, const std::string& name)
{
	const std::filesystem::path golden = std::filesystem::path(HALVEX_SOURCE_DIR) / "tests/ui/golden" / name;
	const std::string actual = readFile(output);
	if (const char* update = std::getenv("HALVEX_UPDATE_GOLDEN"); update && std::string(update) == "1")
	{
		writeFile(golden, actual);
		return;
	}
	ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
	const std::string expected = readFile(golden);
	if (actual == expected)
		return;

	std::size_t offset = 0;
	while (offset < actual.size() && offset < expected.size() && actual[offset] == expected[offset])
		++offset;
	std::size_t line = 1;
	for (std::size_t i = 0; i < offset; ++i)
		line += expected[i] == '\n';
	const std::filesystem::path kept = output.string() + ".actual";
	writeFile(kept, actual);
	ADD_FAILURE() << name << " differs at byte offset " << offset << " (line " << line
		<< "); sizes " << actual.size() << " vs " << expected.size() << "; output kept as " << kept;
}

} // namespace ui_test
