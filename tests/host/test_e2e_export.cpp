// halvex-max end to end: real scene files through the plug-in, the core, its
// options window (pressed through the window system) and the writers.
#include "host/E2eSupport.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <sys/stat.h>

using namespace halvex_test;

namespace
{

const char* const Example = HALVEX_SOURCE_DIR "/examples/walker.gltf";
const char* const AnimTest = "/usr/share/assimp/models/X/anim_test.x";
const char* const Spider = "/usr/share/assimp/models/OBJ/spider.obj";

const char* const MeteorBoneNames[36] = {
	"b", "bad_Pelvis", "bau_Spine", "bad_L_Thigh", "bad_L_Calf", "bad_L_Foot", "bbd_L_Toe0",
	"bad_R_Thigh", "bad_R_Calf", "bad_R_Foot", "bbd_R_Toe0", "bau_Spine1", "bau_Neck", "bau_Head",
	"bau_L_Clavicle", "bau_L_UpperArm", "bau_L_Forearm", "bau_L_Hand", "bbu_L_Finger0",
	"bbu_L_Finger01", "bbu_L_Finger1", "bbu_L_Finger11", "bau_R_Clavicle", "bau_R_UpperArm",
	"bau_R_Forearm", "bau_R_Hand", "bbu_R_Finger0", "bbu_R_Finger01", "bbu_R_Finger1",
	"bbu_R_Finger11", "d_base", "d_top", "d_wpnL", "d_wpnLP", "d_wpnR", "d_wpnRP",
};

// The number after `key` in the log (the first occurrence), or -1.
int logNumber(const std::string& log, const std::string& key)
{
	const size_t at = log.find(key);
	return at == std::string::npos ? -1 : std::atoi(log.c_str() + at + key.size());
}

int countOf(const std::string& text, const std::string& needle)
{
	int n = 0;
	for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
		++n;
	return n;
}

int32_t le32(const std::string& data, size_t offset)
{
	uint32_t v = 0;
	for (int i = 3; i >= 0; --i)
		v = (v << 8) | static_cast<unsigned char>(data.at(offset + static_cast<size_t>(i)));
	int32_t s;
	std::memcpy(&s, &v, 4);
	return s;
}

// The files halvex-max reported on standard output, by name.
std::set<std::string> reported(const SHostRun& run, const fs::path& dir)
{
	std::set<std::string> names;
	for (const std::string& line : lines(run.Out))
	{
		const std::string prefix = dir.string() + "/";
		EXPECT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
		const size_t end = line.find(" (");
		EXPECT_NE(end, std::string::npos) << line;
		const std::string name = line.substr(prefix.size(), end - prefix.size());
		EXPECT_EQ(line.substr(end), " (" + std::to_string(fs::file_size(dir / name)) + " bytes)");
		names.insert(name);
	}
	return names;
}

std::set<std::string> filesOf(const fs::path& dir)
{
	std::set<std::string> names;
	for (const auto& entry : fs::directory_iterator(dir))
		names.insert(entry.path().filename().string());
	return names;
}

// Triangles per group of an OBJ file (a polygon of n corners gives n - 2).
std::map<std::string, int> objTriangles(const char* path)
{
	std::map<std::string, int> groups;
	std::ifstream in(path);
	std::string group;
	for (std::string line; std::getline(in, line);)
	{
		std::istringstream words(line);
		std::string tag;
		words >> tag;
		if (tag == "g")
			std::getline(words >> std::ws, group);
		else if (tag == "f")
		{
			int corners = 0;
			for (std::string corner; words >> corner;)
				++corners;
			groups[group] += corners - 2;
		}
	}
	return groups;
}

class CE2eExportTest : public CE2eTest
{
protected:
	void SetUp() override
	{
		CE2eTest::SetUp();
		ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "window tests run under an X server";
	}
	std::string settings() const { return readFile(Plugins / "HalvexExporter.xml"); }
};

} // namespace

