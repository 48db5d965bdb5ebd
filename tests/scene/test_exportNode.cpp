// The node walk: what each kind of node contributes, pre-order, targets,
// group heads, material-index log lines and object release.
#include "SceneFixture.h"

using namespace halvextest;

namespace
{

class ExportNode : public CSceneTest
{
protected:
	std::vector<std::string> boneNames() const
	{
		std::vector<std::string> names;
		for (irr::u32 i = 0; i < Obj.Bones.size(); ++i)
			names.push_back(Obj.Bones[i].Name.c_str());
		return names;
	}
	static void addTriangle(maxsub::Node& node)
	{
		maxsub::Mesh& mesh = node.mesh();
		mesh.addVertex(Point3(0, 0, 0));
		mesh.addVertex(Point3(1, 0, 0));
		mesh.addVertex(Point3(0, 1, 0));
		mesh.addFace(0, 1, 2);
	}
};

TEST_F(ExportNode, TopLevelTargetAndItsSubtreeAreNotVisited)
{
	maxsub::Node& target = S.addNode(L"Camera01.Target", maxsub::Kind::Helper);
	target.setTarget();
	S.addNode(L"under target", maxsub::Kind::Helper, &target);
	maxsub::Node& hidden = S.addNode(L"mesh under target", maxsub::Kind::Mesh, &target);
	addTriangle(hidden);
	S.addNode(L"d_wpnR", maxsub::Kind::Helper);

	runExport();

	EXPECT_EQ(boneNames(), std::vector<std::string>{ "d_wpnR" });
	EXPECT_EQ(Obj.Verts.size(), 0u);
	EXPECT_EQ(target.releaseCount(), 0);
	EXPECT_EQ(S.findNode(L"d_wpnR")->releaseCount(), 1);
}

TEST_F(ExportNode, ChildTargetIsSkippedWithItsSubtreeAndNotReleased)
{
	maxsub::Node& root = S.addNode(L"root", maxsub::Kind::Helper);
	maxsub::Node& target = S.addNode(L"target", maxsub::Kind::Helper, &root);
	target.setTarget();
	S.addNode(L"below target", maxsub::Kind::Helper, &target);
	maxsub::Node& after = S.addNode(L"after", maxsub::Kind::Helper, &root);
	begin();
	exportNodes();

	EXPECT_EQ(boneNames(), (std::vector<std::string>{ "root", "after" }));
	EXPECT_EQ(target.releaseCount(), 0);
	EXPECT_EQ(after.releaseCount(), 1);
}

TEST_F(ExportNode, GroupHeadAddsNothingButItsThreeMembersAreExported)
{
	maxsub::Material& material = S.addMaterial(L"m");
	maxsub::Node& head = S.addNode(L"Group01", maxsub::Kind::Helper);
	head.setGroupOwner().setMaterial(&material, 0);
	for (const wchar_t* name : { L"a", L"b", L"c" })
		addTriangle(S.addNode(name, maxsub::Kind::Mesh, &head));
	begin();
	exportNodes();

	EXPECT_EQ(Obj.Bones.size(), 0u);
	EXPECT_EQ(Obj.Verts.size(), 9u);
	EXPECT_EQ(Obj.Faces.size(), 3u);
	EXPECT_EQ(Obj.VertCount, 9u);
	EXPECT_EQ(Obj.FaceCount, 3u);
	// The head's own material index is not logged: its step is passed over.
	EXPECT_EQ(finishLog(), "");
}

TEST_F(ExportNode, HelperAlwaysBecomesOneBone)
{
	maxsub::Node& dummy = S.addNode(L"d_wpnR", maxsub::Kind::Helper);
	dummy.mesh().setInitializeFails(true); // a helper's display mesh is not consulted
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Bones.size(), 1u);
	EXPECT_EQ(std::string(Obj.Bones[0].Name.c_str()), "d_wpnR");
	EXPECT_EQ(Obj.Bones[0].Node, static_cast<IGameNode*>(&dummy));
}

TEST_F(ExportNode, BoneIsExportedOnlyWhenItsDisplayMeshInitialises)
{
	S.addNode(L"readable", maxsub::Kind::Bone);
	maxsub::Node& broken = S.addNode(L"broken", maxsub::Kind::Bone);
	broken.mesh().setInitializeFails(true);
	begin();
	exportNodes();

	EXPECT_EQ(boneNames(), std::vector<std::string>{ "readable" });
	EXPECT_TRUE(S.findNode(L"readable")->mesh().initialized());
	// The bone's display geometry never reaches the vertex list.
	EXPECT_EQ(Obj.Verts.size(), 0u);
}

