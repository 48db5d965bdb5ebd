// Helpers shared by the scene import tests: a private temporary folder per
// test and small readers for the substitute scene.
#pragma once

#include "SubstituteScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace halvex_test
{

class CTempDir
{
public:
	CTempDir()
	{
		char pattern[] = "/tmp/halvex_import_XXXXXX";
		const char* made = mkdtemp(pattern);
		Path = made ? made : "";
	}
	~CTempDir()
	{
		std::error_code ec;
		if (!Path.empty())
			std::filesystem::remove_all(Path, ec);
	}
	std::string file(const std::string& name) const { return Path + "/" + name; }
	std::string write(const std::string& name, const std::string& content) const
	{
		std::ofstream out(file(name), std::ios::binary);
		out << content;
		return file(name);
	}
	const std::string& path() const { return Path; }

private:
	std::string Path;
};

inline std::string narrow(const std::wstring& w)
{
	std::string s;
	for (wchar_t c : w)
		s.push_back(c < 0x80 ? (char)c : '?');
	return s;
}

// Object-space position of a mesh vertex, unconverted (no current scene).
inline Point3 vertexOf(maxsub::Mesh& mesh, int i)
{
	Point3 p;
	mesh.GetVertex(i, p, true);
	return p;
}

inline Point3 normalOf(maxsub::Mesh& mesh, int i)
{
	Point3 p;
	mesh.GetNormal(i, p, true);
	return p;
}

inline void expectNear(const Point3& actual, const Point3& expected, float tol = 1e-4f)
{
	EXPECT_NEAR(actual.x, expected.x, tol);
	EXPECT_NEAR(actual.y, expected.y, tol);
	EXPECT_NEAR(actual.z, expected.z, tol);
}

} // namespace halvex_test
