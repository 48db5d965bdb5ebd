// Bone animation (.amb) and the merging of action.amb.
#include "MeteorTestSupport.h"

#include "meteor/MeteorSkeleton.h"

using namespace irr;
using namespace halvex_test;

namespace
{

const size_t HeaderSize = 21;
const size_t RecordSize = 698;
// Offsets inside a record.
const size_t RootPosition = 8;
const size_t Rotations = 20;
const size_t Dummies = Rotations + 30 * 16;

size_t rotationOf(s32 k) { return Rotations + 16 * static_cast<size_t>(k); }
size_t dummyOf(s32 n) { return Dummies + 33 * static_cast<size_t>(n); }

std::string le32(s32 v)
{
	std::string s(4, '\0');
	for (int i = 0; i < 4; ++i)
		s[i] = static_cast<char>((static_cast<u32>(v) >> (8 * i)) & 0xFF);
	return s;
}

// An action file of frames records whose bytes follow a pattern that no
// writer would produce, so a copied body is recognisable.
std::string actionFile(s32 frames)
{
	std::string s = "BANIM" + le32(30) + le32(6) + le32(frames) + le32(30);
	for (s32 f = 0; f < frames; ++f)
	{
		std::string record = le32(-1) + le32(f);
		for (size_t i = record.size(); i < RecordSize; ++i)
			record += static_cast<char>((f * 7 + i) & 0xFF);
		s += record;
	}
	return s;
}

class CExportAMBTest : public CMeteorTest
{
protected:
	std::string amb() const { return readFile(path("hero.amb")); }

	void expectHeader(const std::string& file, s32 total)
	{
		ASSERT_GE(file.size(), HeaderSize);
		EXPECT_EQ(file.substr(0, 5), "BANIM");
		EXPECT_EQ(s32At(file, 5), 30);
		EXPECT_EQ(s32At(file, 9), 6);
		EXPECT_EQ(s32At(file, 13), total);
		EXPECT_EQ(s32At(file, 17), 30);
	}

	// The key values buildCharacter gives bone seed k at frame f.
	void expectRotation(const std::string& file, size_t at, f32 w, f32 x, f32 y, f32 z)
	{
		EXPECT_EQ(f32At(file, at), w) << "w at " << at;
		EXPECT_EQ(f32At(file, at + 4), x) << "x at " << at;
		EXPECT_EQ(f32At(file, at + 8), y) << "y at " << at;
		EXPECT_EQ(f32At(file, at + 12), z) << "z at " << at;
	}
	void expectKeyRotation(const std::string& file, size_t at, s32 seed, s32 f)
	{
		expectRotation(file, at, 0.5f, 0.25f * f, seed / 32.f, -0.5f);
	}
	void expectKeyPosition(const std::string& file, size_t at, s32 seed, s32 f)
	{
		EXPECT_EQ(f32At(file, at), seed + 0.5f * f);
		EXPECT_EQ(f32At(file, at + 4), static_cast<f32>(f));
		EXPECT_EQ(f32At(file, at + 8), -static_cast<f32>(seed));
	}

	std::string mergePath() const { return Dir + "/action.amb"; }
};

TEST_F(CExportAMBTest, MeteorCharacterMatchesGolden)
{
	buildCharacter(Obj, 2);
	Obj.CoordType = 4;
	Obj.MergeAction = false;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	EXPECT_EQ(amb().size(), HeaderSize + 2 * RecordSize);
	expectMatchesGolden(path("hero.amb"), "character.amb");
	closeLog();
	expectMatchesGolden(path("hero.log"), "character_amb.log");
}

TEST_F(CExportAMBTest, ZenthraCharacterWritesTheSameRecords)
{
	// The dummy blocks carry the fixed parent names in both systems.
	buildCharacter(Obj, 2);
	Obj.CoordType = 3;
	Obj.MergeAction = false;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());
	expectMatchesGolden(path("hero.amb"), "character.amb");
	EXPECT_NE(closeLog().find("Amb::Bone::Position+Rotation:  dummey id = 32  name=d_wpnL   parent name=bau_L_Hand\r\n"),
		std::string::npos);
}

struct SMergeCase
{
	const char* Name;
	s64 Size;         // -1: no merge file
	bool Used;
};

class CMergeSizeTest : public CExportAMBTest, public ::testing::WithParamInterface<SMergeCase> {};

