// Mapping of the scene's bones onto the 36-slot Meteor skeleton.
#include "MeteorTestSupport.h"

#include "meteor/MeteorSkeleton.h"

#include <vector>

using namespace irr;
using namespace halvex_test;

namespace
{

const char* const Summary = "Vertex: 5          Face: 3          Bone: 37\r\n";

class CMapMeteorBonesTest : public CMeteorTest
{
protected:
	const COstrel::SBone& bone(const char* name) const
	{
		for (s32 i = static_cast<s32>(Obj.Bones.size()) - 1; i >= 0; --i)
			if (Obj.Bones[i].Name == name)
				return Obj.Bones[i];
		ADD_FAILURE() << "no bone " << name;
		return Obj.Bones[0];
	}

	std::vector<s32> refs(u32 vertex) const
	{
		const core::array<s32>& ids = Obj.Verts[vertex].BoneIDs;
		return std::vector<s32>(ids.const_pointer(), ids.const_pointer() + ids.size());
	}

	std::vector<s32> faceMaterials() const
	{
		std::vector<s32> ids;
		for (u32 i = 0; i < Obj.Faces.size(); ++i)
			ids.push_back(Obj.Faces[i].MaterialID);
		return ids;
	}
};

TEST_F(CMapMeteorBonesTest, MeteorModeIndexesBonesAndHangsDummiesUnderFixedParents)
{
	buildCharacter(Obj, 1);
	Obj.CoordType = 4;
	Obj.mapMeteorBones();

	for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		EXPECT_EQ(Obj.Bones[k].MeteorIndex, k) << MeteorBoneNames[k];
	EXPECT_EQ(bone("Bip01_Footsteps").MeteorIndex, -1);

	const char* const dummies[] = { "d_base", "d_top", "d_wpnL", "d_wpnLP", "d_wpnR", "d_wpnRP" };
	const char* const parents[] = { "NULL", "b13", "d3", "b17", "d5", "b25" };
	for (int n = 0; n < 6; ++n)
		EXPECT_STREQ(bone(dummies[n]).ParentName.c_str(), parents[n]) << dummies[n];

	// Scene children less the dummies taken away: the left hand had two
	// fingers and "d_wpnL", "d_wpnLP".
	EXPECT_EQ(bone("bau_L_Hand").ChildCount, 2);
	EXPECT_EQ(bone("bau_R_Hand").ChildCount, 2);
	EXPECT_EQ(bone("bau_Head").ChildCount, 0);
	EXPECT_EQ(bone("b").ChildCount, 1);
	EXPECT_EQ(bone("bau_Spine1").ChildCount, 3);
	EXPECT_EQ(bone("bad_Pelvis").ChildCount, 3);
	EXPECT_EQ(bone("bbu_L_Finger11").ChildCount, 0);

	EXPECT_EQ(refs(0), std::vector<s32>({ 13 }));
	EXPECT_EQ(refs(1), std::vector<s32>({ 17, 25 }));
	// The extra bone has no Meteor slot; an unknown node id stays as it is.
	EXPECT_EQ(refs(2), std::vector<s32>({ -1, 0 }));
	EXPECT_EQ(refs(3), std::vector<s32>());
	EXPECT_EQ(refs(4), std::vector<s32>({ 999 }));
	EXPECT_EQ(faceMaterials(), std::vector<s32>({ 0, 1, 7 }));

	EXPECT_EQ(closeLog(), Summary);
}

TEST_F(CMapMeteorBonesTest, ZenthraModeIndexesBonesButKeepsSceneParents)
{
	buildCharacter(Obj, 1);
	Obj.CoordType = 3;
	Obj.mapMeteorBones();

	for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		EXPECT_EQ(Obj.Bones[k].MeteorIndex, k) << MeteorBoneNames[k];
	EXPECT_STREQ(bone("d_wpnL").ParentName.c_str(), "bau_L_Hand");
	EXPECT_STREQ(bone("d_base").ParentName.c_str(), "b");
	EXPECT_EQ(bone("bau_L_Hand").ChildCount, 4);
	EXPECT_EQ(bone("b").ChildCount, 2);
	EXPECT_EQ(refs(2), std::vector<s32>({ -1, 0 }));
	EXPECT_EQ(closeLog(), Summary);
}

class CMapOtherSystemsTest : public CMapMeteorBonesTest, public ::testing::WithParamInterface<s32> {};

TEST_P(CMapOtherSystemsTest, LeaveIndicesUnsetAndReferToPositionsInBones)
{
	buildCharacter(Obj, 1);
	Obj.CoordType = GetParam();
	Obj.mapMeteorBones();

	for (u32 i = 0; i < Obj.Bones.size(); ++i)
		EXPECT_EQ(Obj.Bones[i].MeteorIndex, -1) << Obj.Bones[i].Name.c_str();
	EXPECT_STREQ(bone("d_wpnL").ParentName.c_str(), "bau_L_Hand");
	EXPECT_EQ(bone("bau_L_Hand").ChildCount, 4);
	EXPECT_EQ(refs(0), std::vector<s32>({ 13 }));
	EXPECT_EQ(refs(1), std::vector<s32>({ 17, 25 }));
	EXPECT_EQ(refs(2), std::vector<s32>({ 36, 0 }));
	EXPECT_EQ(refs(4), std::vector<s32>({ 999 }));
	EXPECT_EQ(faceMaterials(), std::vector<s32>({ 0, 1, 7 }));
	// No "not found" lines, even with names missing.
	EXPECT_EQ(closeLog(), Summary);
}

INSTANTIATE_TEST_SUITE_P(CoordTypes, CMapOtherSystemsTest, ::testing::Values(0, 1, 2, 5, -1));

TEST_F(CMapMeteorBonesTest, MissingDummiesStillAdvanceTheDummyNumber)
{
	buildCharacter(Obj, 1);
	removeBone(Obj, "d_base");
	removeBone(Obj, "d_top");
	removeBone(Obj, "bau_Neck");
	Obj.CoordType = 4;
	Obj.mapMeteorBones();

	EXPECT_STREQ(bone("d_wpnL").ParentName.c_str(), "d3");
	EXPECT_STREQ(bone("d_wpnLP").ParentName.c_str(), "b17");
	EXPECT_STREQ(bone("d_wpnRP").ParentName.c_str(), "b25");
	EXPECT_EQ(bone("d_wpnL").MeteorIndex, 32);
	EXPECT_EQ(bone("bau_Head").MeteorIndex, 13);
	EXPECT_EQ(closeLog(),
		"Vertex: 5          Face: 3          Bone: 34\r\n"
		"Bone: bau_Neck ---> not found.\r\n"
		"Bone: d_base ---> not found.\r\n"
		"Bone: d_top ---> not found.\r\n");
}

TEST_F(CMapMeteorBonesTest, LaterBoneOfTheSameNameTakesTheSlot)
{
	buildCharacter(Obj, 1);
	addBone(Obj, "bau_Head", "bau_Neck", 300, 1, 50);
	Obj.Verts[3].BoneIDs.push_back(300);
	Obj.Verts[3].Weights.push_back(1.f);
	Obj.CoordType = 4;
	Obj.mapMeteorBones();

	EXPECT_EQ(Obj.Bones[13].MeteorIndex, -1);
	EXPECT_EQ(Obj.Bones[37].MeteorIndex, 13);
	// A vertex bound to the earlier one refers to no slot.
	EXPECT_EQ(refs(0), std::vector<s32>({ -1 }));
	EXPECT_EQ(refs(3), std::vector<s32>({ 13 }));
	// Both count "d_top" as a child; only the last one found gives it up.
	EXPECT_EQ(Obj.Bones[13].ChildCount, 1);
	EXPECT_EQ(Obj.Bones[37].ChildCount, 0);
	EXPECT_EQ(bone("bau_Neck").ChildCount, 2);
}

TEST_F(CMapMeteorBonesTest, LastRecordWinsForSharedNodeAndMaterialIds)
{
	buildCharacter(Obj, 1);
	addBone(Obj, "Extra", "", characterNodeId(13), 1, 51);
	COstrel::SMaterial again;
	again.ID = 5;
	Obj.Materials.push_back(again);
	Obj.CoordType = 0;
	Obj.mapMeteorBones();

	EXPECT_EQ(refs(0), std::vector<s32>({ 37 }));
	EXPECT_EQ(faceMaterials(), std::vector<s32>({ 0, 3, 7 }));
}

TEST_F(CMapMeteorBonesTest, SceneWithoutBonesWritesOnlyTheSummary)
{
	buildCharacter(Obj, 1);
	Obj.Bones.clear();
	Obj.CoordType = 4;
	Obj.mapMeteorBones();

	EXPECT_EQ(refs(0), std::vector<s32>({ characterNodeId(13) }));
	EXPECT_EQ(faceMaterials(), std::vector<s32>({ 0, 1, 7 }));
	EXPECT_EQ(closeLog(), "Vertex: 5          Face: 3          Bone: 0\r\n");
}

} // namespace
