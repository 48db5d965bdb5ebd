// The plug-in library's exports and class descriptor, loaded as 3ds Max
// loads it.
#include "plugin/PluginTestUtil.h"

#include <atomic>
#include <thread>
#include <vector>

using namespace halvex_test;

TEST(PluginExports, IntegerExportsGiveTheirValues)
{
	CPluginLibrary lib;
	struct SCase { const char* Name; long Expected; };
	const SCase cases[] = {
		{"LibNumberClasses", 1},
		{"LibInitialize", 1},
		{"LibShutdown", 1},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.Name);
		auto fn = reinterpret_cast<CPluginLibrary::IntFn>(lib.symbol(c.Name));
		ASSERT_NE(fn, nullptr);
		EXPECT_EQ(fn(), c.Expected);
	}
	struct SUlongCase { const char* Name; ULONG Expected; };
	const SUlongCase ulongCases[] = {
		{"LibVersion", 0x42682C00ul},
		{"CanAutoDefer", 1ul},
	};
	for (const SUlongCase& c : ulongCases)
	{
		SCOPED_TRACE(c.Name);
		auto fn = reinterpret_cast<CPluginLibrary::UlongFn>(lib.symbol(c.Name));
		ASSERT_NE(fn, nullptr);
		EXPECT_EQ(fn(), c.Expected);
	}
	auto describe = reinterpret_cast<CPluginLibrary::DescriptionFn>(lib.symbol("LibDescription"));
	ASSERT_NE(describe, nullptr);
	EXPECT_STREQ(describe(), L"Halvex Exporter");
}

TEST(PluginExports, LibClassDescGivesOneDescriptorForIndexZeroOnly)
{
	CPluginLibrary lib;
	ASSERT_NE(lib.LibClassDesc, nullptr);
	ClassDesc* first = lib.LibClassDesc(0);
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(lib.LibClassDesc(0), first);
	for (int i : {1, 2, -1})
		EXPECT_EQ(lib.LibClassDesc(i), nullptr) << "index " << i;
}

TEST(PluginExports, DescriptorNamesTheSceneExporterClass)
{
	CPluginLibrary lib;
	ClassDesc* desc = lib.LibClassDesc(0);
	ASSERT_NE(desc, nullptr);
	EXPECT_EQ(desc->IsPublic(), 1);
	EXPECT_STREQ(desc->ClassName(), L"Halvex Exporter");
	EXPECT_EQ(desc->SuperClassID(), 0xA20ul);
	EXPECT_EQ(desc->ClassID().PartA(), 0x79d613a4ul);
	EXPECT_EQ(desc->ClassID().PartB(), 0x4f21c3adul);
	EXPECT_STREQ(desc->Category(), L"Halvex Exporter");
	EXPECT_STREQ(desc->InternalName(), L"HalvexExporter");
	// Defaults the descriptor keeps from its base.
	EXPECT_EQ(desc->NumActionTables(), 0);
}

TEST(PluginExports, HInstanceIsTheLoadersHandleOfThePlugin)
{
	CPluginLibrary lib;
	ClassDesc* desc = lib.LibClassDesc(0);
	ASSERT_NE(desc, nullptr);
	EXPECT_EQ(desc->HInstance(), lib.handle());
	// The handle answers symbol look-ups like the one dlopen gave.
	EXPECT_EQ(dlsym(desc->HInstance(), "LibClassDesc"), lib.symbol("LibClassDesc"));
}

TEST(PluginExports, StoredHandleDoesNotKeepThePluginLoaded)
{
	{
		CPluginLibrary lib;
		ASSERT_NE(lib.LibClassDesc(0), nullptr);
		ASSERT_TRUE(isLoaded(pluginPath()));
	}
	EXPECT_FALSE(isLoaded(pluginPath()));
	// Loaded again, the entry point runs again and the descriptor is new.
	CPluginLibrary again;
	ClassDesc* desc = again.LibClassDesc(0);
	ASSERT_NE(desc, nullptr);
	EXPECT_EQ(desc->HInstance(), again.handle());
}

TEST(PluginExports, ConcurrentFirstRequestsShareOneDescriptor)
{
	CPluginLibrary lib;
	const int count = 8;
	std::vector<ClassDesc*> seen(count, nullptr);
	std::atomic<int> ready{0};
	std::vector<std::thread> threads;
	for (int t = 0; t < count; ++t)
		threads.emplace_back([&, t] {
			++ready;
			while (ready.load() < count)
				std::this_thread::yield();
			seen[t] = lib.LibClassDesc(0);
		});
	for (std::thread& th : threads)
		th.join();
	ASSERT_NE(seen[0], nullptr);
	for (int t = 1; t < count; ++t)
		EXPECT_EQ(seen[t], seen[0]) << "thread " << t;
}

TEST(PluginExports, CreateMakesANewSceneExporterEachTime)
{
	CPluginLibrary lib;
	SceneExport* a = lib.createExporter();
	SceneExport* b = lib.createExporter();
	ASSERT_NE(a, nullptr);
	ASSERT_NE(b, nullptr);
	EXPECT_NE(a, b);
	EXPECT_EQ(a->ExtCount(), 6);
	delete a;
	delete b;
}