TEST_P(CMergeSizeTest, MergesOnlyFilesOfAtLeastFiftyBytes)
{
	const SMergeCase c = GetParam();
	std::string merge;
	if (c.Size >= 0)
	{
		merge = actionFile(1).substr(0, static_cast<size_t>(c.Size));
		if (merge.size() >= 17)
			merge.replace(13, 4, le32(3));
		writeFile(mergePath(), merge);
	}
	buildCharacter(Obj, 2);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	const std::string file = amb();
	const std::string log = closeLog();
	EXPECT_EQ(Obj.MergeAction, c.Used);
	if (c.Used)
	{
		const size_t body = merge.size() - HeaderSize;
		ASSERT_EQ(file.size(), HeaderSize + body + 2 * RecordSize);
		expectHeader(file, 5);
		EXPECT_EQ(file.substr(HeaderSize, body), merge.substr(HeaderSize));
		EXPECT_EQ(s32At(file, HeaderSize + body + 4), 3);
		EXPECT_EQ(s32At(file, HeaderSize + body + RecordSize + 4), 4);
		EXPECT_NE(log.find("Merge file: " + mergePath() + "\r\n"), std::string::npos) << log;
		EXPECT_NE(log.find("All file's frame sum: 5 = 3 + 2\r\n"), std::string::npos) << log;
	}
	else
	{
		ASSERT_EQ(file.size(), HeaderSize + 2 * RecordSize);
		expectHeader(file, 2);
		EXPECT_EQ(s32At(file, HeaderSize + 4), 0);
		EXPECT_NE(log.find("No merge file: ---> " + mergePath() + "\r\n"), std::string::npos) << log;
		EXPECT_EQ(log.find("frame sum"), std::string::npos) << log;
	}
}

INSTANTIATE_TEST_SUITE_P(Sizes, CMergeSizeTest, ::testing::Values(
	SMergeCase{ "Fifty", 50, true },
	SMergeCase{ "FortyNine", 49, false },
	SMergeCase{ "Empty", 0, false },
	SMergeCase{ "Missing", -1, false },
	SMergeCase{ "WholeRecord", static_cast<s64>(HeaderSize + RecordSize), true }),
	[](const ::testing::TestParamInfo<SMergeCase>& info) { return std::string(info.param.Name); });

// A merge path that opens but holds no readable bytes (here a folder, whose
// reported size is enormous) is no merge file; the export goes on without it.
TEST_F(CExportAMBTest, UnreadableMergePathIsNoMergeFile)
{
	ASSERT_TRUE(std::filesystem::create_directory(mergePath()));
	buildCharacter(Obj, 2);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	EXPECT_FALSE(Obj.MergeAction);
	expectMatchesGolden(path("hero.amb"), "character.amb");
	const std::string log = closeLog();
	EXPECT_NE(log.find("No merge file: ---> " + mergePath() + "\r\n"), std::string::npos) << log;
	EXPECT_EQ(log.find("frame sum"), std::string::npos) << log;
}

TEST_F(CExportAMBTest, NewFramesFollowTheMergedOnes)
{
	const std::string merge = actionFile(40);
	writeFile(mergePath(), merge);
	buildCharacter(Obj, 25);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	const std::string file = amb();
	ASSERT_EQ(file.size(), HeaderSize + 65 * RecordSize);
	expectHeader(file, 65);
	EXPECT_EQ(file.substr(HeaderSize, 40 * RecordSize), merge.substr(HeaderSize));
	for (s32 f = 0; f < 25; ++f)
	{
		const size_t record = HeaderSize + (40 + f) * RecordSize;
		EXPECT_EQ(s32At(file, record), -1);
		EXPECT_EQ(s32At(file, record + 4), 40 + f);
		expectKeyRotation(file, record + rotationOf(29), 29, f);
	}
	const std::string log = closeLog();
	EXPECT_NE(log.find("Merge file: " + mergePath() + "\r\n"
		"Merge file's frame sum: 40\r\n"
		"Mesh file's frame sum: 25\r\n"
		"All file's frame sum: 65 = 40 + 25\r\n"), std::string::npos) << log;
}

TEST_F(CExportAMBTest, NoFramesWithMergingGivesHeaderAndMergedRecords)
{
	const std::string merge = actionFile(40);
	writeFile(mergePath(), merge);
	buildCharacter(Obj, 0);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	const std::string file = amb();
	ASSERT_EQ(file.size(), merge.size());
	expectHeader(file, 40);
	EXPECT_EQ(file.substr(HeaderSize), merge.substr(HeaderSize));
	EXPECT_EQ(closeLog().find("Amb::"), std::string::npos);
}

