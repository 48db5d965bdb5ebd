// Meteor bone animation (.amb), optionally behind the frames of action.amb.
//
// All integers signed 32-bit, all reals IEEE single, little-endian, no padding.
//
//   header, 21 bytes
//     0   5   "BANIM"
//     5   4   30, bones per record
//     9   4   6, dummies per record
//     13  4   frame total: merged frames + FrameCount
//     17  4   30
//   merged records: the merge file's bytes from offset 21 on, unchanged
//   one record per frame f, 698 bytes
//     4        -1, record marker
//     4        frame number: merged frames + f
//     12       root position x, y, z (bone 0, "b"; 0, 0, 0 without it)
//     30 x 16  rotation w, x, y, z of bones 0 to 29 (identity for a missing bone)
//     6 x 33   per dummy n: 5 bytes parent name (DummyParentNames[n], zero
//              padded), position x, y, z, rotation w, x, y, z; a missing
//              dummy takes the keys of the first bone
#include "meteor/CLittleEndianWriter.h"
#include "meteor/MeteorOutput.h"
#include "meteor/MeteorSkeleton.h"

#include "core/TextUtil.h"

#include <vector>

namespace irr
{

namespace
{

// Reads a whole file; empty when it cannot be opened or nothing can be read
// from it.
std::vector<u8> readWholeFile(io::IFileSystem* fs, const io::path& path)
{
	std::vector<u8> bytes;
	CDropGuard<io::IReadFile> in(fs->createAndOpenFile(path));
	if (!in)
		return bytes;
	const long size = in->getSize();
	if (size <= 0)
		return bytes;
	// The reported size is not trusted for the allocation: a folder or a
	// device opens too and reports an enormous size while yielding nothing.
	// The buffer grows block by block with what is really read.
	enum { BlockSize = 1 << 20 };
	size_t done = 0;
	while (done < static_cast<unsigned long>(size))
	{
		const size_t want = core::min_<size_t>(static_cast<unsigned long>(size) - done, BlockSize);
		bytes.resize(done + want);
		const s32 got = in->read(bytes.data() + done, static_cast<u32>(want));
		if (got <= 0)
			break;
		done += static_cast<size_t>(got);
	}
	if (done == 0)
	{
		std::vector<u8>().swap(bytes);
		return bytes;
	}
	// A file cut short while it was read keeps zeros for its missing tail.
	bytes.resize(static_cast<unsigned long>(size), 0);
	return bytes;
}

s32 readS32(const u8* p)
{
	const u32 v = static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8)
		| (static_cast<u32>(p[2]) << 16) | (static_cast<u32>(p[3]) << 24);
	return static_cast<s32>(v);
}

// Frame numbers and totals come partly from a foreign file; add them without
// signed overflow.
s32 wrappingAdd(s32 a, s32 b)
{
	return static_cast<s32>(static_cast<u32>(a) + static_cast<u32>(b));
}

void writeRotation(io::CLittleEndianWriter& out, const core::quaternion& q)
{
	out.writeF32(q.W);
	out.writeF32(q.X);
	out.writeF32(q.Y);
	out.writeF32(q.Z);
}

void writePosition(io::CLittleEndianWriter& out, const core::vector3df& p)
{
	out.writeF32(p.X);
	out.writeF32(p.Y);
	out.writeF32(p.Z);
}

} // namespace

