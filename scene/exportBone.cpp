// Bone hierarchy and animation sampling.
#include "core/COstrel.h"

#include "core/TextUtil.h"

namespace irr
{

namespace
{

// Node names as the Meteor files carry them: one byte per UTF-16 unit,
// blanks made underscores.
core::stringc boneName(const MCHAR* name)
{
	core::stringc out = narrowLowByte(name);
	out.replace(' ', '_');
	return out;
}

// The inverse of a transform's rotation, taken through the engine's own
// matrix route so that its sign convention (W positive where possible) is
// the one the game expects.
core::quaternion invertedRotation(const GMatrix& transform, const core::vector3df& pivot)
{
	const Quat q = transform.Rotation();
	const core::quaternion rotation(q.x, q.y, q.z, q.w);
	core::matrix4 matrix;
	rotation.getMatrix(matrix, pivot);
	core::quaternion inverse;
	inverse = matrix.getTransposed();
	return inverse;
}

} // namespace

void COstrel::exportBone(IGameNode* node)
{
	if (!node)
		return;

	// Filled in place: the keys go straight into the record's own array.
	Bones.push_back(SBone());
	SBone& bone = Bones.getLast();
	bone.MeteorIndex = -1;
	bone.Node = node;
	bone.NodeID = node->GetNodeID();
	bone.ChildCount = 0;
	bone.Name = boneName(node->GetName());
	if (IGameNode* parent = node->GetNodeParent())
		bone.ParentName = boneName(parent->GetName());

	writeFormatted(LogFile, "Bone::Exporting:   maxID=%d   name=%s   parent name=%s\r\n",
		bone.NodeID, bone.Name.c_str(), bone.ParentName.c_str());

	const GMatrix bind = node->GetLocalTM(StartFrame * TicksPerFrame);
	const Point3 pivot = bind.Translation();
	bone.Pivot.set(pivot.x, pivot.y, pivot.z);
	bone.Rotation = invertedRotation(bind, bone.Pivot);

	if (FrameCount <= 0)
		return;
	bone.Keys.reallocate(static_cast<u32>(FrameCount), false);
	// Keys count from time 0, whatever the start of the animation range.
	for (s32 k = 0; k < FrameCount; ++k)
	{
		const GMatrix local = node->GetLocalTM(k * TicksPerFrame);
		const Point3 pos = local.Translation();
		const Point3 scale = local.Scaling();
		SFrameKey key;
		key.Frame = static_cast<f32>(k);
		key.Pos.set(pos.x, pos.y, pos.z);
		key.Scale.set(scale.x, scale.y, scale.z);
		key.Rotation = invertedRotation(local, bone.Pivot);
		bone.Keys.push_back(key);
	}
}

} // namespace irr