// The README's main command: the shipped example as a Meteor character on a
// machine without a display.
TEST_F(CE2eExportTest, ExampleAsMeteorCharacter)
{
	writeSettings(1, 4);
	const SHostRun run = runHost({"--press", "export", Example, (Out / "hero.skc").string()}, true, true);
	ASSERT_EQ(run.Status, 0) << run.Err;
	const std::set<std::string> expected = {"hero.amb", "hero.bnc", "hero.log", "hero.skc"};
	EXPECT_EQ(reported(run, Out), expected);
	EXPECT_EQ(filesOf(Out), expected);

	const std::string log = readFile(Out / "hero.log");
	EXPECT_NE(log.find("Coordinate system: Meteor\r\n"), std::string::npos);
	EXPECT_EQ(logNumber(log, "Bone: "), 36);
	EXPECT_EQ(countOf(log, "not found"), 0);
	EXPECT_NE(log.find("Exporting finished"), std::string::npos);
	const int frames = logNumber(log, "Last frame: ") - logNumber(log, "First frame: ");
	EXPECT_GT(frames, 0);

	const std::string amb = readFile(Out / "hero.amb");
	ASSERT_GE(amb.size(), 21u);
	EXPECT_EQ(amb.substr(0, 5), "BANIM");
	EXPECT_EQ(le32(amb, 5), 30);
	EXPECT_EQ(le32(amb, 9), 6);
	EXPECT_EQ(le32(amb, 13), frames);
	EXPECT_EQ(le32(amb, 17), 30);
	ASSERT_EQ(amb.size(), 21u + 698u * static_cast<size_t>(frames));
	for (int f = 0; f < frames; ++f)
	{
		EXPECT_EQ(le32(amb, 21 + 698 * static_cast<size_t>(f)), -1) << "frame " << f;
		EXPECT_EQ(le32(amb, 25 + 698 * static_cast<size_t>(f)), f);
	}

	const std::string bnc = readFile(Out / "hero.bnc");
	EXPECT_NE(bnc.find("Bones: 30   Dummey: 6\r\n"), std::string::npos);
	for (int k = 0; k < 36; ++k)
		EXPECT_EQ(countOf(bnc, std::string(k < 30 ? "bone " : "Dummey ") + MeteorBoneNames[k] + "\r\n"), 1)
			<< MeteorBoneNames[k];
	const std::string skc = readFile(Out / "hero.skc");
	EXPECT_EQ(logNumber(skc, "Vertices: "), logNumber(log, "Vertex: "));
	EXPECT_EQ(logNumber(skc, "Triangles: "), logNumber(log, "Face: "));
	// The example's texture reaches the skin.
	EXPECT_NE(skc.find("    Texture walker.png\r\n"), std::string::npos);
	// The choices persist.
	EXPECT_NE(settings().find("<int name=\"ExportType\" value=\"1\" />"), std::string::npos);
	EXPECT_NE(settings().find("<int name=\"CoordType\" value=\"4\" />"), std::string::npos);
}

TEST_F(CE2eExportTest, BackAndCloseCancelAndLeaveTheSettingsAlone)
{
	writeSettings(1, 4);
	const fs::path settingsPath = Plugins / "HalvexExporter.xml";
	// An old timestamp makes any rewrite visible.
	const auto oldTime = fs::last_write_time(settingsPath) - std::chrono::hours(1);
	fs::last_write_time(settingsPath, oldTime);
	const std::string before = settings();
	for (const char* action : {"back", "close"})
	{
		SCOPED_TRACE(action);
		const SHostRun run = runHost({"--press", action, Example, (Out / "hero.skc").string()});
		EXPECT_EQ(run.Status, 3);
		EXPECT_EQ(run.Out, "");
		const std::vector<std::string> errors = lines(run.Err);
		ASSERT_FALSE(errors.empty());
		EXPECT_EQ(errors.back(), "halvex-max: export cancelled in the options window; nothing written");
		EXPECT_EQ(filesIn(Out), 0);
		EXPECT_EQ(settings(), before);
		EXPECT_EQ(fs::last_write_time(settingsPath), oldTime);
	}
}

