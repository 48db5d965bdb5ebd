// The scene exporter's descriptions and its DoExport against stand-in core
// libraries placed in a temporary 3ds Max root.
#include "plugin/PluginTestUtil.h"

#include "IGame/IGame.h"
#include "SubstituteScene.h"

#include <chrono>
#include <climits>
#include <memory>

using namespace halvex_test;

namespace
{

class CExporterTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Root = Temp.path() / "max";
		Out = Temp.path() / "out";
		fs::create_directories(Root / "plugins");
		fs::create_directories(Out);
		Host.setRootDir(widen(Root.string()));
		Exporter.reset(Lib.createExporter());
		ASSERT_NE(Exporter, nullptr);
	}

	void installCore(const char* builtCore)
	{
		fs::copy_file(builtCore, corePath(), fs::copy_options::overwrite_existing);
	}
	std::string corePath() const { return (Root / "plugins" / "Ostrel-64.dll").string(); }
	std::wstring outputName(const char* file = "hero.skc") const { return widen((Out / file).string()); }
	int filesIn(const fs::path& dir) const
	{
		int n = 0;
		for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it)
			++n;
		return n;
	}

	CTempDir Temp;
	fs::path Root, Out;
	CPluginLibrary Lib;
	maxsub::Host Host;
	ExpInterface ExportIface;
	// Declared last: destroyed before the library that holds its code.
	std::unique_ptr<SceneExport> Exporter;
};

} // namespace

TEST_F(CExporterTest, ExtensionsEndInDesForEveryOtherIndex)
{
	EXPECT_EQ(Exporter->ExtCount(), 6);
	struct SCase { int N; const wchar_t* Ext; };
	const SCase cases[] = {
		{0, L"amb"}, {1, L"bnc"}, {2, L"skc"}, {3, L"gmb"}, {4, L"gmc"},
		{5, L"des"}, {6, L"des"}, {-1, L"des"}, {INT_MIN, L"des"}, {INT_MAX, L"des"},
	};
	for (const SCase& c : cases)
		EXPECT_STREQ(Exporter->Ext(c.N), c.Ext) << "n = " << c.N;
}

TEST_F(CExporterTest, DescribesItself)
{
	EXPECT_STREQ(Exporter->LongDesc(), L"Mesh Export for Dorwen");
	EXPECT_STREQ(Exporter->ShortDesc(), L"Halvex Exporter");
	EXPECT_STREQ(Exporter->OtherMessage1(), L"message #1");
	EXPECT_STREQ(Exporter->OtherMessage2(), L"message #2");
	EXPECT_STREQ(Exporter->AuthorName(), L"halvex-team@users.example.org");
	EXPECT_STREQ(Exporter->CopyrightMessage(), L"Copyright (C) Halvex Exporter authors");
	Exporter->ShowAbout(nullptr);
}

TEST_F(CExporterTest, VersionIsTheIntegerPartOfTheIGameVersion)
{
	EXPECT_EQ(GetIGameVersion(), 3.0f);
	EXPECT_EQ(Exporter->Version(), 3u);
}

TEST_F(CExporterTest, SupportsEveryExtensionAndOption)
{
	for (int ext : {-1, 0, 3, 5, 6})
		for (DWORD options : {0u, 1u, 0xFFFFFFFFu})
			EXPECT_EQ(Exporter->SupportsOptions(ext, options), 1) << ext << " " << options;
}

TEST_F(CExporterTest, WithoutTheCoreFailsAtOnceAndWritesNothing)
{
	const auto start = std::chrono::steady_clock::now();
	EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, &Host, FALSE, 0), 0);
	EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
	EXPECT_FALSE(fs::exists(Out / "hero.log"));
	EXPECT_EQ(filesIn(Out), 0);
	EXPECT_EQ(filesIn(Root / "plugins"), 0);
}

TEST_F(CExporterTest, WithoutAnInterfaceFails)
{
	installCore(HALVEX_FAKE_CORE_RECORDING);
	EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, nullptr, FALSE, 0), 0);
	EXPECT_FALSE(isLoaded(corePath()));
	EXPECT_FALSE(fs::exists(Root / "record.txt"));
}