bool COstrel::exportAMB()
{
	enum { MergeMinimumSize = 50, MergeHeaderSize = 21 };

	const core::stringw animationPath = Params.OutputDir + Params.BaseName + L".amb";
	io::IFileSystem* fs = Device->getFileSystem();

	// The merge file is read whole before the animation file is created: the
	// two may be the same file (base name "action"), and creating the output
	// first would empty it.
	core::stringw mergePath;
	std::vector<u8> merge;
	if (MergeAction)
	{
		core::stringw dir, ext;
		splitFileName(animationPath, &dir, 0, &ext);
		mergePath = dir + L"action." + ext;
		merge = readWholeFile(fs, toFilePath(mergePath));
	}
	const bool mergeUsable = MergeAction && merge.size() >= MergeMinimumSize;

	// Check before creating, so that a failed export leaves an earlier file
	// of this name as it was.
	const bool systemUsable = CoordType == 3 || CoordType == 4;
	const u32 boneCount = Bones.size();
	io::IWriteFile* file = 0;
	if (systemUsable && boneCount > 0)
	{
		file = fs->createAndWriteFile(toFilePath(animationPath), false);
		if (!file)
			return false;
	}
	CDropGuard<io::IWriteFile> fileGuard(file);

	if (MergeAction)
	{
		if (mergeUsable)
			writeFormatted(LogFile, "Merge file: %s\r\n", narrowLowByte(mergePath).c_str());
		else
		{
			writeFormatted(LogFile, "No merge file: ---> %s\r\n", narrowLowByte(mergePath).c_str());
			MergeAction = false;
		}
	}

	if (!systemUsable)
	{
		writeFormatted(LogFile, "Not choose the Meteor or Irrlicht system, stop exporting .amb .\r\n");
		return false;
	}
	if (boneCount < MeteorSkeletonSize)
	{
		writeFormatted(LogFile, "Bones sum=%d,  This mesh can't be used for Meteor which needs 36 bones.\r\n",
			static_cast<s32>(boneCount));
		if (boneCount == 0)
		{
			writeFormatted(LogFile, "Bones sum=%d,  Has no bones,  stop exporting .amb .\r\n",
				static_cast<s32>(boneCount));
			return false;
		}
	}

	// Header.
	writeFormatted(file, "%s", "BANIM");
	io::CLittleEndianWriter out(file);
	out.writeS32(MeteorBoneCount);
	out.writeS32(MeteorDummyCount);
	s32 merged = 0;
	s32 total = FrameCount;
	if (MergeAction)
	{
		merged = readS32(&merge[13]);
		total = wrappingAdd(merged, FrameCount);
		writeFormatted(LogFile, "Merge file's frame sum: %d\r\n", merged);
		writeFormatted(LogFile, "Mesh file's frame sum: %d\r\n", FrameCount);
		writeFormatted(LogFile, "All file's frame sum: %d = %d + %d\r\n", total, merged, FrameCount);
	}
	out.writeS32(total);
	out.writeS32(MeteorBoneCount);
	if (MergeAction)
		out.writeBytes(&merge[MergeHeaderSize], static_cast<u32>(merge.size() - MergeHeaderSize));
	std::vector<u8>().swap(merge);

	if (FrameCount < 1)
		return true;

	s32 slot[MeteorSkeletonSize];
	for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		slot[k] = findMeteorBone(Bones, k);

	// Every record has its full size whatever bones are missing: readers
	// step through the file by the counts of the header.
	const core::vector3df origin(0.f, 0.f, 0.f);
	const core::quaternion identity(0.f, 0.f, 0.f, 1.f);
	for (s32 f = 0; f < FrameCount; ++f)
	{
		const bool logFrame = f == 0;
		out.writeS32(-1);
		out.writeS32(wrappingAdd(merged, f));

		for (s32 k = 0; k < MeteorBoneCount; ++k)
		{
			const SBone* bone = slot[k] >= 0 ? &Bones[slot[k]] : 0;
			// A bone with fewer keys than frames (never after a full scene
			// walk) gets the rest pose placeholder rather than a stray read.
			const SFrameKey* key = bone && static_cast<u32>(f) < bone->Keys.size() ? &bone->Keys[f] : 0;
			if (k == 0)
			{
				writePosition(out, key ? key->Pos : origin);
				if (logFrame && bone)
					writeFormatted(LogFile, "Amb::Bone::Position:   action root id = %d  name=%s   parent name=%s\r\n",
						bone->MeteorIndex, bone->Name.c_str(), bone->ParentName.c_str());
			}
			writeRotation(out, key ? key->Rotation : identity);
			if (logFrame && bone)
				writeFormatted(LogFile, "Amb::Bone::Rotation:   normal id = %d  name=%s   parent name=%s\r\n",
					bone->MeteorIndex, bone->Name.c_str(), bone->ParentName.c_str());
		}

		for (s32 n = 0; n < MeteorDummyCount; ++n)
		{
			const s32 k = MeteorBoneCount + n;
			if (logFrame && slot[k] < 0)
				writeFormatted(LogFile, "Bones id=%d, parent is: %s --------> not found.\r\n",
					k, DummyParentNames[n]);
			const SBone& bone = Bones[slot[k] >= 0 ? slot[k] : 0];
			const SFrameKey* key = static_cast<u32>(f) < bone.Keys.size() ? &bone.Keys[f] : 0;

			c8 parent[5] = { 0, 0, 0, 0, 0 };
			for (u32 i = 0; i < sizeof(parent) && DummyParentNames[n][i]; ++i)
				parent[i] = DummyParentNames[n][i];
			out.writeBytes(parent, sizeof(parent));
			writePosition(out, key ? key->Pos : origin);
			writeRotation(out, key ? key->Rotation : identity);
			if (logFrame)
				writeFormatted(LogFile, "Amb::Bone::Position+Rotation:  dummey id = %d  name=%s   parent name=%s\r\n",
					bone.MeteorIndex, bone.Name.c_str(), bone.ParentName.c_str());
		}
	}
	return true;
}

} // namespace irr
