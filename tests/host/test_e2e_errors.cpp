// halvex-max refuses bad command lines, missing plug-ins and files that are
// no scenes with exit status 2 and one clear line, before anything is written.
#include "host/E2eSupport.h"

using namespace halvex_test;

namespace
{

const char* const Example = HALVEX_SOURCE_DIR "/examples/walker.gltf";

// Exactly one line on standard error, naming what went wrong.
void expectOneErrorLine(const SHostRun& run, const std::string& needle)
{
	const std::vector<std::string> errors = lines(run.Err);
	ASSERT_EQ(errors.size(), 1u) << run.Err;
	EXPECT_EQ(errors[0].compare(0, 12, "halvex-max: "), 0) << errors[0];
	EXPECT_NE(errors[0].find(needle), std::string::npos) << errors[0];
}

struct SUsageCase
{
	std::vector<std::string> Args;
	const char* Message;
};

} // namespace

TEST_F(CE2eTest, UsageErrorsExitWithTwo)
{
	const SUsageCase cases[] = {
		{{}, "SCENE and OUTPUT are required"},
		{{"scene.obj"}, "SCENE and OUTPUT are required"},
		{{"a.obj", "b.skc", "c"}, "too many arguments: c"},
		{{"--bogus", "a.obj", "b.skc"}, "unknown option --bogus"},
		{{"--press", "push", "a.obj", "b.skc"}, "--press: unknown action \"push\""},
		{{"a.obj", "b.skc", "--press"}, "--press needs export, back or close"},
		{{"--fps", "0", "a.obj", "b.skc"}, "--fps: not a frame rate"},
		{{"--fps", "30x", "a.obj", "b.skc"}, "--fps: not a frame rate"},
		{{"--range", "5", "2", "a.obj", "b.skc"}, "--range: the end frame 2 lies before the start frame 5"},
		{{"--range", "1.5", "2", "a.obj", "b.skc"}, "--range: not whole frame numbers"},
		{{"a.obj", "b.skc", "--range", "1"}, "--range needs a start and an end frame"},
		{{"--scale", "-1", "a.obj", "b.skc"}, "--scale: not a positive number"},
		{{"--scale", "nan", "a.obj", "b.skc"}, "--scale: not a positive number"},
		{{"a.obj", "b.skc", "--select"}, "--select needs a node name"},
		{{"a.obj", "b.skc", "--take", ""}, "--take needs an animation name or index"},
		{{"", "b.skc"}, "SCENE and OUTPUT must not be empty"},
	};
	for (const SUsageCase& c : cases)
	{
		std::string joined;
		for (const std::string& a : c.Args)
			joined += "'" + a + "' ";
		SCOPED_TRACE(joined);
		const SHostRun run = runHost(c.Args);
		EXPECT_EQ(run.Status, 2);
		EXPECT_EQ(run.Out, "");
		expectOneErrorLine(run, c.Message);
	}
	EXPECT_EQ(filesIn(Temp.path() / "out"), 0);
}

TEST_F(CE2eTest, HelpAndVersion)
{
	const SHostRun help = runHost({"--help"});
	EXPECT_EQ(help.Status, 0);
	EXPECT_EQ(help.Out.compare(0, 41, "Usage: halvex-max [options] SCENE OUTPUT\n"), 0) << help.Out;
	for (const char* option : {"--root", "--select", "--suppress-prompts", "--fps", "--range", "--take",
		"--scale", "--press", "--version"})
		EXPECT_NE(help.Out.find(option), std::string::npos) << option;
	EXPECT_EQ(help.Err, "");

	const SHostRun version = runHost({"--version"}, false);
	EXPECT_EQ(version.Status, 0);
	EXPECT_EQ(version.Out, "halvex-max 1.3\n");
}

TEST_F(CE2eTest, MissingPluginExitsWithTwo)
{
	fs::remove(Plugins / "HalvexExporter-64.dle");
	const SHostRun run = runHost({"--press", "export", HALVEX_SOURCE_DIR "/CMakeLists.txt",
		(Out / "hero.skc").string()});
	EXPECT_EQ(run.Status, 2);
	expectOneErrorLine(run, (Plugins / "HalvexExporter-64.dle").string() + ": plug-in not found");
	EXPECT_EQ(filesIn(Out), 0);
}

TEST_F(CE2eTest, NotAPluginExitsWithTwo)
{
	fs::remove(Plugins / "HalvexExporter-64.dle");
	std::ofstream(Plugins / "HalvexExporter-64.dle") << "not a library";
	const SHostRun run = runHost({"--press", "export", Example, (Out / "hero.skc").string()});
	EXPECT_EQ(run.Status, 2);
	expectOneErrorLine(run, (Plugins / "HalvexExporter-64.dle").string() + ": cannot load the plug-in: ");
	EXPECT_EQ(filesIn(Out), 0);
}

TEST_F(CE2eTest, ReadableScenesWithBadRequestsExitWithTwo)
{
	struct SCase { std::vector<std::string> Args; std::string Message; };
	const std::string example = Example;
	const SCase cases[] = {
		{{"--press", "back", "--select", "Body", "--select", "nope"}, example + ": no node named \"nope\" to select"},
		{{"--press", "back", "--take", "nosuch"}, example + ": no animation take \"nosuch\""},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.Message);
		std::vector<std::string> args = c.Args;
		args.push_back(Example);
		args.push_back((Out / "hero.skc").string());
		const SHostRun run = runHost(args);
		EXPECT_EQ(run.Status, 2);
		expectOneErrorLine(run, c.Message);
		EXPECT_EQ(filesIn(Out), 0);
	}
}

TEST_F(CE2eTest, WithoutADisplayTheWindowNeedsPress)
{
	const SHostRun run = runHost({Example, (Out / "hero.skc").string()}, true, true);
	EXPECT_EQ(run.Status, 2);
	expectOneErrorLine(run, "no X display for the options window (set DISPLAY, or use --press for an unattended run)");
	EXPECT_EQ(filesIn(Out), 0);
}

TEST_F(CE2eTest, UnreadableScenesExitWithTwoAndWriteNothing)
{
	const fs::path junk = Temp.path() / "junk.fbx";
	std::ofstream(junk) << "this is not a scene file\n";
	const fs::path empty = Temp.path() / "empty.obj";
	std::ofstream{empty};
	struct SCase { fs::path Scene; const char* Reason; };
	const SCase cases[] = {
		{Temp.path() / "missing.fbx", ": no such file"},
		{Temp.path(), ": is a directory, not a scene file"},
		{junk, ""},
		{empty, ""},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.Scene.string());
		const SHostRun run = runHost({"--press", "export", c.Scene.string(), (Out / "hero.skc").string()});
		EXPECT_EQ(run.Status, 2);
		EXPECT_EQ(run.Out, "");
		expectOneErrorLine(run, c.Scene.string() + c.Reason);
		EXPECT_EQ(filesIn(Out), 0);
	}
	EXPECT_FALSE(fs::exists(Plugins / "HalvexExporter.xml"));
}