TEST_F(CExporterTest, TheRequestArrivesInTheExportParameters)
{
	installCore(HALVEX_FAKE_CORE_RECORDING);
	const std::wstring name = outputName("hero.lod.skc");
	EXPECT_EQ(Exporter->DoExport(name.c_str(), &ExportIface, &Host, TRUE, SCENE_EXPORT_SELECTED), 1);

	char pointers[128];
	std::snprintf(pointers, sizeof pointers, "ExportIface=%p\nMaxIface=%p\n",
		static_cast<void*>(&ExportIface), static_cast<void*>(static_cast<Interface*>(&Host)));
	EXPECT_EQ(readFile(Root / "record.txt"),
		"FileName=" + (Out / "hero.lod.skc").string() + "\n" + pointers +
		"SuppressPrompts=1\nOptions=1\nCreated=1\ndestroyed\n");
	EXPECT_FALSE(isLoaded(corePath()));
}

TEST_F(CExporterTest, TheCoreIsLoadedAfreshForEveryExport)
{
	installCore(HALVEX_FAKE_CORE_RECORDING);
	for (int run = 0; run < 2; ++run)
	{
		SCOPED_TRACE(run);
		fs::remove(Root / "record.txt");
		EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, &Host, FALSE, 0xFFFFFFFEu), 1);
		const std::string record = readFile(Root / "record.txt");
		// A core kept loaded between exports would count two creations.
		EXPECT_NE(record.find("Options=4294967294\nCreated=1\ndestroyed\n"), std::string::npos) << record;
		EXPECT_FALSE(isLoaded(corePath()));
	}
}

TEST_F(CExporterTest, ReturnsWhatTheCoresRunReturns)
{
	installCore(HALVEX_FAKE_CORE_RECORDING);
	for (int result : {0, 1, 2})
	{
		std::ofstream(Root / "result.txt") << result;
		EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, &Host, FALSE, 0), result);
	}
}

TEST_F(CExporterTest, RootsWithAndWithoutTrailingSeparatorFindTheCore)
{
	installCore(HALVEX_FAKE_CORE_RECORDING);
	std::string backslashed = Root.string();
	for (char& c : backslashed)
		if (c == '/')
			c = '\\';
	const std::string roots[] = {
		Root.string(), Root.string() + "/", Root.string() + "\\", backslashed, backslashed + "\\",
	};
	for (const std::string& root : roots)
	{
		SCOPED_TRACE(root);
		fs::remove(Root / "record.txt");
		maxsub::Host host(widen(root));
		EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, &host, FALSE, 0), 1);
		EXPECT_TRUE(fs::exists(Root / "record.txt"));
	}
}

struct SBrokenCore
{
	const char* Name;
	const char* Library;
};

class CBrokenCoreTest : public CExporterTest, public ::testing::WithParamInterface<SBrokenCore>
{
};

TEST_P(CBrokenCoreTest, FailsAndUnloadsTheCore)
{
	installCore(GetParam().Library);
	EXPECT_EQ(Exporter->DoExport(outputName().c_str(), &ExportIface, &Host, FALSE, 0), 0);
	EXPECT_FALSE(isLoaded(corePath()));
	EXPECT_EQ(filesIn(Out), 0);
	EXPECT_FALSE(fs::exists(Root / "record.txt"));
}

INSTANTIATE_TEST_SUITE_P(Cores, CBrokenCoreTest, ::testing::Values(
	SBrokenCore{"WithoutGetPluginModule", HALVEX_FAKE_CORE_NO_ENTRY},
	SBrokenCore{"GetPluginModuleGivesNull", HALVEX_FAKE_CORE_NULL_MODULE},
	SBrokenCore{"NotALibrary", HALVEX_SOURCE_DIR "/tests/plugin/FakeCore.cpp"}),
	[](const ::testing::TestParamInfo<SBrokenCore>& info) { return std::string(info.param.Name); });

TEST_F(CExporterTest, TheRealCoreIsUnloadedAfterItsRun)
{
	fs::create_symlink(HALVEX_PLUGINS_DIR "/Ostrel-64.dll", corePath());
	// Without a display the options window cannot open: the core reports a
	// cancelled export without touching anything.
	const char* display = std::getenv("DISPLAY");
	const std::string saved = display ? display : "";
	unsetenv("DISPLAY");
	const int result = Exporter->DoExport(outputName().c_str(), &ExportIface, &Host, FALSE, 0);
	if (display)
		setenv("DISPLAY", saved.c_str(), 1);
	EXPECT_EQ(result, 2);
	EXPECT_FALSE(isLoaded(HALVEX_PLUGINS_DIR "/Ostrel-64.dll"));
	EXPECT_EQ(filesIn(Out), 0);
	EXPECT_FALSE(fs::exists(Root / "plugins" / "HalvexExporter.xml"));
}
