#include "meteor/MeteorSkeleton.h"

#include <unordered_map>

namespace irr
{

const c8* const MeteorBoneNames[MeteorSkeletonSize] =
{
	"b", "bad_Pelvis", "bau_Spine", "bad_L_Thigh", "bad_L_Calf", "bad_L_Foot",
	"bbd_L_Toe0", "bad_R_Thigh", "bad_R_Calf", "bad_R_Foot", "bbd_R_Toe0",
	"bau_Spine1", "bau_Neck", "bau_Head", "bau_L_Clavicle", "bau_L_UpperArm",
	"bau_L_Forearm", "bau_L_Hand", "bbu_L_Finger0", "bbu_L_Finger01",
	"bbu_L_Finger1", "bbu_L_Finger11", "bau_R_Clavicle", "bau_R_UpperArm",
	"bau_R_Forearm", "bau_R_Hand", "bbu_R_Finger0", "bbu_R_Finger01",
	"bbu_R_Finger1", "bbu_R_Finger11",
	"d_base", "d_top", "d_wpnL", "d_wpnLP", "d_wpnR", "d_wpnRP"
};

const c8* const DummyParentNames[MeteorDummyCount] =
{
	"NULL", "b13", "d3", "b17", "d5", "b25"
};

s32 findMeteorBone(const core::array<COstrel::SBone>& bones, s32 index)
{
	for (s32 i = static_cast<s32>(bones.size()) - 1; i >= 0; --i)
		if (bones[i].MeteorIndex == index)
			return i;
	return -1;
}

namespace
{

s32 findBoneByName(const core::array<COstrel::SBone>& bones, const core::stringc& name)
{
	for (s32 i = static_cast<s32>(bones.size()) - 1; i >= 0; --i)
		if (bones[i].Name == name)
			return i;
	return -1;
}

} // namespace

void COstrel::mapMeteorBones()
{
	const u32 boneCount = Bones.size();

	// Children: a bone may name itself as its parent and then counts itself.
	for (u32 a = 0; a < boneCount; ++a)
		for (u32 b = 0; b < boneCount; ++b)
			if (Bones[b].ParentName == Bones[a].Name)
				++Bones[a].ChildCount;

	if (LogFile)
		writeFormatted(LogFile, "Vertex: %d          Face: %d          Bone: %d\r\n",
			static_cast<s32>(Verts.size()), static_cast<s32>(Faces.size()),
			static_cast<s32>(boneCount));

	const bool meteorSystem = CoordType == 3 || CoordType == 4;
	if (meteorSystem)
	{
		for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		{
			const core::stringc tableName(MeteorBoneNames[k]);
			const s32 hit = findBoneByName(Bones, tableName);
			if (hit < 0)
			{
				if (boneCount && LogFile)
					writeFormatted(LogFile, "Bone: %s ---> not found.\r\n", tableName.c_str());
				continue;
			}

			SBone& bone = Bones[hit];
			if (k >= MeteorBoneCount && CoordType == 4)
			{
				// The game hangs each dummy under a fixed parent whatever the
				// scene says; the scene parent loses that child. The dummy
				// number counts missing dummies too, so it is always k - 30.
				const s32 parent = findBoneByName(Bones, bone.ParentName);
				if (parent >= 0)
					--Bones[parent].ChildCount;
				bone.ParentName = DummyParentNames[k - MeteorBoneCount];
			}
			bone.MeteorIndex = k;
		}
	}

	// Vertex bone references: node id -> Meteor index or position in Bones.
	// Filling the map front to back lets the last bone of an id win, as a
	// search from the last element would.
	std::unordered_map<s32, s32> boneOfNode;
	for (u32 i = 0; i < boneCount; ++i)
		boneOfNode[Bones[i].NodeID] = meteorSystem ? Bones[i].MeteorIndex : static_cast<s32>(i);
	if (!boneOfNode.empty())
	{
		for (u32 v = Verts.size(); v-- > 0;)
		{
			core::array<s32>& ids = Verts[v].BoneIDs;
			for (u32 j = ids.size(); j-- > 0;)
			{
				const std::unordered_map<s32, s32>::const_iterator it = boneOfNode.find(ids[j]);
				if (it != boneOfNode.end())
					ids[j] = it->second;
			}
		}
	}

	// Face materials: material id -> position in Materials, last match wins.
	std::unordered_map<s32, s32> materialOfId;
	for (u32 i = 0; i < Materials.size(); ++i)
		materialOfId[Materials[i].ID] = static_cast<s32>(i);
	if (!materialOfId.empty())
	{
		for (u32 f = Faces.size(); f-- > 0;)
		{
			const std::unordered_map<s32, s32>::const_iterator it = materialOfId.find(Faces[f].MaterialID);
			if (it != materialOfId.end())
				Faces[f].MaterialID = it->second;
		}
	}
}

} // namespace irr
