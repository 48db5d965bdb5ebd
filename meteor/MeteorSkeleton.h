// The 36-slot skeleton of a Meteor character and its look-ups.
//
// Slots 0 to 29 are bones (0, "b", is the root of the action, the only bone
// whose position the animation stores), slots 30 to 35 the six dummies that
// carry weapons and effects. mapMeteorBones gives every bone whose name is in
// MeteorBoneNames its slot in SBone::MeteorIndex.
#pragma once

#include "core/COstrel.h"

namespace irr
{

enum
{
	MeteorBoneCount = 30,
	MeteorDummyCount = 6,
	MeteorSkeletonSize = MeteorBoneCount + MeteorDummyCount
};

// Bone and dummy names by Meteor index.
extern const c8* const MeteorBoneNames[MeteorSkeletonSize];

// Fixed parents of the dummies by dummy number (Meteor index 30 + n), as the
// game names them: "bN" is the bone of Meteor index N, "dN" dummy number N.
extern const c8* const DummyParentNames[MeteorDummyCount];

// Position in bones of the bone whose MeteorIndex is index, searching from the
// last element to the first; -1 when there is none.
s32 findMeteorBone(const core::array<COstrel::SBone>& bones, s32 index);

} // namespace irr
