// Binary geometry (.gmb) and the scene description of the binary form.
#include "MeteorTestSupport.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace irr;
using namespace halvex_test;

namespace
{

std::string u32le(u32 v)
{
	std::string s(4, '\0');
	for (int i = 0; i < 4; ++i)
		s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
	return s;
}

std::string f32le(f32 f)
{
	u32 v;
	std::memcpy(&v, &f, sizeof(v));
	return u32le(v);
}

std::string str(const std::string& text)
{
	return u32le(static_cast<u32>(text.size())) + text;
}

class CExportGMBTest : public CMeteorTest {};

TEST_F(CExportGMBTest, CharacterMatchesGolden)
{
	buildCharacter(Obj, 1);
	Obj.CoordType = 4;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportGMB());
	// 51 + 38 * 3 + (8 + 8 + 0) + 36 * 5 + 28 * 3
	EXPECT_EQ(readFile(path("hero.gmb")).size(), 445u);
	expectMatchesGolden(path("hero.gmb"), "character.gmb");
	expectMatchesGolden(path("hero.des"), "character_binary.des");
	EXPECT_FALSE(fileExists(path("hero.gmc")));
}

// The smallest textured model: every field once, so the whole file can be
// spelled out here field by field.
TEST_F(CExportGMBTest, OneTriangleGivesTwoHundredThirtyThreeBytes)
{
	COstrel::SMaterial m;
	m.TextureName = L"null.jpg";
	m.Opacity = 0.75f;
	Obj.Materials.push_back(m);
	for (int i = 0; i < 3; ++i)
	{
		COstrel::SVert v;
		v.Pos.set(static_cast<f32>(i), 1.5f, -2.f);
		v.Normal.set(0.f, 0.f, 1.f);
		v.Color = video::SColorf(1.f + i, 2.f, 3.f, 255.f);
		v.TCoords.set(0.25f * i, 1.f);
		Obj.Verts.push_back(v);
	}
	COstrel::SFace f;
	f.Indices[0] = 2;
	f.Indices[1] = 1;
	f.Indices[2] = 0;
	f.MaterialID = 0;
	Obj.Faces.push_back(f);
	ASSERT_TRUE(Obj.exportGMB());

	std::string expected = "GMDL V1.00";
	expected += u32le(1) + str("null.jpg");
	expected += u32le(1) + u32le(0) + str("NORMAL") + '\x01' + str("DISABLE 1 0") + f32le(0.75f);
	expected += u32le(1) + u32le(0) + u32le(3) + u32le(1);
	expected += str("mBody") + u32le(3) + u32le(1);
	for (int i = 0; i < 3; ++i)
	{
		expected += f32le(static_cast<f32>(i)) + f32le(1.5f) + f32le(-2.f);
		expected += f32le(0.f) + f32le(0.f) + f32le(1.f);
		expected += std::string("\xff", 1) + static_cast<char>(1 + i) + '\x02' + '\x03';
		expected += f32le(0.25f * i) + f32le(1.f);
	}
	expected += u32le(0) + u32le(2) + u32le(1) + u32le(0) + u32le(0) + u32le(0) + u32le(0);
	ASSERT_EQ(expected.size(), 233u);
	EXPECT_EQ(readFile(path("hero.gmb")), expected);
}

TEST_F(CExportGMBTest, EmptySceneGivesFiftyOneBytes)
{
	ASSERT_TRUE(Obj.exportGMB());
	const std::string expected = "GMDL V1.00" + u32le(0) + u32le(0) + u32le(1) + u32le(0) + u32le(0) + u32le(0)
		+ str("mBody") + u32le(0) + u32le(0);
	ASSERT_EQ(expected.size(), 51u);
	EXPECT_EQ(readFile(path("hero.gmb")), expected);
}

TEST_F(CExportGMBTest, FacesAreStoredLastFirstWithSignedMaterial)
{
	for (u32 i = 0; i < 3; ++i)
	{
		COstrel::SFace f;
		f.Indices[0] = i;
		f.Indices[1] = i + 10;
		f.Indices[2] = 0xFFFFFFFFu - i;
		f.MaterialID = i == 0 ? -5 : static_cast<s32>(i);
		Obj.Faces.push_back(f);
	}
	ASSERT_TRUE(Obj.exportGMB());
	const std::string file = readFile(path("hero.gmb"));
	ASSERT_EQ(file.size(), 51u + 3 * 28);
	for (u32 n = 0; n < 3; ++n)
	{
		const size_t at = 51 + 28 * n;
		const u32 i = 2 - n;
		EXPECT_EQ(s32At(file, at), i == 0 ? -5 : static_cast<s32>(i));
		EXPECT_EQ(static_cast<u32>(s32At(file, at + 4)), i);
		EXPECT_EQ(static_cast<u32>(s32At(file, at + 8)), i + 10);
		EXPECT_EQ(static_cast<u32>(s32At(file, at + 12)), 0xFFFFFFFFu - i);
		EXPECT_EQ(file.substr(at + 16, 12), std::string(12, '\0'));
	}
}

