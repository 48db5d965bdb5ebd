// A fresh temporary directory per test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace halvex_test
{

class TempDir
{
public:
	TempDir()
	{
		std::string tmpl = (std::filesystem::temp_directory_path() / "halvex-XXXXXX").string();
		char* made = mkdtemp(tmpl.data());
		if (!made)
			ADD_FAILURE() << "cannot create a temporary directory";
		Path = made ? std::filesystem::path(made) : std::filesystem::path();
	}
	~TempDir()
	{
		std::error_code ec;
		// A failed test keeps its folder (and any .actual file) for a look.
		if (!Path.empty() && !std::getenv("HALVEX_KEEP_TEMP") && !::testing::Test::HasFailure())
			std::filesystem::remove_all(Path, ec);
	}
	TempDir(const TempDir&) = delete;
	TempDir& operator=(const TempDir&) = delete;

	const std::filesystem::path& path() const { return Path; }
	std::string str() const { return Path.string(); }
	std::wstring wstr() const { return Path.wstring(); }

private:
	std::filesystem::path Path;
};

inline std::string readFile(const std::filesystem::path& p)
{
	std::ifstream in(p, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes)
{
	std::ofstream out(p, std::ios::binary);
	out << bytes;
}

} // namespace halvex_test