TEST_F(CExportAMBTest, ExportNamedActionMergesTheOldActionFile)
{
	const std::string merge = actionFile(40);
	writeFile(mergePath(), merge);
	setBaseName(L"action");
	buildCharacter(Obj, 25);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	EXPECT_TRUE(Obj.MergeAction);
	const std::string file = readFile(mergePath());
	ASSERT_EQ(file.size(), HeaderSize + 65 * RecordSize);
	expectHeader(file, 65);
	EXPECT_EQ(file.substr(HeaderSize, 40 * RecordSize), merge.substr(HeaderSize));
	EXPECT_EQ(s32At(file, HeaderSize + 40 * RecordSize + 4), 40);
	const std::string log = closeLog();
	EXPECT_NE(log.find("Merge file: " + mergePath() + "\r\n"), std::string::npos) << log;
	EXPECT_EQ(log.find("No merge file"), std::string::npos) << log;
}

struct SStopCase
{
	const char* Name;
	s32 CoordType;
	bool WithBones;
	const char* Log;      // after the "No merge file" line
};

class CStopTest : public CExportAMBTest, public ::testing::WithParamInterface<SStopCase> {};

TEST_P(CStopTest, FailedExportLeavesAnEarlierFileUntouched)
{
	const SStopCase c = GetParam();
	const std::string earlier = actionFile(3);
	writeFile(path("hero.amb"), earlier);
	buildCharacter(Obj, 2);
	if (!c.WithBones)
		Obj.Bones.clear();
	Obj.CoordType = c.CoordType;
	Obj.MergeAction = true;

	EXPECT_FALSE(Obj.exportAMB());
	EXPECT_EQ(amb(), earlier);
	EXPECT_FALSE(Obj.MergeAction);
	EXPECT_EQ(closeLog(), "No merge file: ---> " + mergePath() + "\r\n" + c.Log);
}

TEST_P(CStopTest, FailedExportCreatesNoFile)
{
	const SStopCase c = GetParam();
	buildCharacter(Obj, 2);
	if (!c.WithBones)
		Obj.Bones.clear();
	Obj.CoordType = c.CoordType;
	Obj.MergeAction = false;

	EXPECT_FALSE(Obj.exportAMB());
	EXPECT_FALSE(fileExists(path("hero.amb")));
	EXPECT_EQ(closeLog(), c.Log);
}

INSTANTIATE_TEST_SUITE_P(Stops, CStopTest, ::testing::Values(
	SStopCase{ "Max", 0, true, "Not choose the Meteor or Irrlicht system, stop exporting .amb .\r\n" },
	SStopCase{ "OpenGL", 2, true, "Not choose the Meteor or Irrlicht system, stop exporting .amb .\r\n" },
	SStopCase{ "NoBones", 4, false,
		"Bones sum=0,  This mesh can't be used for Meteor which needs 36 bones.\r\n"
		"Bones sum=0,  Has no bones,  stop exporting .amb .\r\n" }),
	[](const ::testing::TestParamInfo<SStopCase>& info) { return std::string(info.param.Name); });

TEST_F(CExportAMBTest, UncreatableFileFailsWithoutLogOrSettingChange)
{
	Obj.Params.OutputDir = core::stringw((Dir + "/missing/").c_str());
	buildCharacter(Obj, 2);
	Obj.CoordType = 4;
	Obj.MergeAction = true;
	Obj.mapMeteorBones();
	closeLog();
	Obj.LogFile = Obj.Device->getFileSystem()->createAndWriteFile(path("hero.log").c_str(), false);

	EXPECT_FALSE(Obj.exportAMB());
	EXPECT_TRUE(Obj.MergeAction);
	EXPECT_EQ(closeLog(), "");
}

struct SMissingCase
{
	const char* Name;
	std::vector<const char*> Removed;
};

class CMissingBoneTest : public CExportAMBTest, public ::testing::WithParamInterface<SMissingCase> {};