TEST_F(CE2eExportTest, ExportIntoAMissingDirectoryFails)
{
	writeSettings(1, 4);
	const std::string before = settings();
	const fs::path missing = Temp.path() / "nowhere";
	const SHostRun run = runHost({"--press", "export", Example, (missing / "hero.skc").string()});
	EXPECT_EQ(run.Status, 1);
	EXPECT_EQ(run.Out, "");
	const std::vector<std::string> errors = lines(run.Err);
	ASSERT_FALSE(errors.empty());
	EXPECT_EQ(errors.back(), "halvex-max: " + (missing / "hero.skc").string()
		+ ": export failed: the directory " + missing.string() + " does not exist");
	EXPECT_FALSE(fs::exists(missing));
	EXPECT_EQ(settings(), before);
}

// A real model made elsewhere, whose bones are not Meteor's.
TEST_F(CE2eExportTest, AnimTestAsZenthraSkin)
{
	writeSettings(1, 3);
	const SHostRun run = runHost({"--press", "export", AnimTest, (Out / "anim.skc").string()});
	ASSERT_EQ(run.Status, 0) << run.Err;
	const std::set<std::string> expected = {"anim.amb", "anim.bnc", "anim.log", "anim.skc"};
	EXPECT_EQ(reported(run, Out), expected);
	EXPECT_EQ(filesOf(Out), expected);

	const std::string log = readFile(Out / "anim.log");
	EXPECT_NE(log.find("Coordinate system: Zenthra\r\n"), std::string::npos);
	for (const char* name : MeteorBoneNames)
		EXPECT_EQ(countOf(log, std::string("Bone: ") + name + " ---> not found.\r\n"), 1) << name;
	const int bones = logNumber(log, "Bone: ");
	EXPECT_GT(bones, 0);
	EXPECT_NE(readFile(Out / "anim.bnc").find("Bones: " + std::to_string(bones) + "   Dummey: 0\r\n"),
		std::string::npos);
	const std::string amb = readFile(Out / "anim.amb");
	ASSERT_GE(amb.size(), 21u);
	EXPECT_EQ(amb.substr(0, 5), "BANIM");
	EXPECT_EQ(le32(amb, 13), logNumber(log, "Last frame: ") - logNumber(log, "First frame: "));
	const std::string skc = readFile(Out / "anim.skc");
	EXPECT_GT(logNumber(skc, "Vertices: "), 0);
	EXPECT_EQ(logNumber(skc, "Triangles: "), logNumber(log, "Face: "));
}

struct SGeometryCase
{
	const char* Name;
	int ExportType;
};

class CSpiderTest : public CE2eExportTest, public ::testing::WithParamInterface<SGeometryCase>
{
};

