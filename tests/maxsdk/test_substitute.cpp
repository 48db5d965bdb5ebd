#include "SubstituteScene.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

void expectPoint(const Point3& actual, const Point3& expected, const char* what)
{
	EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
	EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
	EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}

struct ConversionCase
{
	const char* Name;
	bool User;
	IGameConversionManager::CoordSystem System;
	UserCoord Record;
	Point3 Point;   // (1, 2, 3) converted
	Point3 UV;      // (0.25, 0.75) converted
};

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

// A node one unit along 3ds Max X, rotated 90 degrees about Z, carrying a
// mesh vertex at (1, 2, 3) with normal +X and a texture coordinate.
TEST_P(Conversion, PointsNormalsTransformsAndTextureCoordinatesAgree)
{
	const ConversionCase& c = GetParam();
	maxsub::Scene scene;
	const float h = std::sqrt(0.5f);
	maxsub::Node& node = scene.addNode(L"box", maxsub::Kind::Mesh);
	node.setLocal(GMatrix::FromTRS(Point3(1, 0, 0), Quat(0, 0, h, h)));
	maxsub::Mesh& mesh = node.mesh();
	mesh.addVertex(Point3(1, 2, 3));
	mesh.addNormal(Point3(1, 0, 0));
	mesh.setMapVertex(1, 0, 0.25f, 0.75f);
	maxsub::ScopedCurrentScene current(scene);

	if (c.User)
		scene.conversion().SetUserCoordSystem(c.Record);
	else
		scene.conversion().SetCoordSystem(c.System);

	Point3 p, n, uv;
	ASSERT_TRUE(mesh.GetVertex(0, p, true));
	expectPoint(p, c.Point, "object-space point");
	ASSERT_TRUE(mesh.GetNormal(0, n, true));
	expectPoint(n, scene.conversion().vector(Point3(1, 0, 0)), "object-space normal");
	ASSERT_TRUE(mesh.GetMapVertex(1, 0, uv));
	EXPECT_NEAR(uv.x, c.UV.x, 1e-6f);
	EXPECT_NEAR(uv.y, c.UV.y, 1e-6f);

	// World space: the converted transform applied to the converted point
	// gives the converted world point.
	Point3 world;
	ASSERT_TRUE(mesh.GetVertex(0, world, false));
	const Point3 maxWorld = node.worldAt(0).PointTransform(Point3(1, 2, 3)); // (-1, 1, 3)
	expectPoint(maxWorld, Point3(-1, 1, 3), "3ds Max world point");
	expectPoint(world, scene.conversion().point(maxWorld), "world point");
	expectPoint(node.GetWorldTM(0).PointTransform(p), world, "converted transform on converted point");

	Point3 worldNormal;
	ASSERT_TRUE(mesh.GetNormal(0, worldNormal, false));
	expectPoint(worldNormal, scene.conversion().vector(Point3(0, 1, 0)), "world normal");
}

const UserCoord Zenthra = { 1, 1, 4, 2, 1, 1 };
const UserCoord Mirror = { 0, 0, 2, 5, 0, 0 };

INSTANTIATE_TEST_SUITE_P(Table, Conversion, ::testing::Values(
	ConversionCase{ "max", false, IGameConversionManager::IGAME_MAX, {}, Point3(1, 2, 3), Point3(0.25f, 0.75f, 0) },
	ConversionCase{ "directx", false, IGameConversionManager::IGAME_D3D, {}, Point3(1, 3, 2), Point3(0.25f, 0.75f, 0) },
	ConversionCase{ "opengl", false, IGameConversionManager::IGAME_OGL, {}, Point3(1, 3, -2), Point3(0.25f, 0.75f, 0) },
	ConversionCase{ "zenthra", true, IGameConversionManager::IGAME_USER, Zenthra, Point3(1, 2, 3), Point3(0.25f, 0.25f, 0) },
	ConversionCase{ "user-left-up-out", true, IGameConversionManager::IGAME_USER, Mirror, Point3(-1, 3, -2), Point3(0.75f, 0.75f, 0) }),
	[](const ::testing::TestParamInfo<ConversionCase>& info) {
		std::string n = info.param.Name;
		for (char& ch : n)
			if (ch == '-')
				ch = '_';
		return n;
	});

