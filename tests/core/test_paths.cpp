#include "core/COstrel.h"
#include "SubstituteScene.h"

#include <gtest/gtest.h>

#include <string>

using irr::COstrel;
using irr::core::stringw;

namespace
{

struct SplitCase
{
	const wchar_t* Source;
	const wchar_t* Dir; // as left in an empty output
	const wchar_t* Base;
	const wchar_t* Ext;
};

class SplitFileName : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFileName, SplitsAtTheFirstDotOfTheFileName)
{
	const SplitCase& c = GetParam();
	stringw dir, base, ext;
	COstrel::splitFileName(c.Source, &dir, &base, &ext);
	EXPECT_EQ(std::wstring(dir.c_str()), c.Dir);
	EXPECT_EQ(std::wstring(base.c_str()), c.Base);
	EXPECT_EQ(std::wstring(ext.c_str()), c.Ext);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitFileName, ::testing::Values(
	SplitCase{ L"C:\\exports\\hero.skc", L"C:/exports/", L"hero", L"skc" },
	SplitCase{ L"C:\\my.dir\\hero", L"C:/my.dir/", L"hero", L"" },
	SplitCase{ L"D:/a/b.c.d", L"D:/a/", L"b", L"c.d" },
	SplitCase{ L"x/name.", L"x/", L"name", L"" },
	SplitCase{ L"hero.skc", L"", L"hero", L"skc" },
	SplitCase{ L"/tmp/out/model.lod.skc", L"/tmp/out/", L"model", L"lod.skc" },
	SplitCase{ L"/tmp/.hidden", L"/tmp/", L"", L"hidden" },
	SplitCase{ L"", L"", L"", L"" }));

TEST(SplitFileNameOutputs, NullOutputsAreSkipped)
{
	stringw base;
	COstrel::splitFileName(L"C:\\a\\b.c", nullptr, &base, nullptr);
	EXPECT_EQ(std::wstring(base.c_str()), L"b");
}

struct PathCase
{
	const wchar_t* Root;
	const wchar_t* FileName;
	const wchar_t* PluginDir;
	const wchar_t* OutputDir;
	const wchar_t* BaseName;
	const char* LogPath;
};

class PreparePaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(PreparePaths, BuildsPluginSettingsAndOutputPaths)
{
	const PathCase& c = GetParam();
	maxsub::Scene scene;
	maxsub::Host host(c.Root);
	maxsub::ScopedCurrentScene current(scene, &host);

	COstrel obj;
	obj.Params.FileName = c.FileName;
	obj.preparePaths();
	EXPECT_EQ(obj.Params.MaxIface, &host);
	EXPECT_EQ(std::wstring(obj.Params.PluginDir.c_str()), c.PluginDir);
	EXPECT_EQ(std::wstring(obj.Params.SettingsPath.c_str()), std::wstring(c.PluginDir) + L"HalvexExporter.xml");
	EXPECT_EQ(std::wstring(obj.Params.OutputDir.c_str()), c.OutputDir);
	EXPECT_EQ(std::wstring(obj.Params.BaseName.c_str()), c.BaseName);
	EXPECT_STREQ(obj.outputPath(".log").c_str(), c.LogPath);
}

INSTANTIATE_TEST_SUITE_P(Table, PreparePaths, ::testing::Values(
	PathCase{ L"/opt/max", L"/out/hero.skc", L"/opt/max/plugins/", L"/out/", L"hero", "/out/hero.log" },
	PathCase{ L"/opt/max/", L"/out/hero.skc", L"/opt/max/plugins/", L"/out/", L"hero", "/out/hero.log" },
	PathCase{ L"C:\\Max", L"C:\\exports\\hero.skc", L"C:/Max/plugins/", L"C:/exports/", L"hero", "C:/exports/hero.log" },
	PathCase{ L"C:\\Max\\", L"C:\\exports\\hero.skc", L"C:/Max/plugins/", L"C:/exports/", L"hero", "C:/exports/hero.log" },
	PathCase{ L"", L"hero.skc", L"/plugins/", L"/", L"hero", "/hero.log" }));

TEST(ExporterObject, FreshObjectFacts)
{
	COstrel obj;
	EXPECT_EQ(obj.getDevice(), nullptr);
	EXPECT_STREQ(obj.getName(), "Morvath Exporter");
	EXPECT_EQ(static_cast<void*>(obj.getParams()), static_cast<void*>(&obj.Params));
	// Params is the first data member: right behind the vtable pointer.
	EXPECT_EQ(reinterpret_cast<char*>(obj.getParams()), reinterpret_cast<char*>(&obj) + sizeof(void*));
	EXPECT_TRUE(obj.MergeAction);
	EXPECT_EQ(obj.CoordType, 3);
	EXPECT_EQ(obj.ExportType, 0);
	EXPECT_EQ(obj.StartFrame, 0);
	EXPECT_EQ(obj.FPS, 30);
	EXPECT_FALSE(obj.UseObjectSpace);
	EXPECT_FLOAT_EQ(obj.ExporterVersion, 1.3f);
	EXPECT_EQ(obj.Verts.size(), 0u);
	EXPECT_EQ(obj.Bones.size(), 0u);
	obj.setResult(7);
	EXPECT_EQ(obj.Result, 7);
}

TEST(ExporterObject, PluginModuleMakesANewObjectPerCall)
{
	irr::IOstrel* a = getPluginModule();
	irr::IOstrel* b = getPluginModule();
	ASSERT_NE(a, nullptr);
	EXPECT_NE(a, b);
	EXPECT_STREQ(a->getName(), "Morvath Exporter");
	delete a;
	delete b;
}

TEST(OutputPath, WidePathsBecomeUtf8)
{
	COstrel obj;
	obj.Params.OutputDir = L"/tmp/\u00e9t\u00e9/";
	obj.Params.BaseName = L"h\u4e2d";
	EXPECT_STREQ(obj.outputPath(".log").c_str(), "/tmp/\xc3\xa9t\xc3\xa9/h\xe4\xb8\xad.log");
}

} // namespace
