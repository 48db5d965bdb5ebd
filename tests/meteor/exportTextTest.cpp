// Text geometry (.gmc, .ant) and the scene description of the text form.
#include "MeteorTestSupport.h"

#include <clocale>
#include <locale.h>

using namespace irr;
using namespace halvex_test;

namespace
{

class CExportTextTest : public CMeteorTest
{
protected:
	void mapCharacter()
	{
		buildCharacter(Obj, 1);
		Obj.CoordType = 4;
		Obj.mapMeteorBones();
	}
};

TEST_F(CExportTextTest, CharacterGeometryAndDescriptionMatchGolden)
{
	mapCharacter();
	ASSERT_TRUE(Obj.exportGMC());
	expectMatchesGolden(path("hero.gmc"), "character.gmc");
	expectMatchesGolden(path("hero.des"), "character_text.des");

	const std::string text = readFile(path("hero.gmc"));
	// Every shader points at its own texture.
	EXPECT_NE(text.find("shader 0\r\n{\r\n    Texture 0 NORMAL\r\n"), std::string::npos);
	EXPECT_NE(text.find("shader 1\r\n{\r\n    Texture 1 NORMAL\r\n"), std::string::npos);
	EXPECT_NE(text.find("shader 2\r\n{\r\n    Texture 2 NORMAL\r\n"), std::string::npos);
	// Faces from the last to the first, the unmatched material id unchanged.
	EXPECT_NE(text.find("    f 7 1 3 4 0.000000 0.000000 0.000000\r\n"
		"    f 1 2 3 0 0.000000 0.000000 0.000000\r\n"
		"    f 0 0 1 2 0.000000 0.000000 0.000000\r\n}\r\n"), std::string::npos);
}

TEST_F(CExportTextTest, ZenthraGeometryIsTheSameTextWithoutDescription)
{
	mapCharacter();
	ASSERT_TRUE(Obj.exportANT());
	expectMatchesGolden(path("hero.ant"), "character.gmc");
	EXPECT_FALSE(fileExists(path("hero.des")));
	EXPECT_FALSE(fileExists(path("hero.gmc")));
}

TEST_F(CExportTextTest, EmptySceneGivesTheFixedLinesOnly)
{
	ASSERT_TRUE(Obj.exportANT());
	EXPECT_EQ(readFile(path("hero.ant")),
		"# Export by halvex-team@users.example.org\r\n"
		"Textures 0\r\n{\r\n}\r\nShaders 0\r\n"
		"SceneObjects 1 DummeyObjects 0\r\nVertices 0  Faces: 0\r\n"
		"Object  mBody\r\n{\r\n    Vertices 0  Faces: 0\r\n"
		"}\r\n");
}

TEST_F(CExportTextTest, WideTextureNamesKeepTheLowByteOfEachUnit)
{
	COstrel::SMaterial m;
	// U+00E9 and U+4E2D narrow to E9 and 2D; U+1F641 is the surrogate pair
	// D83D DE41.
	m.TextureName = L"\u00e9\u4e2d\U0001F641.jpg";
	Obj.Materials.push_back(m);
	ASSERT_TRUE(Obj.exportANT());
	EXPECT_NE(readFile(path("hero.ant")).find("{\r\n    \xe9\x2d\x3d\x41.jpg\r\n}"), std::string::npos);
}

// A host program may switch the process to a locale with a decimal comma;
// the files must not change with it.
TEST_F(CExportTextTest, DecimalCommaLocaleChangesNothing)
{
	const char* const candidates[] = { "de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8" };
	const std::string previous = std::setlocale(LC_ALL, 0);
	const char* chosen = 0;
	for (const char* name : candidates)
		if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',')
		{
			chosen = name;
			break;
		}
	if (!chosen)
	{
		std::setlocale(LC_ALL, previous.c_str());
		GTEST_SKIP() << "no locale with a decimal comma is installed";
	}
	char probe[16];
	std::snprintf(probe, sizeof(probe), "%.1f", 0.5);
	EXPECT_STREQ(probe, "0,5") << chosen;

	mapCharacter();
	Obj.MergeAction = false;
	const bool text = Obj.exportGMC();
	const bool character = Obj.exportSKC();
	std::setlocale(LC_ALL, previous.c_str());

	ASSERT_TRUE(text);
	ASSERT_TRUE(character);
	expectMatchesGolden(path("hero.gmc"), "character.gmc");
	expectMatchesGolden(path("hero.skc"), "character.skc");
	expectMatchesGolden(path("hero.bnc"), "character_meteor.bnc");
}

TEST_F(CExportTextTest, DescriptionThatCannotBeCreatedKeepsTheGeometry)
{
	mapCharacter();
	ASSERT_TRUE(std::filesystem::create_directory(path("hero.des")));
	EXPECT_FALSE(Obj.exportGMC());
	expectMatchesGolden(path("hero.gmc"), "character.gmc");
}

typedef bool (COstrel::*WriterFn)();

struct SWriterCase
{
	const char* Name;
	WriterFn Writer;
};

class CUncreatableTest : public CExportTextTest, public ::testing::WithParamInterface<SWriterCase> {};

TEST_P(CUncreatableTest, WriterFailsWhenItsFileCannotBeCreated)
{
	mapCharacter();
	Obj.MergeAction = false;
	Obj.Params.OutputDir = core::stringw((Dir + "/missing/").c_str());
	EXPECT_FALSE((Obj.*GetParam().Writer)());
	EXPECT_FALSE(fileExists(path("missing")));
}

INSTANTIATE_TEST_SUITE_P(Writers, CUncreatableTest, ::testing::Values(
	SWriterCase{ "ANT", &COstrel::exportANT },
	SWriterCase{ "GMC", &COstrel::exportGMC },
	SWriterCase{ "GMB", &COstrel::exportGMB },
	SWriterCase{ "SKC", &COstrel::exportSKC },
	SWriterCase{ "AMB", &COstrel::exportAMB }),
	[](const ::testing::TestParamInfo<SWriterCase>& info) { return std::string(info.param.Name); });

} // namespace
