// Material collection: texture names, colours, opacity and the depth-first
// order of multi-materials.
#include "SceneFixture.h"

using namespace halvextest;
using irr::core::stringw;

namespace
{

class ExportMaterial : public CSceneTest {};

TEST_F(ExportMaterial, NoMaterialsLeavesListEmptyWhileFacesKeepTheirIds)
{
	maxsub::Node& quad = S.addNode(L"quad", maxsub::Kind::Mesh);
	quad.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0), 7);
	begin();
	exportMaterials();
	exportNodes();

	EXPECT_EQ(Obj.Materials.size(), 0u);
	ASSERT_EQ(Obj.Faces.size(), 2u);
	EXPECT_EQ(Obj.Faces[0].MaterialID, 7);
	EXPECT_EQ(Obj.Faces[1].MaterialID, 7);
	EXPECT_EQ(Obj.Faces[0].Material, nullptr);
	EXPECT_EQ(finishLog(), "");
}

TEST_F(ExportMaterial, MaterialWithoutMapsGetsNullJpgAndDefaults)
{
	S.addMaterial(L"plain");
	begin();
	exportMaterials();

	ASSERT_EQ(Obj.Materials.size(), 1u);
	const irr::COstrel::SMaterial& m = Obj.Materials[0];
	EXPECT_EQ(m.ID, 0);
	EXPECT_EQ(m.TextureName, stringw(L"null.jpg"));
	EXPECT_TRUE(nearColour(m.ColorKey, 0, 0, 0, 0));
	EXPECT_TRUE(nearColour(m.AmbientColor, 0, 0, 0, 1));
	EXPECT_TRUE(nearColour(m.DiffuseColor, 0, 0, 0, 1));
	EXPECT_TRUE(nearColour(m.SpecularColor, 0, 0, 0, 1));
	EXPECT_TRUE(nearColour(m.EmissiveColor, 0, 0, 0, 1));
	EXPECT_FLOAT_EQ(m.Opacity, 1.f);
}

struct SMapCase
{
	const char* Label;
	std::vector<std::pair<bool, std::wstring>> Maps; // (bitmap, path or name)
	const wchar_t* Expected;
};

void PrintTo(const SMapCase& c, std::ostream* os) { *os << c.Label; }

class ExportMaterialMaps : public CSceneTest, public ::testing::WithParamInterface<SMapCase> {};

