// Scene import through Assimp: the shipped example character, axis
// conversion, failures and real models that nobody here made.
#include "host/SceneImport.h"
#include "host/ImportTestUtil.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

using halvex::importScene;
using halvex::SImportOptions;
using namespace halvex_test;

namespace
{

const std::string ExamplePath = std::string(HALVEX_SOURCE_DIR) + "/examples/walker.gltf";
const std::string ModelsDir = "/usr/share/assimp/models";

const char* const BoneNames[30] = {
	"b", "bad_Pelvis", "bau_Spine", "bad_L_Thigh", "bad_L_Calf", "bad_L_Foot", "bbd_L_Toe0",
	"bad_R_Thigh", "bad_R_Calf", "bad_R_Foot", "bbd_R_Toe0", "bau_Spine1", "bau_Neck", "bau_Head",
	"bau_L_Clavicle", "bau_L_UpperArm", "bau_L_Forearm", "bau_L_Hand", "bbu_L_Finger0",
	"bbu_L_Finger01", "bbu_L_Finger1", "bbu_L_Finger11", "bau_R_Clavicle", "bau_R_UpperArm",
	"bau_R_Forearm", "bau_R_Hand", "bbu_R_Finger0", "bbu_R_Finger01", "bbu_R_Finger1",
	"bbu_R_Finger11" };

std::wstring wide(const std::string& s)
{
	return std::wstring(s.begin(), s.end());
}

maxsub::Node& node(maxsub::Scene& scene, const std::string& name)
{
	maxsub::Node* n = scene.findNode(wide(name));
	if (!n)
		throw std::runtime_error("no node " + name);
	return *n;
}

std::unique_ptr<maxsub::Scene> load(const std::string& path, const SImportOptions& options = SImportOptions())
{
	std::string error;
	auto scene = importScene(path, options, error);
	EXPECT_TRUE(scene) << error;
	EXPECT_EQ(error, "");
	return scene;
}

std::string wideToString(const MCHAR* s)
{
	return s ? narrow(s) : std::string("(null)");
}

// ---- the example character --------------------------------------------------

class ExampleImport : public ::testing::Test
{
protected:
	static void SetUpTestSuite() { Scene = load(ExamplePath).release(); }
	static void TearDownTestSuite()
	{
		delete Scene;
		Scene = nullptr;
	}
	static maxsub::Node& at(const std::string& name) { return node(*Scene, name); }
	static maxsub::Mesh& body() { return at("Body").mesh(); }
	static maxsub::Scene* Scene;
};

maxsub::Scene* ExampleImport::Scene = nullptr;

TEST_F(ExampleImport, SkeletonNamesAreBonesAndDummiesAreHelpersUnderTheirParents)
{
	ASSERT_TRUE(Scene);
	EXPECT_EQ(Scene->nodes().size(), 37u);
	for (const char* name : BoneNames)
		EXPECT_EQ(at(name).kind(), maxsub::Kind::Bone) << name;

	struct SDummy { const char* Name; const char* Parent; };
	const SDummy dummies[] = { { "d_base", nullptr }, { "d_top", "bau_Head" },
		{ "d_wpnLP", "bau_L_Hand" }, { "d_wpnL", "d_wpnLP" }, { "d_wpnRP", "bau_R_Hand" },
		{ "d_wpnR", "d_wpnRP" } };
	for (const SDummy& d : dummies)
	{
		maxsub::Node& n = at(d.Name);
		EXPECT_EQ(n.kind(), maxsub::Kind::Helper) << d.Name;
		EXPECT_EQ(n.parent() ? narrow(n.parent()->name()) : std::string("-"), d.Parent ? d.Parent : "-");
	}
	EXPECT_EQ(narrow(at("b").parent()->name()), "d_base");
	EXPECT_EQ(at("Body").kind(), maxsub::Kind::Mesh);
	EXPECT_EQ(at("Body").parent(), nullptr);
}

TEST_F(ExampleImport, RootChildrenAreTheTopLevelNodesWithIdsInWalkOrder)
{
	ASSERT_TRUE(Scene->InitialiseIGame(false));
	ASSERT_EQ(Scene->GetTopLevelNodeCount(), 2);
	EXPECT_EQ(wideToString(Scene->GetTopLevelNode(0)->GetName()), "d_base");
	EXPECT_EQ(wideToString(Scene->GetTopLevelNode(1)->GetName()), "Body");
	Scene->ReleaseIGame();
	EXPECT_EQ(at("d_base").id(), 1);
	EXPECT_EQ(at("b").id(), 2);
	EXPECT_EQ(at("bad_Pelvis").id(), 3);
	EXPECT_EQ(at("Body").id(), 37);
	// Pre-order: every parent has a smaller id than its children.
	for (const auto& n : Scene->nodes())
		if (n->parent())
		{
			EXPECT_LT(n->parent()->id(), n->id()) << narrow(n->name());
		}
	EXPECT_EQ(wideToString(Scene->GetSceneFileName()), ExamplePath);
}

TEST_F(ExampleImport, MaterialsFormOneMultiMaterialWithFaceIds)
{
	ASSERT_EQ(Scene->GetRootMaterialCount(), 1);
	IGameMaterial* multi = Scene->GetRootMaterial(0);
	ASSERT_TRUE(multi->IsMultiType());
	ASSERT_EQ(multi->GetSubMaterialCount(), 2);
	EXPECT_EQ(multi->GetMaterialID(0), 0);
	EXPECT_EQ(multi->GetMaterialID(1), 1);

	IGameMaterial* cloth = multi->GetSubMaterial(0);
	IGameMaterial* skin = multi->GetSubMaterial(1);
	EXPECT_EQ(wideToString(cloth->GetMaterialName()), "Cloth");
	EXPECT_EQ(wideToString(skin->GetMaterialName()), "Skin");
	// The image is listed as diffuse and base colour; it is one map.
	ASSERT_EQ(cloth->GetNumberOfTextureMaps(), 1);
	EXPECT_TRUE(cloth->GetIGameTextureMap(0)->IsEntitySupported());
	EXPECT_EQ(wideToString(cloth->GetIGameTextureMap(0)->GetBitmapFileName()), "walker.png");
	EXPECT_EQ(skin->GetNumberOfTextureMaps(), 0);
	Point3 c;
	ASSERT_TRUE(skin->GetDiffuseData());
	skin->GetDiffuseData()->GetPropertyValue(c);
	expectNear(c, Point3(0.85f, 0.65f, 0.5f));

	EXPECT_EQ(at("Body").GetMaterialIndex(), 0);
	EXPECT_EQ(at("Body").GetNodeMaterial(), multi);
	maxsub::Mesh& mesh = body();
	std::map<int, int> facesPerId;
	for (int f = 0; f < mesh.GetNumberOfFaces(); ++f)
		++facesPerId[mesh.GetFace(f)->matID];
	EXPECT_EQ(facesPerId, (std::map<int, int>{ { 0, 216 }, { 1, 144 } }));
	EXPECT_EQ(mesh.GetMaterialFromFace(mesh.GetFace(0)), cloth);
	EXPECT_EQ(mesh.GetMaterialFromFace(mesh.GetFace(mesh.GetNumberOfFaces() - 1)), skin);
}

TEST_F(ExampleImport, GeometryStandsAlongZWithNormalsUvsAndColours)
{
	maxsub::Mesh& mesh = body();
	ASSERT_EQ(mesh.GetNumberOfVerts(), 720);
	ASSERT_EQ(mesh.GetNumberOfFaces(), 360);
	float top = -1e9f, front = 1e9f;
	for (int i = 0; i < mesh.GetNumberOfVerts(); ++i)
	{
		const Point3 p = vertexOf(mesh, i);
		top = std::max(top, p.z);
		front = std::min(front, p.y);
	}
	EXPECT_NEAR(top, 1.8f, 1e-5f);   // the head, Y up in the file
	EXPECT_NEAR(front, -0.18f, 1e-5f); // the toes face the viewer (-Y)

	// The first box (bone "b"): its +X face, then -X, +Y (up) and +Z (front).
	expectNear(vertexOf(mesh, 0), Point3(0.03f, -0.03f, 0.92f));
	expectNear(normalOf(mesh, 0), Point3(1, 0, 0));
	expectNear(normalOf(mesh, 4), Point3(-1, 0, 0));
	expectNear(normalOf(mesh, 8), Point3(0, 0, 1));
	expectNear(normalOf(mesh, 16), Point3(0, -1, 0));

	Tab<int> channels = mesh.GetActiveMapChannelNum();
	ASSERT_EQ(channels.Count(), 1);
	EXPECT_EQ(channels[0], 1);
	Point3 uv;
	ASSERT_TRUE(mesh.GetMapVertex(1, 0, uv));
	EXPECT_FLOAT_EQ(uv.x, 0.f); // the face's lower left corner, V up
	EXPECT_FLOAT_EQ(uv.y, 0.f);
	ASSERT_TRUE(mesh.GetMapVertex(1, 2, uv));
	EXPECT_FLOAT_EQ(uv.x, 1.f);
	EXPECT_FLOAT_EQ(uv.y, 1.f);
	EXPECT_FALSE(mesh.GetMapVertex(2, 0, uv));

	Point3 colour;
	float alpha = 0;
	mesh.GetColorVertex(mesh.GetFace(0)->color[0], colour);
	mesh.GetAlphaVertex(mesh.GetFace(0)->alpha[0], alpha);
	expectNear(colour, Point3(1, 1, 1));
	EXPECT_EQ(alpha, 1.f);

	// Faces keep their outward winding: the corner order agrees with the normal.
	for (int f = 0; f < mesh.GetNumberOfFaces(); ++f)
	{
		const FaceEx& face = *mesh.GetFace(f);
		const Point3 a = vertexOf(mesh, (int)face.vert[0]), b = vertexOf(mesh, (int)face.vert[1]),
			c = vertexOf(mesh, (int)face.vert[2]), n = normalOf(mesh, (int)face.norm[0]);
		const Point3 e1(b.x - a.x, b.y - a.y, b.z - a.z), e2(c.x - a.x, c.y - a.y, c.z - a.z);
		const float dot = (e1.y * e2.z - e1.z * e2.y) * n.x + (e1.z * e2.x - e1.x * e2.z) * n.y
			+ (e1.x * e2.y - e1.y * e2.x) * n.z;
		ASSERT_GT(dot, 0.f) << "face " << f;
	}
}

TEST_F(ExampleImport, SkinBindsEveryBoneByNodeIdRigidOrBlended)
{
	maxsub::Mesh& mesh = body();
	IGameSkin* skin = mesh.GetIGameSkin();
	ASSERT_TRUE(skin);
	std::set<int> bound;
	int rigid = 0, blended = 0;
	for (int v = 0; v < mesh.GetNumberOfVerts(); ++v)
	{
		float sum = 0;
		for (int j = 0; j < skin->GetNumberOfBones(v); ++j)
		{
			bound.insert(skin->GetBoneID(v, j));
			sum += skin->GetWeight(v, j);
		}
		EXPECT_NEAR(sum, 1.f, 1e-6f) << "vertex " << v;
		if (skin->GetVertexType(v) == IGameSkin::IGAME_RIGID)
			++rigid;
		else
			++blended;
	}
	// Ten limb boxes blend their joint end: 12 of their 24 corners each.
	EXPECT_EQ(rigid, 600);
	EXPECT_EQ(blended, 120);
	std::set<int> bones;
	for (const char* name : BoneNames)
		bones.insert(at(name).id());
	EXPECT_EQ(bound, bones);

	// Vertex 0 sits in the box of "b"; the upper arm's top corners blend
	// with the clavicle.
	EXPECT_EQ(skin->GetVertexType(0), IGameSkin::IGAME_RIGID);
	EXPECT_EQ(skin->GetBoneID(0, 0), at("b").id());
	EXPECT_EQ(skin->GetWeight(0, 0), 1.f);
	// Bones keep the file's order: the clavicle comes before the upper arm.
	const int upperArm = at("bau_L_UpperArm").id(), clavicle = at("bau_L_Clavicle").id();
	int checked = 0;
	for (int v = 0; v < mesh.GetNumberOfVerts(); ++v)
		if (skin->GetNumberOfBones(v) == 2 && skin->GetBoneID(v, 1) == upperArm
			&& skin->GetBoneID(v, 0) == clavicle)
		{
			EXPECT_NEAR(skin->GetWeight(v, 0), 0.4f, 1e-6f);
			EXPECT_NEAR(skin->GetWeight(v, 1), 0.6f, 1e-6f);
			EXPECT_NEAR(vertexOf(mesh, v).z, 1.44f, 1e-5f);
			++checked;
		}
	EXPECT_EQ(checked, 12);
}

TEST_F(ExampleImport, AnimationIsSampledBetweenKeysAndRestIsKeptWithoutChannel)
{
	EXPECT_EQ(Scene->frameRate(), 30);
	EXPECT_EQ(Scene->animRange().Start(), 0);
	EXPECT_EQ(Scene->animRange().End(), 30 * 160);

	// "b" bobs: 0.97 at 0 s, 0.95 at 1/8 s; halfway lies between linearly.
	struct SCase { TimeValue T; float Height; };
	const SCase heights[] = { { 0, 0.97f }, { 300, 0.96f }, { 600, 0.95f }, { 4800, 0.97f },
		{ -500, 0.97f }, { 9600, 0.97f } };
	for (const SCase& c : heights)
		expectNear(at("b").GetLocalTM(c.T).Translation(), Point3(0, 0, c.Height), 1e-5f);

	// The left thigh swings about X: keys 0 and -17.68 degrees, slerped.
	const double angle = -25.0 * std::sin(3.14159265358979 / 4) / 2 * 3.14159265358979 / 180;
	const GMatrix thigh = at("bad_L_Thigh").GetLocalTM(300);
	EXPECT_NEAR(thigh.m[0][0], 1.f, 1e-5f);
	EXPECT_NEAR(thigh.m[1][1], std::cos(angle), 1e-5);
	EXPECT_NEAR(thigh.m[1][2], std::sin(angle), 1e-5);
	EXPECT_NEAR(thigh.m[2][1], -std::sin(angle), 1e-5);
	expectNear(thigh.Translation(), Point3(0.10f, 0, -0.03f), 1e-5f);

	// No channel: the rest transform at any time.
	for (TimeValue t : { 0, 1234, 4800 })
	{
		const GMatrix head = at("bau_Head").GetLocalTM(t);
		expectNear(head.Translation(), Point3(0, 0, 0.10f), 1e-5f);
		EXPECT_NEAR(head.m[2][2], 1.f, 1e-6f);
	}
}

// ---- options ------------------------------------------------------------------

TEST(ImportOptions, TakeByNameOrIndexFrameRateRangeAndScale)
{
	SImportOptions byName;
	byName.Take = "Walk";
	byName.FPS = 60;
	auto named = load(ExamplePath, byName);
	ASSERT_TRUE(named);
	EXPECT_EQ(named->frameRate(), 60);
	EXPECT_EQ(named->animRange().End(), 60 * 80);

	SImportOptions ranged;
	ranged.Take = "0";
	ranged.HasRange = true;
	ranged.RangeStart = 5;
	ranged.RangeEnd = 20;
	auto indexed = load(ExamplePath, ranged);
	ASSERT_TRUE(indexed);
	EXPECT_EQ(indexed->animRange().Start(), 5 * 160);
	EXPECT_EQ(indexed->animRange().End(), 20 * 160);
	expectNear(node(*indexed, "b").GetLocalTM(300).Translation(), Point3(0, 0, 0.96f), 1e-5f);

	SImportOptions scaled;
	scaled.Scale = 100.f;
	auto big = load(ExamplePath, scaled);
	ASSERT_TRUE(big);
	expectNear(vertexOf(node(*big, "Body").mesh(), 0), Point3(3, -3, 92), 1e-3f);
	const GMatrix thigh = node(*big, "bad_L_Thigh").GetLocalTM(300);
	expectNear(thigh.Translation(), Point3(10, 0, -3), 1e-3f);
	expectNear(thigh.Scaling(), Point3(1, 1, 1), 1e-5f);
	expectNear(node(*big, "b").GetLocalTM(300).Translation(), Point3(0, 0, 96), 1e-3f);
}

// ---- failures -----------------------------------------------------------------

struct SFailure
{
	const char* Case;
	const char* File;    // created in the temp folder unless null content
	const char* Content; // null: the file is not created
	const char* Take;
	int FPS;
	float Scale;
	const char* Reason;  // the message after "<path>: ", a prefix
};

class ImportFailure : public ::testing::TestWithParam<SFailure> {};

TEST_P(ImportFailure, GivesNullAndOneLineNamingFileAndReason)
{
	const SFailure& c = GetParam();
	CTempDir dir;
	std::string path = dir.file(c.File);
	if (c.Content)
		dir.write(c.File, c.Content);
	if (std::string(c.File) == ".")
		path = dir.path();
	if (std::string(c.File) == "example")
		path = ExamplePath;
	SImportOptions options;
	options.Take = c.Take;
	options.FPS = c.FPS;
	options.Scale = c.Scale;
	std::string error;
	auto scene = importScene(path, options, error);
	EXPECT_FALSE(scene);
	EXPECT_EQ(error.rfind(path + ": " + c.Reason, 0), 0u) << error;
	EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportFailure, ::testing::Values(
	SFailure{ "Missing", "nothing.fbx", nullptr, "", 30, 1.f, "no such file" },
	SFailure{ "Directory", ".", nullptr, "", 30, 1.f, "is a directory" },
	SFailure{ "NotAScene", "notes.txt", "just some words\nand more\n", "", 30, 1.f,
		"cannot be read as a scene" },
	SFailure{ "BrokenGltf", "broken.gltf", "{ \"asset\": { \"version\": \"2.0\" }, \"nodes\": [", "", 30, 1.f,
		"cannot be read as a scene" },
	SFailure{ "NoNodes", "empty.gltf",
		"{ \"asset\": { \"version\": \"2.0\" }, \"scene\": 0, \"scenes\": [ { \"nodes\": [] } ] }", "", 30, 1.f,
		"the scene holds no nodes" },
	SFailure{ "UnknownTake", "example", nullptr, "Run", 30, 1.f, "no animation take \"Run\" (the file has 1)" },
	SFailure{ "TakeIndexTooLarge", "example", nullptr, "1", 30, 1.f, "no animation take \"1\"" },
	SFailure{ "ZeroFrameRate", "example", nullptr, "", 0, 1.f, "the frame rate must be positive" },
	SFailure{ "NegativeScale", "example", nullptr, "", 30, -2.f, "the scale must be a positive number" }),
	[](const ::testing::TestParamInfo<SFailure>& info) { return std::string(info.param.Case); });

// ---- axes -----------------------------------------------------------------------

TEST(ImportAxes, YUpObjStandsAlongZFacingTheViewer)
{
	CTempDir dir;
	const std::string path = dir.write("quad.obj",
		"v 0 0 0\nv 1 0 0\nv 1 2 0\nv 0 2 0\nvn 0 0 1\nf 1//1 2//1 3//1 4//1\n");
	auto scene = load(path);
	ASSERT_TRUE(scene);
	ASSERT_EQ(scene->nodes().size(), 1u);
	maxsub::Mesh& mesh = scene->nodes()[0]->mesh();
	ASSERT_EQ(mesh.GetNumberOfVerts(), 4);
	ASSERT_EQ(mesh.GetNumberOfFaces(), 2);
	expectNear(vertexOf(mesh, 2), Point3(1, 0, 2));
	expectNear(normalOf(mesh, 2), Point3(0, -1, 0));
	EXPECT_EQ(mesh.GetIGameSkin(), nullptr);
	EXPECT_EQ(scene->animRange().End(), 0);
}

struct SAxesCase
{
	const char* Case;
	int Up, UpSign, Front, FrontSign, Coord, CoordSign;
	Point3 Top;       // where the file's point (1, 0, 2) lands
	bool Reversed;    // the corner order is turned round
};

class ImportFbxAxes : public ::testing::TestWithParam<SAxesCase> {};

// The file's quad lies in its XZ plane, its corner (1, 0, 2) highest in Z.
TEST_P(ImportFbxAxes, MetadataAxesDecideWhereThePointsLand)
{
	const SAxesCase& c = GetParam();
	char settings[512];
	std::snprintf(settings, sizeof settings,
		"\t\tP: \"UpAxis\", \"int\", \"Integer\", \"\",%d\n\t\tP: \"UpAxisSign\", \"int\", \"Integer\", \"\",%d\n"
		"\t\tP: \"FrontAxis\", \"int\", \"Integer\", \"\",%d\n\t\tP: \"FrontAxisSign\", \"int\", \"Integer\", \"\",%d\n"
		"\t\tP: \"CoordAxis\", \"int\", \"Integer\", \"\",%d\n\t\tP: \"CoordAxisSign\", \"int\", \"Integer\", \"\",%d\n",
		c.Up, c.UpSign, c.Front, c.FrontSign, c.Coord, c.CoordSign);
	const std::string fbx = std::string("; FBX 7.4.0 project file\n"
		"FBXHeaderExtension:  {\n\tFBXHeaderVersion: 1003\n\tFBXVersion: 7400\n}\n"
		"GlobalSettings:  {\n\tVersion: 1000\n\tProperties70:  {\n") + settings + "\t}\n}\n"
		"Objects:  {\n\tGeometry: 100, \"Geometry::Quad\", \"Mesh\" {\n"
		"\t\tVertices: *12 {\n\t\t\ta: 0,0,0,1,0,0,1,0,2,0,0,2\n\t\t}\n"
		"\t\tPolygonVertexIndex: *4 {\n\t\t\ta: 0,1,2,-4\n\t\t}\n\t}\n"
		"\tModel: 200, \"Model::Quad\", \"Mesh\" {\n\t\tVersion: 232\n\t}\n}\n"
		"Connections:  {\n\tC: \"OO\",100,200\n\tC: \"OO\",200,0\n}\n";
	CTempDir dir;
	auto scene = load(dir.write("quad.fbx", fbx));
	ASSERT_TRUE(scene);
	maxsub::Node& quad = node(*scene, "Quad");
	ASSERT_EQ(quad.kind(), maxsub::Kind::Mesh);
	maxsub::Mesh& mesh = quad.mesh();
	ASSERT_EQ(mesh.GetNumberOfVerts(), 4);
	expectNear(quad.worldAt(0).PointTransform(vertexOf(mesh, 2)), c.Top);
	const FaceEx& f = *mesh.GetFace(0);
	const std::vector<DWORD> corners = { f.vert[0], f.vert[1], f.vert[2] };
	const std::vector<DWORD> expected = c.Reversed ? std::vector<DWORD>{ 0, 2, 1 } : std::vector<DWORD>{ 0, 1, 2 };
	EXPECT_EQ(corners, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportFbxAxes, ::testing::Values(
	SAxesCase{ "ZUpFrontMinusY", 2, 1, 1, -1, 0, 1, Point3(1, 0, 2), false },
	SAxesCase{ "YUpFrontZ", 1, 1, 2, 1, 0, 1, Point3(1, -2, 0), false },
	SAxesCase{ "ZUpTurnedRound", 2, 1, 1, 1, 0, -1, Point3(-1, 0, 2), false },
	SAxesCase{ "ZUpLeftHanded", 2, 1, 1, 1, 0, 1, Point3(1, 0, 2), true },
	SAxesCase{ "UpEqualsFrontIsIgnored", 1, 1, 1, 1, 0, 1, Point3(1, -2, 0), false }),
	[](const ::testing::TestParamInfo<SAxesCase>& info) { return std::string(info.param.Case); });

// ---- meshes ------------------------------------------------------------------------

TEST(ImportMeshes, MeshesOfOneNodeMergeWithMaterialIdsAndShareVertices)
{
	CTempDir dir;
	dir.write("two.mtl", "newmtl Red\nKd 1 0 0\nnewmtl Blue\nKd 0 0 1\nd 0.5\n");
	const std::string path = dir.write("plate.obj",
		"mtllib two.mtl\no Plate\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvn 0 0 1\n"
		"usemtl Red\nf 1//1 2//1 3//1\nusemtl Blue\nf 1//1 3//1 4//1\n");
	auto scene = load(path);
	ASSERT_TRUE(scene);
	ASSERT_EQ(scene->nodes().size(), 1u);
	maxsub::Node& plate = node(*scene, "Plate");
	maxsub::Mesh& mesh = plate.mesh();
	// Two Assimp meshes (one per material); the diagonal's ends are shared.
	ASSERT_EQ(mesh.GetNumberOfVerts(), 4);
	ASSERT_EQ(mesh.GetNumberOfFaces(), 2);
	const FaceEx& a = *mesh.GetFace(0);
	const FaceEx& b = *mesh.GetFace(1);
	EXPECT_EQ(std::vector<DWORD>({ a.vert[0], a.vert[1], a.vert[2] }), std::vector<DWORD>({ 0, 1, 2 }));
	EXPECT_EQ(std::vector<DWORD>({ b.vert[0], b.vert[1], b.vert[2] }), std::vector<DWORD>({ 0, 2, 3 }));

	// The reader's DefaultMaterial comes first; IDs are the file's indices.
	IGameMaterial* multi = scene->GetRootMaterial(0);
	ASSERT_EQ(multi->GetSubMaterialCount(), 3);
	EXPECT_EQ(wideToString(multi->GetSubMaterial(1)->GetMaterialName()), "Red");
	EXPECT_EQ(a.matID, 1);
	EXPECT_EQ(b.matID, 2);
	IGameMaterial* blue = mesh.GetMaterialFromFace(mesh.GetFace(1));
	EXPECT_EQ(wideToString(blue->GetMaterialName()), "Blue");
	Point3 d;
	float opacity = 0;
	blue->GetDiffuseData()->GetPropertyValue(d);
	blue->GetOpacityData()->GetPropertyValue(opacity);
	expectNear(d, Point3(0, 0, 1));
	EXPECT_FLOAT_EQ(opacity, 0.5f);
	EXPECT_EQ(blue->GetNumberOfTextureMaps(), 0);
}

TEST(ImportMeshes, GeometryOnTheRootBecomesOneTopLevelMeshNode)
{
	CTempDir dir;
	const std::string path = dir.write("tri.stl", "solid tri\nfacet normal 0 0 1\nouter loop\n"
		"vertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\nendsolid tri\n");
	auto scene = load(path);
	ASSERT_TRUE(scene);
	ASSERT_EQ(scene->nodes().size(), 1u);
	maxsub::Node& n = *scene->nodes()[0];
	EXPECT_EQ(n.kind(), maxsub::Kind::Mesh);
	EXPECT_EQ(n.id(), 1);
	EXPECT_EQ(n.mesh().GetNumberOfFaces(), 1);
	expectNear(vertexOf(n.mesh(), 2), Point3(0, 0, 1));
}

struct SChannelsCase
{
	const char* File;
	std::vector<int> Channels;
	bool Coloured;
};

class ImportChannels : public ::testing::TestWithParam<SChannelsCase> {};

TEST_P(ImportChannels, EveryUvChannelAndVertexColoursArrive)
{
	const SChannelsCase& c = GetParam();
	auto scene = load(ModelsDir + "/" + c.File);
	ASSERT_TRUE(scene);
	maxsub::Mesh* mesh = nullptr;
	for (const auto& n : scene->nodes())
		if (n->kind() == maxsub::Kind::Mesh)
			mesh = &n->mesh();
	ASSERT_TRUE(mesh);
	Tab<int> active = mesh->GetActiveMapChannelNum();
	std::vector<int> channels;
	for (int i = 0; i < active.Count(); ++i)
		channels.push_back(active[i]);
	EXPECT_EQ(channels, c.Channels);
	if (channels.size() == 2)
	{
		// The two channels are two different layouts.
		bool differ = false;
		for (int v = 0; v < mesh->GetNumberOfVerts(); ++v)
		{
			Point3 a, b;
			ASSERT_TRUE(mesh->GetMapVertex(1, v, a));
			ASSERT_TRUE(mesh->GetMapVertex(2, v, b));
			differ = differ || !(a == b);
		}
		EXPECT_TRUE(differ);
	}
	int coloured = 0;
	for (int v = 0; v < mesh->GetNumberOfVerts(); ++v)
	{
		Point3 col;
		mesh->GetColorVertex(v, col);
		coloured += !(col == Point3(1, 1, 1));
	}
	EXPECT_EQ(coloured > 0, c.Coloured);
}

INSTANTIATE_TEST_SUITE_P(Models, ImportChannels, ::testing::Values(
	SChannelsCase{ "Collada/cube_with_2UVs.DAE", { 1, 2 }, false },
	SChannelsCase{ "Collada/kwxport_test_vcolors.dae", { 1 }, true },
	SChannelsCase{ "X/kwxport_test_cubewithvcolors.x", { 1 }, true }));

// ---- real models ------------------------------------------------------------------

TEST(ImportRealModels, XAnimTestHasSkinnedCylinderJointsAndAnimation)
{
	auto scene = load(ModelsDir + "/X/anim_test.x");
	ASSERT_TRUE(scene);
	maxsub::Node& cylinder = node(*scene, "pCylinder1");
	EXPECT_EQ(cylinder.kind(), maxsub::Kind::Mesh);
	// The file's skin also names joint3 and joint4, which no node carries:
	// their influences cannot be bound.
	EXPECT_EQ(scene->findNode(L"joint3"), nullptr);
	std::set<int> joints;
	for (const char* name : { "joint1", "joint2" })
	{
		EXPECT_EQ(node(*scene, name).kind(), maxsub::Kind::Bone) << name;
		joints.insert(node(*scene, name).id());
	}
	EXPECT_EQ(node(*scene, "ikHandle1").kind(), maxsub::Kind::Helper);

	maxsub::Mesh& mesh = cylinder.mesh();
	EXPECT_EQ(mesh.GetNumberOfFaces(), 840);
	IGameSkin* skin = mesh.GetIGameSkin();
	ASSERT_TRUE(skin);
	std::set<int> bound;
	int blended = 0;
	for (int v = 0; v < mesh.GetNumberOfVerts(); ++v)
	{
		for (int j = 0; j < skin->GetNumberOfBones(v); ++j)
			bound.insert(skin->GetBoneID(v, j));
		blended += skin->GetVertexType(v) != IGameSkin::IGAME_RIGID;
	}
	EXPECT_EQ(bound, joints);
	EXPECT_GT(blended, 0);

	// 24 ticks at 24 per second: one second, 30 frames.
	EXPECT_EQ(scene->animRange().End(), 30 * 160);
	const GMatrix a = node(*scene, "joint2").GetLocalTM(0), b = node(*scene, "joint2").GetLocalTM(2400);
	EXPECT_FALSE(a == b);
	ASSERT_EQ(scene->GetRootMaterialCount(), 1);
	EXPECT_EQ(scene->GetRootMaterial(0)->GetSubMaterialCount(), 1);
}

TEST(ImportRealModels, ObjSpiderHasSeveralTexturedMaterials)
{
	auto scene = load(ModelsDir + "/OBJ/spider.obj");
	ASSERT_TRUE(scene);
	EXPECT_EQ(scene->nodes().size(), 19u);
	ASSERT_EQ(scene->GetRootMaterialCount(), 1);
	IGameMaterial* multi = scene->GetRootMaterial(0);
	ASSERT_EQ(multi->GetSubMaterialCount(), 6);
	std::map<std::string, std::string> textures;
	for (int i = 0; i < multi->GetSubMaterialCount(); ++i)
	{
		EXPECT_EQ(multi->GetMaterialID(i), i);
		IGameMaterial* m = multi->GetSubMaterial(i);
		textures[wideToString(m->GetMaterialName())] = m->GetNumberOfTextureMaps() > 0
			? wideToString(m->GetIGameTextureMap(0)->GetBitmapFileName()) : "";
	}
	EXPECT_EQ(textures["Skin"], ".\\wal67ar_small.jpg");
	EXPECT_EQ(textures["HLeibTex"], ".\\SpiderTex.jpg");
	EXPECT_EQ(textures["BeinTex"], ".\\drkwood2.jpg");

	for (const auto& n : scene->nodes())
	{
		EXPECT_EQ(n->kind(), maxsub::Kind::Mesh);
		EXPECT_EQ(n->GetMaterialIndex(), 0);
	}
	// Faces carry the index of their material.
	maxsub::Mesh& body = node(*scene, "HLeib01").mesh();
	IGameMaterial* expected = nullptr;
	for (int i = 0; i < multi->GetSubMaterialCount(); ++i)
		if (wideToString(multi->GetSubMaterial(i)->GetMaterialName()) == "HLeibTex")
			expected = multi->GetSubMaterial(i);
	ASSERT_GT(body.GetNumberOfFaces(), 0);
	EXPECT_EQ(body.GetMaterialFromFace(body.GetFace(0)), expected);
	Point3 d;
	static_cast<IGameMaterial*>(expected)->GetDiffuseData()->GetPropertyValue(d);
	expectNear(d, Point3(0.690196f, 0.639216f, 0.615686f));
}

TEST(ImportRealModels, ZUpColladaKeepsItsHeightAndLightsAreLights)
{
	auto scene = load(ModelsDir + "/Collada/lights.dae");
	ASSERT_TRUE(scene);
	maxsub::Node& sun = node(*scene, "Sun");
	EXPECT_EQ(sun.kind(), maxsub::Kind::Light);
	expectNear(sun.worldAt(0).Translation(), Point3(7.076701f, -5.572294f, 5.147222f));
	for (const auto& n : scene->nodes())
		EXPECT_NE(n->kind(), maxsub::Kind::Bone) << narrow(n->name());
}

} // namespace
