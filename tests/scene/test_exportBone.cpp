// Bones: names, parents, the log line, the bind pose, key sampling and the
// inverted rotation.
#include "SceneFixture.h"

#include <cmath>

using namespace halvextest;

namespace
{

class ExportBone : public CSceneTest {};

struct SNameCase
{
	const char* Label;
	const wchar_t* Name;
	const wchar_t* Parent; // null: top-level
	const char* ExpectedName;
	const char* ExpectedParent;
};

void PrintTo(const SNameCase& c, std::ostream* os) { *os << c.Label; }

class ExportBoneNames : public CSceneTest, public ::testing::WithParamInterface<SNameCase> {};

TEST_P(ExportBoneNames, NamesAreNarrowedWithBlanksMadeUnderscores)
{
	const SNameCase& c = GetParam();
	maxsub::Node* parent = c.Parent ? &S.addNode(c.Parent, maxsub::Kind::Other) : nullptr;
	maxsub::Node& node = S.addNode(c.Name, maxsub::Kind::Helper, parent);
	begin();
	Obj.exportBone(&node);

	ASSERT_EQ(Obj.Bones.size(), 1u);
	EXPECT_EQ(std::string(Obj.Bones[0].Name.c_str(), Obj.Bones[0].Name.size()), c.ExpectedName);
	EXPECT_EQ(std::string(Obj.Bones[0].ParentName.c_str(), Obj.Bones[0].ParentName.size()), c.ExpectedParent);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportBoneNames, ::testing::Values(
	SNameCase{ "BlankInNameAndParent", L"Left Hand", L"Left Forearm", "Left_Hand", "Left_Forearm" },
	SNameCase{ "EveryBlank", L" Bip01  L Foot ", L"Bip01", "_Bip01__L_Foot_", "Bip01" },
	SNameCase{ "TopLevelHasEmptyParent", L"d_wpnR", nullptr, "d_wpnR", "" },
	SNameCase{ "LowByteAboveLatin1", L"\u0141\u4E2Dx", L"p\u0120q", "A-x", "p_q" },
	SNameCase{ "Latin1Kept", L"b\u00E9", nullptr, "b\xE9", "" }),
	[](const ::testing::TestParamInfo<SNameCase>& info) { return std::string(info.param.Label); });

TEST_F(ExportBone, RecordAndLogLine)
{
	maxsub::Node& arm = S.addNode(L"Left Forearm", maxsub::Kind::Bone);
	maxsub::Node& hand = S.addNode(L"Left Hand", maxsub::Kind::Bone, &arm);
	maxsub::Node& top = S.addNode(L"d_wpnR", maxsub::Kind::Helper);
	begin();
	Obj.exportBone(&hand);
	Obj.exportBone(&top);

	ASSERT_EQ(Obj.Bones.size(), 2u);
	const irr::COstrel::SBone& bone = Obj.Bones[0];
	EXPECT_EQ(bone.NodeID, 2);
	EXPECT_EQ(bone.MeteorIndex, -1);
	EXPECT_EQ(bone.ChildCount, 0);
	EXPECT_EQ(bone.Node, static_cast<IGameNode*>(&hand));
	EXPECT_EQ(finishLog(),
		"Bone::Exporting:   maxID=2   name=Left_Hand   parent name=Left_Forearm\r\n"
		"Bone::Exporting:   maxID=3   name=d_wpnR   parent name=\r\n");
}

struct SRangeCase
{
	int Start, End;
	int Frames;
};

void PrintTo(const SRangeCase& c, std::ostream* os) { *os << "frames " << c.Start << " to " << c.End; }

class ExportBoneRange : public CSceneTest, public ::testing::WithParamInterface<SRangeCase> {};

TEST_P(ExportBoneRange, KeysAreSampledFromFrameZeroForTheRangeLength)
{
	const SRangeCase& c = GetParam();
	S.setAnimRange(c.Start, c.End);
	std::vector<TimeValue> asked;
	maxsub::Node& node = S.addNode(L"b", maxsub::Kind::Helper);
	// Position x carries the frame, so each key shows when it was sampled.
	node.setLocalTrack([&asked](TimeValue t) {
		asked.push_back(t);
		return GMatrix::FromTRS(Point3((float)t / 160.f, 1, 2), Quat(), Point3(2, 3, 4));
	});
	Obj.StartFrame = 3;
	runExport();

	EXPECT_EQ(Obj.FrameCount, c.Frames);
	ASSERT_EQ(Obj.Bones.size(), 1u);
	const irr::COstrel::SBone& bone = Obj.Bones[0];
	ASSERT_EQ(bone.Keys.size(), (irr::u32)c.Frames);
	for (int k = 0; k < c.Frames; ++k)
	{
		EXPECT_EQ(bone.Keys[k].Frame, (float)k);
		EXPECT_TRUE(near3(bone.Keys[k].Pos, (float)k, 1, 2)) << k;
		EXPECT_TRUE(near3(bone.Keys[k].Scale, 2, 3, 4)) << k;
	}
	// Bind pose at the static frame, then one transform per frame.
	EXPECT_TRUE(near3(bone.Pivot, 3, 1, 2));
	ASSERT_EQ(asked.size(), (size_t)c.Frames + 1);
	EXPECT_EQ(asked[0], 3 * 160);
	for (int k = 0; k < c.Frames; ++k)
		EXPECT_EQ(asked[(size_t)k + 1], k * 160);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ExportBoneRange, ::testing::Values(
	SRangeCase{ 0, 100, 100 },
	SRangeCase{ 10, 50, 40 },
	SRangeCase{ 5, 5, 0 }));

TEST_F(ExportBone, StartFrameZeroMakesTheBindPoseEqualToKeyZero)
{
	S.setAnimRange(0, 4);
	maxsub::Node& node = S.addNode(L"spin", maxsub::Kind::Helper);
	node.setLocalTrack([](TimeValue t) {
		const float half = 0.1f * (float)(t / 160 + 1);
		return GMatrix::FromTRS(Point3(1.f + (float)t, 2, 3), Quat(0, std::sin(half), 0, std::cos(half)));
	});
	Obj.StartFrame = 0;
	begin();
	Obj.exportBone(&node);

	const irr::COstrel::SBone& bone = Obj.Bones[0];
	ASSERT_EQ(bone.Keys.size(), 4u);
	EXPECT_EQ(bone.Pivot, bone.Keys[0].Pos);
	EXPECT_EQ(bone.Rotation, bone.Keys[0].Rotation);
	EXPECT_TRUE(nearQuat(bone.Keys[0].Rotation, 0, -std::sin(0.1f), 0, std::cos(0.1f)));
	EXPECT_TRUE(nearQuat(bone.Keys[3].Rotation, 0, -std::sin(0.4f), 0, std::cos(0.4f)));
	EXPECT_FALSE(bone.Keys[3].Pos == bone.Pivot);
}

struct SRotationCase
{
	const char* Label;
	float In[4];
	float Out[4];
};

void PrintTo(const SRotationCase& c, std::ostream* os) { *os << c.Label; }

class InvertedRotation : public CSceneTest, public ::testing::WithParamInterface<SRotationCase> {};

TEST_P(InvertedRotation, BindPoseAndKeysCarryTheInverseWithWPositive)
{
	const SRotationCase& c = GetParam();
	S.setAnimRange(0, 2);
	maxsub::Node& node = S.addNode(L"b", maxsub::Kind::Helper);
	node.setLocal(GMatrix::FromTRS(Point3(4, 5, 6), Quat(c.In[0], c.In[1], c.In[2], c.In[3])));
	begin();
	Obj.exportBone(&node);

	const irr::COstrel::SBone& bone = Obj.Bones[0];
	EXPECT_TRUE(nearQuat(bone.Rotation, c.Out[0], c.Out[1], c.Out[2], c.Out[3]));
	ASSERT_EQ(bone.Keys.size(), 2u);
	for (irr::u32 k = 0; k < 2; ++k)
		EXPECT_TRUE(nearQuat(bone.Keys[k].Rotation, c.Out[0], c.Out[1], c.Out[2], c.Out[3])) << k;
	EXPECT_TRUE(near3(bone.Pivot, 4, 5, 6));
}

INSTANTIATE_TEST_SUITE_P(Table, InvertedRotation, ::testing::Values(
	SRotationCase{ "Identity", { 0, 0, 0, 1 }, { 0, 0, 0, 1 } },
	SRotationCase{ "QuarterTurnZ", { 0, 0, 0.7071f, 0.7071f }, { 0, 0, -0.7071f, 0.7071f } },
	SRotationCase{ "QuarterTurnZNegated", { 0, 0, -0.7071f, -0.7071f }, { 0, 0, -0.7071f, 0.7071f } },
	SRotationCase{ "HalfTurnX", { 1, 0, 0, 0 }, { 1, 0, 0, 0 } },
	SRotationCase{ "ThirdTurnDiagonal", { 0.5f, 0.5f, 0.5f, 0.5f }, { -0.5f, -0.5f, -0.5f, 0.5f } }),
	[](const ::testing::TestParamInfo<SRotationCase>& info) { return std::string(info.param.Label); });

TEST_F(ExportBone, ZeroFrameCountGivesNoKeysButABindPose)
{
	S.setAnimRange(7, 7);
	maxsub::Node& node = S.addNode(L"still", maxsub::Kind::Helper);
	node.setLocal(GMatrix::FromTRS(Point3(1, 2, 3), Quat()));
	begin();
	ASSERT_EQ(Obj.FrameCount, 0);
	Obj.exportBone(&node);

	ASSERT_EQ(Obj.Bones.size(), 1u);
	EXPECT_EQ(Obj.Bones[0].Keys.size(), 0u);
	EXPECT_TRUE(near3(Obj.Bones[0].Pivot, 1, 2, 3));
}

} // namespace