TEST_P(ExportMaterialMaps, TextureNameIsFirstBitmapsFileName)
{
	maxsub::Material& material = S.addMaterial(L"m");
	for (const auto& map : GetParam().Maps)
	{
		if (map.first)
			material.addBitmap(map.second);
		else
			material.addProceduralMap(map.second);
	}
	begin();
	exportMaterials();

	ASSERT_EQ(Obj.Materials.size(), 1u);
	EXPECT_EQ(Obj.Materials[0].TextureName, stringw(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Names, ExportMaterialMaps, ::testing::Values(
	SMapCase{ "BackslashPath", { { true, L"C:\\maps\\wood.dds" } }, L"wood.dds" },
	SMapCase{ "SlashPath", { { true, L"maps/stone.tga" } }, L"stone.tga" },
	SMapCase{ "SeparatorFirstKeepsWholePath", { { true, L"\\wood.dds" } }, L"\\wood.dds" },
	SMapCase{ "SlashFirstKeepsWholePath", { { true, L"/wood.dds" } }, L"/wood.dds" },
	SMapCase{ "BareName", { { true, L"wood.dds" } }, L"wood.dds" },
	SMapCase{ "MixedSeparatorsLastWins", { { true, L"C:/a\\b/c\\leaf.png" } }, L"leaf.png" },
	SMapCase{ "TrailingSeparatorGivesEmpty", { { true, L"C:\\maps\\" } }, L"" },
	SMapCase{ "OnlyProceduralMapsGiveEmpty", { { false, L"Noise" }, { false, L"Checker" } }, L"" },
	SMapCase{ "ProceduralBeforeBitmap", { { false, L"Noise" }, { true, L"d:\\t\\skin.bmp" } }, L"skin.bmp" },
	SMapCase{ "FirstOfTwoBitmaps", { { true, L"a/first.dds" }, { true, L"a/second.dds" } }, L"first.dds" }),
	[](const ::testing::TestParamInfo<SMapCase>& info) { return std::string(info.param.Label); });

TEST_F(ExportMaterial, ColoursGetAlpha255AndAbsentOnesStayDefault)
{
	S.addMaterial(L"lit")
		.setAmbient(Point3(0.1f, 0.2f, 0.3f))
		.setDiffuse(Point3(0.4f, 0.5f, 0.6f))
		.setEmissive(Point3(1.f, 0.f, 0.5f))
		.setOpacity(0.25f);
	S.addMaterial(L"diffuse only").setDiffuse(Point3(0.7f, 0.8f, 0.9f));
	begin();
	exportMaterials();

	ASSERT_EQ(Obj.Materials.size(), 2u);
	const irr::COstrel::SMaterial& lit = Obj.Materials[0];
	EXPECT_TRUE(nearColour(lit.AmbientColor, 0.1f, 0.2f, 0.3f, 255.f));
	EXPECT_TRUE(nearColour(lit.DiffuseColor, 0.4f, 0.5f, 0.6f, 255.f));
	EXPECT_TRUE(nearColour(lit.SpecularColor, 0, 0, 0, 1));
	EXPECT_TRUE(nearColour(lit.EmissiveColor, 1.f, 0.f, 0.5f, 255.f));
	EXPECT_TRUE(nearColour(lit.ColorKey, 0, 0, 0, 0));
	EXPECT_FLOAT_EQ(lit.Opacity, 0.25f);

	const irr::COstrel::SMaterial& other = Obj.Materials[1];
	EXPECT_EQ(other.ID, 1);
	EXPECT_TRUE(nearColour(other.AmbientColor, 0, 0, 0, 1));
	EXPECT_TRUE(nearColour(other.DiffuseColor, 0.7f, 0.8f, 0.9f, 255.f));
	EXPECT_FLOAT_EQ(other.Opacity, 1.f);
}

TEST_F(ExportMaterial, MultiMaterialIsFollowedBySubMaterialsWithTheirIds)
{
	maxsub::Material& multi = S.addMaterial(L"multi");
	multi.setDiffuse(Point3(0.5f, 0.5f, 0.5f)).setOpacity(0.5f); // a multi-material ignores these
	multi.addSubMaterial(L"first", 0).addBitmap(L"C:\\t\\first.dds").setDiffuse(Point3(1, 0, 0));
	multi.addSubMaterial(L"second", 1).setOpacity(0.75f);
	begin();
	exportMaterials();

	ASSERT_EQ(Obj.Materials.size(), 3u);
	EXPECT_EQ(Obj.Materials[0].ID, 0);
	EXPECT_EQ(Obj.Materials[1].ID, 0);
	EXPECT_EQ(Obj.Materials[2].ID, 1);

	EXPECT_EQ(Obj.Materials[0].TextureName, stringw(L"null.jpg"));
	EXPECT_TRUE(nearColour(Obj.Materials[0].DiffuseColor, 0, 0, 0, 1));
	EXPECT_FLOAT_EQ(Obj.Materials[0].Opacity, 1.f);

	EXPECT_EQ(Obj.Materials[1].TextureName, stringw(L"first.dds"));
	EXPECT_TRUE(nearColour(Obj.Materials[1].DiffuseColor, 1, 0, 0, 255.f));
	EXPECT_EQ(Obj.Materials[2].TextureName, stringw(L"null.jpg"));
	EXPECT_FLOAT_EQ(Obj.Materials[2].Opacity, 0.75f);
}

TEST_F(ExportMaterial, NestedMultiMaterialsAreDepthFirstBeforeTheNextRoot)
{
	maxsub::Material& outer = S.addMaterial(L"outer");
	maxsub::Material& inner = outer.addSubMaterial(L"inner", 5);
	inner.addSubMaterial(L"leaf", 9);
	outer.addSubMaterial(L"sibling", 6);
	S.addMaterial(L"next");
	begin();
	exportMaterials();

	const int expected[] = { 0, 5, 9, 6, 1 };
	ASSERT_EQ(Obj.Materials.size(), 5u);
	for (irr::u32 i = 0; i < 5; ++i)
		EXPECT_EQ(Obj.Materials[i].ID, expected[i]) << "at " << i;
}

} // namespace