TEST_P(CMissingBoneTest, RecordsKeepTheirSizeWithIdentityPlaceholders)
{
	const SMissingCase c = GetParam();
	buildCharacter(Obj, 2);
	for (const char* name : c.Removed)
		removeBone(Obj, name);
	Obj.CoordType = 4;
	Obj.MergeAction = false;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	const std::string file = amb();
	ASSERT_EQ(file.size(), HeaderSize + 2 * RecordSize);
	expectHeader(file, 2);
	for (s32 f = 0; f < 2; ++f)
	{
		const size_t record = HeaderSize + f * RecordSize;
		EXPECT_EQ(s32At(file, record + RecordSize - RecordSize), -1);
		EXPECT_EQ(s32At(file, record + 4), f);
		for (s32 k = 0; k < 30; ++k)
		{
			const bool gone = findMeteorBone(Obj.Bones, k) < 0;
			if (gone)
				expectRotation(file, record + rotationOf(k), 1.f, 0.f, 0.f, 0.f);
			else
				expectKeyRotation(file, record + rotationOf(k), k, f);
		}
		if (findMeteorBone(Obj.Bones, 0) < 0)
		{
			EXPECT_EQ(f32At(file, record + RootPosition), 0.f);
			EXPECT_EQ(f32At(file, record + RootPosition + 4), 0.f);
			EXPECT_EQ(f32At(file, record + RootPosition + 8), 0.f);
		}
		else
			expectKeyPosition(file, record + RootPosition, 0, f);
		// The dummies still sit at their fixed place.
		EXPECT_EQ(file.substr(record + dummyOf(5), 5), std::string("b25\0\0", 5));
		expectKeyPosition(file, record + dummyOf(5) + 5, 35, f);
	}
}

INSTANTIATE_TEST_SUITE_P(Skeletons, CMissingBoneTest, ::testing::Values(
	SMissingCase{ "NoRoot", { "b" } },
	SMissingCase{ "NoNeck", { "bau_Neck" } },
	SMissingCase{ "NoRootNeckOrFinger", { "b", "bau_Neck", "bbu_R_Finger11" } }),
	[](const ::testing::TestParamInfo<SMissingCase>& info) { return std::string(info.param.Name); });

TEST_F(CExportAMBTest, MissingRootAndNeckAreLoggedOnlyByTheMapping)
{
	buildCharacter(Obj, 1);
	removeBone(Obj, "b");
	removeBone(Obj, "bau_Neck");
	Obj.CoordType = 4;
	Obj.MergeAction = false;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());
	const std::string log = closeLog();
	EXPECT_NE(log.find("Bone: b ---> not found.\r\nBone: bau_Neck ---> not found.\r\n"
		"Bones sum=35,  This mesh can't be used for Meteor which needs 36 bones.\r\n"
		"Amb::Bone::Rotation:   normal id = 1  name=bad_Pelvis   parent name=b\r\n"), std::string::npos) << log;
	EXPECT_EQ(log.find("Amb::Bone::Position:"), std::string::npos);
	EXPECT_EQ(log.find("normal id = 12 "), std::string::npos);
}

TEST_F(CExportAMBTest, MissingDummyTakesTheKeysOfTheFirstBone)
{
	buildCharacter(Obj, 2);
	removeBone(Obj, "d_top");
	removeBone(Obj, "Bip01_Footsteps");
	// The first element of Bones, not the root, lends its keys.
	COstrel::SBone first = Obj.Bones[5];
	Obj.Bones.erase(5);
	Obj.Bones.insert(first, 0);
	Obj.CoordType = 4;
	Obj.MergeAction = false;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportAMB());

	const std::string file = amb();
	ASSERT_EQ(file.size(), HeaderSize + 2 * RecordSize);
	for (s32 f = 0; f < 2; ++f)
	{
		const size_t dummy = HeaderSize + f * RecordSize + dummyOf(1);
		EXPECT_EQ(file.substr(dummy, 5), std::string("b13\0\0", 5));
		expectKeyPosition(file, dummy + 5, 5, f);
		expectKeyRotation(file, dummy + 17, 5, f);
	}
	const std::string log = closeLog();
	EXPECT_NE(log.find("Bones sum=35,  This mesh can't be used for Meteor which needs 36 bones.\r\n"), std::string::npos) << log;
	EXPECT_NE(log.find(
		"Amb::Bone::Position+Rotation:  dummey id = 30  name=d_base   parent name=NULL\r\n"
		"Bones id=31, parent is: b13 --------> not found.\r\n"
		"Amb::Bone::Position+Rotation:  dummey id = 5  name=bad_L_Foot   parent name=bad_L_Calf\r\n"
		"Amb::Bone::Position+Rotation:  dummey id = 32  name=d_wpnL   parent name=d3\r\n"), std::string::npos) << log;
}

} // namespace
