// Skin (.skc) and skeleton (.bnc) of a Meteor character.
#include "MeteorTestSupport.h"

using namespace irr;
using namespace halvex_test;

namespace
{

size_t countOf(const std::string& text, const std::string& piece)
{
	size_t n = 0;
	for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
		++n;
	return n;
}

class CExportSKCTest : public CMeteorTest
{
protected:
	bool exportCharacter(s32 coordType)
	{
		Obj.CoordType = coordType;
		Obj.MergeAction = false;
		Obj.mapMeteorBones();
		return Obj.exportSKC();
	}
};

struct SSkeletonCase
{
	const char* Name;
	s32 CoordType;
	const char* SkeletonGolden;
};

class CSkeletonGoldenTest : public CExportSKCTest, public ::testing::WithParamInterface<SSkeletonCase> {};

TEST_P(CSkeletonGoldenTest, CharacterMatchesGolden)
{
	buildCharacter(Obj, 2);
	ASSERT_TRUE(exportCharacter(GetParam().CoordType));

	expectMatchesGolden(path("hero.skc"), "character.skc");
	expectMatchesGolden(path("hero.bnc"), GetParam().SkeletonGolden);
	expectMatchesGolden(path("hero.amb"), "character.amb");

	const std::string skin = readFile(path("hero.skc"));
	// A vertex without skin ends after the texture coordinates' blank.
	EXPECT_NE(skin.find("\r\n    v 4.000000 5.000000 6.000000 vt 0.000000  0.000000 \r\n"), std::string::npos);
	// Triangles from the last face to the first; an unmatched material id as it was.
	EXPECT_NE(skin.find("Triangles: 3\r\n    f 3 7 1 3 4\r\n    f 3 1 2 3 0\r\n    f 3 0 0 1 2\r\n}\r\n"),
		std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Systems, CSkeletonGoldenTest, ::testing::Values(
	SSkeletonCase{ "Meteor", 4, "character_meteor.bnc" },
	SSkeletonCase{ "Zenthra", 3, "character_zenthra.bnc" }),
	[](const ::testing::TestParamInfo<SSkeletonCase>& info) { return std::string(info.param.Name); });

TEST_F(CExportSKCTest, NothingIsWrittenWhenTheAnimationFails)
{
	buildCharacter(Obj, 2);
	EXPECT_FALSE(exportCharacter(1));
	EXPECT_FALSE(fileExists(path("hero.amb")));
	EXPECT_FALSE(fileExists(path("hero.skc")));
	EXPECT_FALSE(fileExists(path("hero.bnc")));
}

TEST_F(CExportSKCTest, MeteorSkeletonWithoutNeckStillDeclaresThirtyBones)
{
	buildCharacter(Obj, 1);
	removeBone(Obj, "bau_Neck");
	ASSERT_TRUE(exportCharacter(4));

	const std::string skeleton = readFile(path("hero.bnc"));
	EXPECT_NE(skeleton.find("\r\nBones: 30   Dummey: 6\r\nbone b\r\n{\r\n"), std::string::npos);
	EXPECT_EQ(countOf(skeleton, "\r\nbone "), 29u);
	EXPECT_EQ(countOf(skeleton, "\r\nDummey "), 6u);
	EXPECT_EQ(skeleton.find("bone bau_Neck"), std::string::npos);
	// The head's parent is still named, although no block describes it.
	EXPECT_NE(skeleton.find("bone bau_Head\r\n{\r\n    parent bau_Neck\r\n"), std::string::npos);
	EXPECT_NE(skeleton.find("}\r\nbone bau_Head"), std::string::npos);
}

TEST_F(CExportSKCTest, ZenthraHeaderCountsEveryBone)
{
	buildCharacter(Obj, 1);
	addBone(Obj, "Bip01_Extra", "b", 400, 1, 60);
	ASSERT_TRUE(exportCharacter(3));

	const std::string skeleton = readFile(path("hero.bnc"));
	EXPECT_NE(skeleton.find("\r\nBones: 38   Dummey: 0\r\n"), std::string::npos);
	EXPECT_EQ(countOf(skeleton, "\r\nbone "), 36u);
	EXPECT_EQ(skeleton.find("Bip01"), std::string::npos);
	EXPECT_EQ(skeleton.find("children"), std::string::npos);
}

TEST_F(CExportSKCTest, NoMaterialsGoesStraightToTheVertices)
{
	buildCharacter(Obj, 1);
	Obj.Materials.clear();
	ASSERT_TRUE(exportCharacter(4));
	EXPECT_NE(readFile(path("hero.skc")).find("{\r\nMaterials: 0\r\nVertices: 5\r\n"), std::string::npos);
}

TEST_F(CExportSKCTest, SkeletonThatCannotBeCreatedKeepsAnimationAndSkin)
{
	buildCharacter(Obj, 1);
	ASSERT_TRUE(std::filesystem::create_directory(path("hero.bnc")));
	EXPECT_FALSE(exportCharacter(4));
	EXPECT_EQ(readFile(path("hero.amb")).size(), 21u + 698u);
	EXPECT_EQ(readFile(path("hero.skc")).substr(0, 12), "# Export by ");
}

} // namespace