TEST(GMatrixRotation, MatchesTheEngineQuaternionMatrix)
{
	const Quat cases[] = { Quat(0, 0, 0, 1), Quat(0, 0, std::sqrt(0.5f), std::sqrt(0.5f)),
		Quat(0.5f, 0.5f, 0.5f, 0.5f), Quat(1, 0, 0, 0), Quat(0.1825742f, 0.3651484f, 0.5477226f, 0.7302967f) };
	for (const Quat& q : cases)
	{
		const GMatrix m = GMatrix::FromTRS(Point3(4, 5, 6), q, Point3(2, 2, 2));
		irr::core::matrix4 e;
		irr::core::quaternion(q.x, q.y, q.z, q.w).getMatrix(e, irr::core::vector3df(0, 0, 0));
		for (int r = 0; r < 3; ++r)
			for (int col = 0; col < 3; ++col)
				EXPECT_NEAR(m[r][col], 2.f * e[r * 4 + col], 1e-5f);
		const Quat back = m.Rotation();
		const float sign = (back.w * q.w + back.x * q.x + back.y * q.y + back.z * q.z) < 0 ? -1.f : 1.f;
		EXPECT_NEAR(sign * back.x, q.x, 1e-5f);
		EXPECT_NEAR(sign * back.y, q.y, 1e-5f);
		EXPECT_NEAR(sign * back.z, q.z, 1e-5f);
		EXPECT_NEAR(sign * back.w, q.w, 1e-5f);
		expectPoint(m.Translation(), Point3(4, 5, 6), "translation");
		expectPoint(m.Scaling(), Point3(2, 2, 2), "scaling");
		const GMatrix id = m * m.Inverse();
		for (int r = 0; r < 4; ++r)
			for (int col = 0; col < 4; ++col)
				EXPECT_NEAR(id[r][col], r == col ? 1.f : 0.f, 1e-5f);
	}
}

// root(sel) -> a -> b(sel) -> c(sel); root -> d(sel); e (unselected, top level) -> f(sel)
class Selection : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Root = &Scene.addNode(L"root", maxsub::Kind::Helper);
		A = &Scene.addNode(L"a", maxsub::Kind::Helper, Root);
		B = &Scene.addNode(L"b", maxsub::Kind::Helper, A);
		C = &Scene.addNode(L"c", maxsub::Kind::Helper, B);
		D = &Scene.addNode(L"d", maxsub::Kind::Helper, Root);
		E = &Scene.addNode(L"e", maxsub::Kind::Helper);
		F = &Scene.addNode(L"f", maxsub::Kind::Helper, E);
		Root->select();
		B->select();
		C->select();
		D->select();
		F->select();
	}
	maxsub::Scene Scene;
	maxsub::Node *Root, *A, *B, *C, *D, *E, *F;
};

TEST_F(Selection, WholeSceneShowsEveryNode)
{
	ASSERT_TRUE(Scene.InitialiseIGame(false));
	ASSERT_EQ(Scene.GetTopLevelNodeCount(), 2);
	EXPECT_EQ(Scene.GetTopLevelNode(0), Root);
	EXPECT_EQ(Scene.GetTopLevelNode(1), E);
	EXPECT_EQ(Root->GetChildCount(), 2);
	EXPECT_EQ(A->GetNodeParent(), Root);
	EXPECT_EQ(Scene.GetTopLevelNode(2), nullptr);
}

