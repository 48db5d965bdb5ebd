// Key sampling of an Assimp take and the choice of the take.
#include "host/ImportAnimation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace halvex;

namespace
{

const double Pi = 3.14159265358979;

aiQuaternion aboutZ(double degrees)
{
	return aiQuaternion(aiVector3D(0, 0, 1), (float)(degrees * Pi / 180));
}

// Translation keys 0 -> 10 -> 10 at ticks 0, 10, 30; rotations 0 -> 90
// degrees about Z at ticks 0, 20; no scaling keys.
SNodeKeys walkKeys()
{
	SNodeKeys k;
	k.Positions = { aiVectorKey(0, aiVector3D(0, 0, 0)), aiVectorKey(10, aiVector3D(10, 0, 0)),
		aiVectorKey(30, aiVector3D(10, 20, 0)) };
	k.Rotations = { aiQuatKey(0, aboutZ(0)), aiQuatKey(20, aboutZ(90)) };
	return k;
}

struct SSample
{
	double Tick;
	aiVector3D Position;
	double Degrees; // rotation about Z
};

class SampleLocal : public ::testing::TestWithParam<SSample> {};

TEST_P(SampleLocal, InterpolatesHoldsEndsAndKeepsRestScaling)
{
	const SSample& c = GetParam();
	const SNodeKeys keys = walkKeys();
	aiMatrix4x4 rest;
	aiMatrix4x4::Scaling(aiVector3D(2, 2, 2), rest);
	aiVector3D s, t;
	aiQuaternion r;
	sampleLocal(&keys, rest, c.Tick).Decompose(s, r, t);
	EXPECT_NEAR(t.x, c.Position.x, 1e-5);
	EXPECT_NEAR(t.y, c.Position.y, 1e-5);
	EXPECT_NEAR(t.z, c.Position.z, 1e-5);
	EXPECT_NEAR(s.x, 2, 1e-5);
	EXPECT_NEAR(s.z, 2, 1e-5);
	const aiQuaternion expected = aboutZ(c.Degrees);
	EXPECT_NEAR(std::fabs(r.w * expected.w + r.z * expected.z), 1.0, 1e-5) << "at tick " << c.Tick;
}

INSTANTIATE_TEST_SUITE_P(Ticks, SampleLocal, ::testing::Values(
	SSample{ -5, aiVector3D(0, 0, 0), 0 },      // before the first key
	SSample{ 0, aiVector3D(0, 0, 0), 0 },
	SSample{ 5, aiVector3D(5, 0, 0), 22.5 },    // between keys
	SSample{ 10, aiVector3D(10, 0, 0), 45 },     // on a key
	SSample{ 20, aiVector3D(10, 10, 0), 90 },
	SSample{ 25, aiVector3D(10, 15, 0), 90 },    // rotation past its last key
	SSample{ 99, aiVector3D(10, 20, 0), 90 }));  // after every key

TEST(SampleLocalRotation, TakesTheShorterArc)
{
	// 350 degrees is -10 degrees: halfway from 0 is -5, not 175.
	SNodeKeys keys;
	keys.Rotations = { aiQuatKey(0, aboutZ(0)), aiQuatKey(10, aboutZ(350)) };
	aiVector3D s, t;
	aiQuaternion r;
	sampleLocal(&keys, aiMatrix4x4(), 5).Decompose(s, r, t);
	const aiQuaternion expected = aboutZ(-5);
	EXPECT_NEAR(std::fabs(r.w * expected.w + r.z * expected.z), 1.0, 1e-5);
}

TEST(SampleLocalRest, WithoutKeysTheRestTransformHolds)
{
	// T * R * S, scaling along the node's own axes.
	aiMatrix4x4 rest(aboutZ(30).GetMatrix());
	for (int r = 0; r < 3; ++r)
		for (int c = 0; c < 3; ++c)
			rest[r][c] *= (float)(c + 1);
	rest.a4 = 4;
	rest.b4 = 5;
	rest.c4 = 6;
	const aiMatrix4x4 out = sampleLocal(nullptr, rest, 12);
	EXPECT_TRUE(out == rest);
	SNodeKeys onlyRotation;
	onlyRotation.Rotations = { aiQuatKey(0, aboutZ(60)) };
	aiVector3D s, t;
	aiQuaternion r;
	sampleLocal(&onlyRotation, rest, 3).Decompose(s, r, t);
	EXPECT_NEAR(t.x, 4, 1e-5);
	EXPECT_NEAR(t.z, 6, 1e-5);
	EXPECT_NEAR(s.y, 2, 1e-5);
	EXPECT_NEAR(std::fabs(r.w * aboutZ(60).w + r.z * aboutZ(60).z), 1.0, 1e-5);
}

struct STakeCase
{
	const char* Take;
	int Expected;
};

class FindTake : public ::testing::TestWithParam<STakeCase> {};

TEST_P(FindTake, ByNameThenIndex)
{
	aiScene scene;
	aiAnimation* anims[3] = { new aiAnimation, new aiAnimation, new aiAnimation };
	anims[0]->mName = "Idle";
	anims[1]->mName = "Walk";
	anims[2]->mName = "0"; // a name that looks like an index wins as a name
	scene.mAnimations = new aiAnimation*[3];
	for (int i = 0; i < 3; ++i)
		scene.mAnimations[i] = anims[i];
	scene.mNumAnimations = 3;
	EXPECT_EQ(findTake(scene, GetParam().Take), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindTake, ::testing::Values(
	STakeCase{ "", 0 }, STakeCase{ "Walk", 1 }, STakeCase{ "0", 2 }, STakeCase{ "1", 1 },
	STakeCase{ "2", 2 }, STakeCase{ "3", -1 }, STakeCase{ "-1", -1 }, STakeCase{ "walk", -1 },
	STakeCase{ "1x", -1 }, STakeCase{ "Run", -1 }));

TEST(FindTakeEmpty, NoAnimationGivesMinusOne)
{
	aiScene scene;
	EXPECT_EQ(findTake(scene, ""), -1);
	EXPECT_EQ(findTake(scene, "0"), -1);
}

TEST(TicksPerSecond, ZeroMeansTwentyFive)
{
	aiAnimation a;
	EXPECT_EQ(ticksPerSecond(a), 25.0);
	a.mTicksPerSecond = 1000;
	EXPECT_EQ(ticksPerSecond(a), 1000.0);
}

} // namespace