struct SColorCase
{
	const char* Name;
	f32 Value;
	u8 Byte;
};

class CColorByteTest : public CExportGMBTest, public ::testing::WithParamInterface<SColorCase> {};

TEST_P(CColorByteTest, ComponentBecomesTheLowByteOfItsTruncation)
{
	const SColorCase c = GetParam();
	COstrel::SVert v;
	v.Color = video::SColorf(c.Value, 7.f, c.Value, 9.f);
	Obj.Verts.push_back(v);
	ASSERT_TRUE(Obj.exportGMB());
	const std::string file = readFile(path("hero.gmb"));
	ASSERT_EQ(file.size(), 51u + 36);
	// alpha, red, green, blue after position and normal
	const std::string colour = file.substr(51 + 24, 4);
	EXPECT_EQ(static_cast<u8>(colour[0]), 9);
	EXPECT_EQ(static_cast<u8>(colour[1]), c.Byte);
	EXPECT_EQ(static_cast<u8>(colour[2]), 7);
	EXPECT_EQ(static_cast<u8>(colour[3]), c.Byte);
}

INSTANTIATE_TEST_SUITE_P(Values, CColorByteTest, ::testing::Values(
	SColorCase{ "Full", 255.f, 0xFF },
	SColorCase{ "AlmostNext", 255.9f, 0xFF },
	SColorCase{ "Wraps", 256.f, 0x00 },
	SColorCase{ "Half", 128.7f, 0x80 },
	SColorCase{ "BelowOne", 0.99f, 0x00 },
	SColorCase{ "MinusOne", -1.f, 0xFF },
	SColorCase{ "MinusHalfTruncatesToZero", -0.5f, 0x00 },
	SColorCase{ "LargestInRange", 2147483520.f, 0x80 },
	SColorCase{ "TwoToThirtyOne", 2147483648.f, 0xFF },
	SColorCase{ "Huge", 1e10f, 0xFF },
	SColorCase{ "MinusTwoToThirtyOne", -2147483648.f, 0x00 },
	SColorCase{ "HugeNegative", -1e10f, 0x00 },
	SColorCase{ "Infinity", std::numeric_limits<f32>::infinity(), 0xFF },
	SColorCase{ "MinusInfinity", -std::numeric_limits<f32>::infinity(), 0x00 },
	SColorCase{ "NaN", std::numeric_limits<f32>::quiet_NaN(), 0x00 }),
	[](const ::testing::TestParamInfo<SColorCase>& info) { return std::string(info.param.Name); });

TEST_F(CExportGMBTest, TextureNameCountIsTheNumberOfCharacters)
{
	COstrel::SMaterial m;
	m.TextureName = L"\u00e9t\u4e2d.tga";
	Obj.Materials.push_back(m);
	ASSERT_TRUE(Obj.exportGMB());
	const std::string file = readFile(path("hero.gmb"));
	EXPECT_EQ(file.substr(10, 4 + 4 + 7), u32le(1) + u32le(7) + "\xe9t\x2d.tga");
	EXPECT_EQ(file.size(), 51u + 38 + 7);
}

TEST_F(CExportGMBTest, TextAndBinaryExportsOfOneNameLiveSideBySide)
{
	buildCharacter(Obj, 1);
	Obj.CoordType = 4;
	Obj.mapMeteorBones();
	ASSERT_TRUE(Obj.exportGMC());
	ASSERT_TRUE(Obj.exportGMB());
	expectMatchesGolden(path("hero.gmc"), "character.gmc");
	expectMatchesGolden(path("hero.gmb"), "character.gmb");
	expectMatchesGolden(path("hero.des"), "character_binary.des");
	ASSERT_TRUE(Obj.exportGMC());
	expectMatchesGolden(path("hero.gmb"), "character.gmb");
	expectMatchesGolden(path("hero.des"), "character_text.des");
}

} // namespace