// Several materials with textures, as text and as binary geometry.
TEST_P(CSpiderTest, GeometryWithTextureNames)
{
	writeSettings(GetParam().ExportType, 3);
	const SHostRun run = runHost({"--press", "export", Spider, (Out / "spider.gmc").string()});
	ASSERT_EQ(run.Status, 0) << run.Err;
	// Binary geometry carries its own extension, so the two forms do not
	// overwrite each other.
	const char* const geometry = GetParam().ExportType == 2 ? "spider.gmc" : "spider.gmb";
	const std::set<std::string> expected = {"spider.des", geometry, "spider.log"};
	EXPECT_EQ(reported(run, Out), expected);
	EXPECT_EQ(filesOf(Out), expected);

	const std::string log = readFile(Out / "spider.log");
	int triangles = 0;
	for (const auto& group : objTriangles(Spider))
		triangles += group.second;
	EXPECT_EQ(logNumber(log, "Face: "), triangles);
	const char* textures[] = {"wal67ar_small.jpg", "wal69ar_small.jpg", "SpiderTex.jpg", "drkwood2.jpg",
		"engineflare1.jpg"};

	const std::string gmc = readFile(Out / geometry);
	std::vector<std::string> names;
	if (GetParam().ExportType == 2)
	{
		const std::vector<std::string> text = lines(gmc);
		ASSERT_GE(text.size(), 3u);
		EXPECT_EQ(text[0], "# Export by halvex-team@users.example.org");
		const int count = logNumber(gmc, "\nTextures ");
		ASSERT_GT(count, 0);
		ASSERT_GE(text.size(), 3u + static_cast<size_t>(count));
		for (int i = 0; i < count; ++i)
			names.push_back(text[3 + static_cast<size_t>(i)].substr(4));
		EXPECT_EQ(text[3 + static_cast<size_t>(count)], "}");
	}
	else
	{
		// Walk the whole binary layout; its total size must come out exactly.
		ASSERT_GE(gmc.size(), 14u);
		EXPECT_EQ(gmc.substr(0, 10), "GMDL V1.00");
		size_t at = 10;
		const int count = le32(gmc, at);
		at += 4;
		ASSERT_GT(count, 0);
		for (int i = 0; i < count; ++i)
		{
			const int length = le32(gmc, at);
			names.push_back(gmc.substr(at + 4, static_cast<size_t>(length)));
			at += 4 + static_cast<size_t>(length);
		}
		EXPECT_EQ(le32(gmc, at), count);
		at += 4 + 34 * static_cast<size_t>(count);
		EXPECT_EQ(le32(gmc, at), 1);
		EXPECT_EQ(le32(gmc, at + 4), 0);
		const int verts = le32(gmc, at + 8);
		const int faces = le32(gmc, at + 12);
		EXPECT_EQ(gmc.substr(at + 16, 9), std::string("\x05\0\0\0mBody", 9));
		EXPECT_EQ(faces, triangles);
		EXPECT_EQ(verts, logNumber(log, "Vertex: "));
		at += 33;
		EXPECT_EQ(gmc.size(), at + 36 * static_cast<size_t>(verts) + 28 * static_cast<size_t>(faces));
	}
	for (const char* texture : textures)
	{
		int found = 0;
		for (const std::string& name : names)
			if (name.size() >= std::strlen(texture)
				&& name.compare(name.size() - std::strlen(texture), std::string::npos, texture) == 0)
				++found;
		EXPECT_EQ(found, 1) << texture;
	}
	const std::string des = readFile(Out / "spider.des");
	EXPECT_NE(des.find("Object mBody\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Formats, CSpiderTest, ::testing::Values(
	SGeometryCase{"Text", 2}, SGeometryCase{"Binary", 3}),
	[](const ::testing::TestParamInfo<SGeometryCase>& info) { return std::string(info.param.Name); });

TEST_F(CE2eExportTest, SelectExportsOnlyTheSelectedNodes)
{
	writeSettings(2, 3);
	const std::map<std::string, int> groups = objTriangles(Spider);
	const SHostRun run = runHost({"--press", "export", "--select", "HLeib01", "--select", "Kopf",
		Spider, (Out / "part.gmc").string()});
	ASSERT_EQ(run.Status, 0) << run.Err;
	const std::string log = readFile(Out / "part.log");
	EXPECT_EQ(logNumber(log, "Face: "), groups.at("HLeib01") + groups.at("Kopf"));
	// The 3ds Max command "export selected" is what the settings remember.
	EXPECT_NE(settings().find("<bool name=\"ExportSelected\" value=\"true\" />"), std::string::npos);
}

TEST_F(CE2eExportTest, DefaultRootIsTheBuildsMaxroot)
{
	// Closing the window leaves the build's settings file as it was.
	const SHostRun run = runHost({"--press", "close", Example, (Out / "hero.skc").string()}, false);
	EXPECT_EQ(run.Status, 3);
	ASSERT_FALSE(lines(run.Err).empty());
	EXPECT_EQ(lines(run.Err).back(), "halvex-max: export cancelled in the options window; nothing written");
	EXPECT_EQ(filesIn(Out), 0);
}
