#include "host/ImportAnimation.h"

#include <cstdlib>

namespace halvex
{

SNodeKeys copyKeys(const aiNodeAnim& channel)
{
	SNodeKeys keys;
	if (channel.mPositionKeys)
		keys.Positions.assign(channel.mPositionKeys, channel.mPositionKeys + channel.mNumPositionKeys);
	if (channel.mRotationKeys)
		keys.Rotations.assign(channel.mRotationKeys, channel.mRotationKeys + channel.mNumRotationKeys);
	if (channel.mScalingKeys)
		keys.Scalings.assign(channel.mScalingKeys, channel.mScalingKeys + channel.mNumScalingKeys);
	return keys;
}

namespace
{

// Index i of the key pair (i, i + 1) around `tick` and the blend factor;
// the keys are sorted by time, as Assimp delivers them.
template <class TKey>
size_t bracket(const std::vector<TKey>& keys, double tick, float& factor)
{
	factor = 0.f;
	if (tick <= keys.front().mTime)
		return 0;
	if (tick >= keys.back().mTime)
		return keys.size() - 1;
	size_t lo = 0, hi = keys.size() - 1;
	while (hi - lo > 1)
	{
		const size_t mid = (lo + hi) / 2;
		if (keys[mid].mTime <= tick)
			lo = mid;
		else
			hi = mid;
	}
	const double span = keys[hi].mTime - keys[lo].mTime;
	factor = span > 0 ? (float)((tick - keys[lo].mTime) / span) : 0.f;
	return lo;
}

aiVector3D sampleVector(const std::vector<aiVectorKey>& keys, double tick, const aiVector3D& rest)
{
	if (keys.empty())
		return rest;
	float f;
	const size_t i = bracket(keys, tick, f);
	if (f == 0.f)
		return keys[i].mValue;
	return keys[i].mValue + (keys[i + 1].mValue - keys[i].mValue) * f;
}

aiQuaternion sampleRotation(const std::vector<aiQuatKey>& keys, double tick, const aiQuaternion& rest)
{
	if (keys.empty())
		return rest;
	float f;
	const size_t i = bracket(keys, tick, f);
	if (f == 0.f)
		return keys[i].mValue;
	aiQuaternion out;
	aiQuaternion::Interpolate(out, keys[i].mValue, keys[i + 1].mValue, f);
	return out.Normalize();
}

} // namespace

aiMatrix4x4 sampleLocal(const SNodeKeys* keys, const aiMatrix4x4& rest, double tick)
{
	if (!keys)
		return rest;
	aiVector3D restScale, restPos;
	aiQuaternion restRot;
	rest.Decompose(restScale, restRot, restPos);
	const aiVector3D s = sampleVector(keys->Scalings, tick, restScale);
	const aiQuaternion r = sampleRotation(keys->Rotations, tick, restRot);
	const aiVector3D t = sampleVector(keys->Positions, tick, restPos);
	// T * R * S: the scaling acts along the node's own axes (Assimp's
	// (scaling, rotation, position) constructor scales the rows instead).
	aiMatrix4x4 m(r.GetMatrix());
	for (int row = 0; row < 3; ++row)
	{
		m[row][0] *= s.x;
		m[row][1] *= s.y;
		m[row][2] *= s.z;
	}
	m.a4 = t.x;
	m.b4 = t.y;
	m.c4 = t.z;
	return m;
}

int findTake(const aiScene& scene, const std::string& take)
{
	const int count = (int)scene.mNumAnimations;
	if (take.empty())
		return count > 0 ? 0 : -1;
	for (int i = 0; i < count; ++i)
		if (take == scene.mAnimations[i]->mName.C_Str())
			return i;
	char* end = nullptr;
	const long index = std::strtol(take.c_str(), &end, 10);
	if (end && *end == 0 && take[0] >= '0' && take[0] <= '9' && index < count)
		return (int)index;
	return -1;
}

double ticksPerSecond(const aiAnimation& animation)
{
	return animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : 25.0;
}

} // namespace halvex