TEST_F(Selection, SelectedNodesHangUnderTheirNearestSelectedAncestor)
{
	ASSERT_TRUE(Scene.InitialiseIGame(true));
	ASSERT_EQ(Scene.GetTopLevelNodeCount(), 2);
	EXPECT_EQ(Scene.GetTopLevelNode(0), Root);
	EXPECT_EQ(Scene.GetTopLevelNode(1), F);
	EXPECT_EQ(F->GetNodeParent(), nullptr);
	ASSERT_EQ(Root->GetChildCount(), 2);
	EXPECT_EQ(Root->GetNodeChild(0), B);
	EXPECT_EQ(Root->GetNodeChild(1), D);
	EXPECT_EQ(B->GetNodeParent(), Root);
	EXPECT_EQ(B->GetNodeChild(0), C);
}

TEST_F(Selection, LifeCycle)
{
	EXPECT_EQ(Scene.GetTopLevelNodeCount(), 0);
	Scene.InitialiseIGame(true);
	EXPECT_TRUE(Scene.initialised());
	Scene.ReleaseIGame();
	EXPECT_FALSE(Scene.initialised());
	EXPECT_EQ(Scene.GetTopLevelNodeCount(), 0);
	EXPECT_EQ(Root->GetChildCount(), 0);
	// A second initialisation builds the view anew.
	Scene.InitialiseIGame(false);
	EXPECT_EQ(Scene.GetTopLevelNodeCount(), 2);
	EXPECT_EQ(Scene.initialiseCount(), 2);
	EXPECT_EQ(Scene.releaseCount(), 1);
}

TEST(SceneTime, TicksFollowTheFrameRate)
{
	maxsub::Scene scene;
	scene.setFrameRate(25);
	scene.setAnimRange(10, 50);
	EXPECT_EQ(scene.GetSceneTicks(), 192);
	EXPECT_EQ(scene.GetSceneStartTime(), 1920);
	EXPECT_EQ(scene.GetSceneEndTime(), 9600);
	maxsub::Host host(L"/opt/max");
	maxsub::ScopedCurrentScene current(scene, &host);
	EXPECT_EQ(GetTicksPerFrame(), 192);
	EXPECT_EQ(GetFrameRate(), 25);
	EXPECT_EQ(GetCOREInterface(), &host);
	EXPECT_EQ(std::wstring(GetCOREInterface()->GetDir(APP_MAXROOT_DIR)), L"/opt/max");
	EXPECT_EQ(GetCOREInterface()->GetAnimRange().End(), 9600);
	EXPECT_EQ(GetIGameInterface(), &scene);
}

class RecordingCallback : public IGameErrorCallBack
{
public:
	void ErrorProc(IGameError error) override { Errors.push_back(error); }
	std::vector<IGameError> Errors;
};

TEST(MeshLookups, FailSafelyWithDefinedValues)
{
	maxsub::Scene scene;
	maxsub::Node& node = scene.addNode(L"tri", maxsub::Kind::Mesh);
	maxsub::Mesh& mesh = node.mesh();
	mesh.addVertex(Point3(0, 0, 0));
	mesh.addVertex(Point3(1, 0, 0));
	mesh.addVertex(Point3(0, 1, 0));
	mesh.addFace(0, 1, 2);
	maxsub::ScopedCurrentScene current(scene);
	RecordingCallback cb;
	SetErrorCallBack(&cb);

	ASSERT_TRUE(mesh.InitializeData());
	Point3 n;
	ASSERT_TRUE(mesh.GetNormal(0, n, true));
	expectPoint(n, Point3(0, 0, 1), "generated normal");

	Point3 col(9, 9, 9);
	float alpha = 9;
	EXPECT_TRUE(mesh.GetColorVertex(2, col)); // no colour list: white
	expectPoint(col, Point3(1, 1, 1), "default colour");
	EXPECT_TRUE(mesh.GetAlphaVertex(2, alpha));
	EXPECT_EQ(alpha, 1.f);

	Point3 p(9, 9, 9);
	EXPECT_FALSE(mesh.GetVertex(3, p));
	expectPoint(p, Point3(0, 0, 0), "out-of-range vertex");
	EXPECT_FALSE(mesh.GetNormal(-1, n));
	expectPoint(n, Point3(0, 0, 0), "out-of-range normal");
	mesh.addColor(Point3(0.5f, 0.5f, 0.5f));
	EXPECT_FALSE(mesh.GetColorVertex(7, col));
	expectPoint(col, Point3(1, 1, 1), "out-of-range colour");
	Point3 uv(5, 5, 5);
	EXPECT_FALSE(mesh.GetMapVertex(1, 0, uv));
	expectPoint(uv, Point3(5, 5, 5), "missing channel leaves the output");
	EXPECT_EQ(mesh.GetFace(1), nullptr);
	EXPECT_EQ(cb.Errors.size(), 3u);
	EXPECT_STRNE(GetLastIGameErrorText(), L"");
	SetErrorCallBack(nullptr);

	mesh.setInitializeFails(true);
	EXPECT_FALSE(mesh.InitializeData());
}

