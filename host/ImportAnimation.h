// Key sampling of one Assimp animation take, used by the scene import to
// drive the substitute scene's node tracks.
#pragma once

#include <assimp/anim.h>
#include <assimp/matrix4x4.h>
#include <assimp/scene.h>

#include <string>
#include <vector>

namespace halvex
{

// The keys of one animated node, copied out of the Assimp scene so that
// sampling outlives the importer.
struct SNodeKeys
{
	std::vector<aiVectorKey> Positions;
	std::vector<aiQuatKey> Rotations;
	std::vector<aiVectorKey> Scalings;
};

SNodeKeys copyKeys(const aiNodeAnim& channel);

// The local transform at `tick` (the take's own time unit). Positions and
// scalings are interpolated linearly, rotations spherically along the
// shorter arc; before the first key and after the last the nearest key
// holds. A component without keys, or no keys at all (null), keeps the
// component of `rest`.
aiMatrix4x4 sampleLocal(const SNodeKeys* keys, const aiMatrix4x4& rest, double tick);

// Position of the take that `take` names: an exact animation name first,
// then a decimal index; the empty text means the first take. -1 when no
// take matches (or the scene has none and a take was asked for); -1 with
// an empty `take` when the scene has no animation at all.
int findTake(const aiScene& scene, const std::string& take);

// Ticks per second of a take; Assimp's 0 ("not given") counts as 25.
double ticksPerSecond(const aiAnimation& animation);

} // namespace halvex