TEST_F(ExportNode, MeshIsPreparedAndSkippedSilentlyWhenUnreadable)
{
	maxsub::Node& good = S.addNode(L"good", maxsub::Kind::Mesh);
	addTriangle(good);
	maxsub::Node& bad = S.addNode(L"bad", maxsub::Kind::Mesh);
	addTriangle(bad);
	bad.mesh().setInitializeFails(true);
	begin();
	exportNodes();

	EXPECT_TRUE(good.mesh().optimizedNormals());
	EXPECT_TRUE(good.mesh().initialized());
	EXPECT_TRUE(bad.mesh().optimizedNormals());
	EXPECT_EQ(Obj.Verts.size(), 3u);
	EXPECT_EQ(Obj.Faces.size(), 1u);
	EXPECT_EQ(finishLog(), "");
}

TEST_F(ExportNode, OtherObjectTypesAddNothingButTheirChildrenAreVisited)
{
	maxsub::Node& light = S.addNode(L"Omni01", maxsub::Kind::Light);
	S.addNode(L"under light", maxsub::Kind::Helper, &light);
	maxsub::Node& camera = S.addNode(L"Camera01", maxsub::Kind::Camera);
	addTriangle(S.addNode(L"under camera", maxsub::Kind::Mesh, &camera));
	S.addNode(L"Line01", maxsub::Kind::Spline);
	begin();
	exportNodes();

	EXPECT_EQ(boneNames(), std::vector<std::string>{ "under_light" });
	EXPECT_EQ(Obj.Verts.size(), 3u);
}

TEST_F(ExportNode, MaterialIndexIsLoggedUnlessMinusOne)
{
	maxsub::Material& first = S.addMaterial(L"first");
	maxsub::Material& second = S.addMaterial(L"second");
	addTriangle(S.addNode(L"none", maxsub::Kind::Mesh));
	addTriangle(S.addNode(L"with second", maxsub::Kind::Mesh).setMaterial(&second, 1));
	S.addNode(L"helper with first", maxsub::Kind::Helper).setMaterial(&first, 0);
	begin();
	exportNodes();

	const std::string log = finishLog();
	EXPECT_EQ(log,
		"Material Index: 1\r\n"
		"Material Index: 0\r\n"
		"Bone::Exporting:   maxID=3   name=helper_with_first   parent name=\r\n");
}

TEST_F(ExportNode, WalkIsDepthFirstPreOrderAndReleasesEveryVisitedChild)
{
	maxsub::Node& root = S.addNode(L"root", maxsub::Kind::Bone);
	maxsub::Node& a = S.addNode(L"a", maxsub::Kind::Bone, &root);
	maxsub::Node& a1 = S.addNode(L"a1", maxsub::Kind::Helper, &a);
	maxsub::Node& b = S.addNode(L"b", maxsub::Kind::Bone, &root);
	maxsub::Node& a2 = S.addNode(L"a2", maxsub::Kind::Helper, &a); // created late, still a's second child
	maxsub::Node& second = S.addNode(L"second root", maxsub::Kind::Helper);
	begin();
	exportNodes();

	EXPECT_EQ(boneNames(), (std::vector<std::string>{ "root", "a", "a1", "a2", "b", "second_root" }));
	// Children are released by the walk; top-level nodes by the caller.
	for (maxsub::Node* n : { &root, &a, &a1, &b, &a2, &second })
		EXPECT_EQ(n->releaseCount(), 1) << std::string(n->name().begin(), n->name().end());
}

TEST_F(ExportNode, SelectionOnlyExportsTheSelectedNodes)
{
	maxsub::Node& root = S.addNode(L"root", maxsub::Kind::Helper);
	maxsub::Node& mid = S.addNode(L"mid", maxsub::Kind::Helper, &root);
	S.addNode(L"leaf", maxsub::Kind::Helper, &mid).select();
	root.select();
	S.addNode(L"unselected", maxsub::Kind::Helper);
	Obj.Params.Options = SCENE_EXPORT_SELECTED;
	runExport();

	EXPECT_EQ(boneNames(), (std::vector<std::string>{ "root", "leaf" }));
	// IGame's view decides the parent: the nearest selected ancestor.
	EXPECT_EQ(std::string(Obj.Bones[1].ParentName.c_str()), "root");
}

} // namespace