TEST(Skin, RigidAndBlendedVertices)
{
	maxsub::Scene scene;
	maxsub::Node& bone = scene.addNode(L"b", maxsub::Kind::Bone);
	maxsub::Node& mesh = scene.addNode(L"m", maxsub::Kind::Mesh);
	maxsub::Skin& skin = mesh.mesh().skin();
	skin.bind(0, { { bone.id(), 1.f } });
	skin.bind(1, { { 5, 0.25f }, { bone.id(), 0.75f } });
	EXPECT_EQ(skin.GetVertexType(0), IGameSkin::IGAME_RIGID);
	EXPECT_EQ(skin.GetVertexType(1), IGameSkin::IGAME_RIGID_BLENDED);
	EXPECT_EQ(skin.GetNumberOfBones(1), 2);
	EXPECT_EQ(skin.GetBoneID(1, 0), 5);
	EXPECT_FLOAT_EQ(skin.GetWeight(1, 1), 0.75f);
	EXPECT_EQ(skin.GetIGameBone(0, 0), &bone);
	EXPECT_EQ(skin.GetBoneID(1, 2), -1);
	EXPECT_TRUE(mesh.GetIGameObject()->IsObjectSkinned());
}

TEST(Materials, MultiMaterialFaces)
{
	maxsub::Scene scene;
	maxsub::Material& multi = scene.addMaterial(L"multi");
	maxsub::Material& wood = multi.addSubMaterial(L"wood", 3);
	maxsub::Material& stone = multi.addSubMaterial(L"stone", 7);
	maxsub::Node& node = scene.addNode(L"m", maxsub::Kind::Mesh);
	node.setMaterial(&multi, scene.rootIndex(&multi));
	node.mesh().addVertex(Point3());
	const int f = node.mesh().addFace(0, 0, 0, 7);
	EXPECT_EQ(node.GetMaterialIndex(), 0);
	EXPECT_EQ(node.mesh().GetMaterialFromFace(node.mesh().GetFace(f)), &stone);
	node.mesh().face(f).matID = 3;
	EXPECT_EQ(node.mesh().GetMaterialFromFace(node.mesh().GetFace(f)), &wood);
	EXPECT_EQ(multi.GetMaterialID(1), 7);
	EXPECT_EQ(multi.GetDiffuseData(), nullptr);
	wood.setDiffuse(Point3(0.5f, 0.25f, 1.f)).setOpacity(0.5f).addProceduralMap().addBitmap(L"C:\\maps\\wood.dds");
	Point3 d;
	ASSERT_NE(wood.GetDiffuseData(), nullptr);
	wood.GetDiffuseData()->GetPropertyValue(d);
	expectPoint(d, Point3(0.5f, 0.25f, 1.f), "diffuse");
	EXPECT_FALSE(wood.GetIGameTextureMap(0)->IsEntitySupported());
	EXPECT_EQ(wood.GetIGameTextureMap(0)->GetBitmapFileName(), nullptr);
	EXPECT_EQ(std::wstring(wood.GetIGameTextureMap(1)->GetBitmapFileName()), L"C:\\maps\\wood.dds");
}

} // namespace
