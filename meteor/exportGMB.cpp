// Meteor binary geometry (.gmb, magic "GMDL V1.00") and its scene description.
//
// Integers unsigned 32-bit unless marked, reals IEEE single, little-endian,
// no padding. A string is a 32-bit byte count and that many bytes.
//
//   10        "GMDL V1.00"
//   4         N, number of materials
//   N x str   texture file names, one byte per character
//   4         N
//   N x 34    shaders: i; "NORMAL"; byte 1; "DISABLE 1 0"; opacity (real)
//   4, 4      1 scene object, 0 dummy objects
//   4, 4      V vertices, F faces (sizes of Verts and Faces)
//   9         "mBody"
//   4, 4      V, F
//   V x 36    position x y z, normal x y z (reals); colour a r g b (bytes);
//             texture u v (reals)
//   F x 28    faces from the last to the first: material (signed), three
//             vertex indices, three zero words
//
// Total: 51 + 38 N + (sum of name lengths) + 36 V + 28 F bytes.
#include "meteor/CLittleEndianWriter.h"
#include "meteor/MeteorOutput.h"

#include "core/TextUtil.h"

#include <cmath>

namespace irr
{

namespace
{

// A colour component as a byte: truncated toward zero, low 8 bits kept.
// Converting a float outside the 32-bit range (or NaN) to an integer is
// undefined, so NaN gives 0 and other values saturate at the range first.
u8 colorByte(f32 value)
{
	if (std::isnan(value))
		return 0;
	s32 whole;
	if (value >= 2147483648.f)
		whole = 2147483647;
	else if (value < -2147483648.f)
		whole = -2147483647 - 1;
	else
		whole = static_cast<s32>(value);
	return static_cast<u8>(static_cast<u32>(whole) & 0xFF);
}

} // namespace

bool COstrel::exportGMB()
{
	io::IFileSystem* fs = Device->getFileSystem();
	{
		CDropGuard<io::IWriteFile> file(fs->createAndWriteFile(outputPath(".gmb"), false));
		if (!file)
			return false;

		writeFormatted(file.get(), "%s", "GMDL V1.00");
		io::CLittleEndianWriter out(file.get());

		const u32 materialCount = Materials.size();
		out.writeU32(materialCount);
		for (u32 i = 0; i < materialCount; ++i)
			out.writeString(narrowLowByte(Materials[i].TextureName));

		const core::stringc normal("NORMAL");
		const core::stringc blend("DISABLE 1 0");
		out.writeU32(materialCount);
		for (u32 i = 0; i < materialCount; ++i)
		{
			out.writeU32(i);
			out.writeString(normal);
			out.writeU8(1);
			out.writeString(blend);
			out.writeF32(Materials[i].Opacity);
		}

		const u32 vertCount = Verts.size();
		const u32 faceCount = Faces.size();
		out.writeU32(1);
		out.writeU32(0);
		out.writeU32(vertCount);
		out.writeU32(faceCount);
		out.writeString(core::stringc("mBody"));
		out.writeU32(vertCount);
		out.writeU32(faceCount);

		for (u32 i = 0; i < vertCount; ++i)
		{
			const SVert& v = Verts[i];
			out.writeF32(v.Pos.X);
			out.writeF32(v.Pos.Y);
			out.writeF32(v.Pos.Z);
			out.writeF32(v.Normal.X);
			out.writeF32(v.Normal.Y);
			out.writeF32(v.Normal.Z);
			out.writeU8(colorByte(v.Color.a));
			out.writeU8(colorByte(v.Color.r));
			out.writeU8(colorByte(v.Color.g));
			out.writeU8(colorByte(v.Color.b));
			out.writeF32(v.TCoords.X);
			out.writeF32(v.TCoords.Y);
		}

		for (u32 i = faceCount; i-- > 0;)
		{
			const SFace& f = Faces[i];
			out.writeS32(f.MaterialID);
			out.writeU32(f.Indices[0]);
			out.writeU32(f.Indices[1]);
			out.writeU32(f.Indices[2]);
			out.writeU32(0);
			out.writeU32(0);
			out.writeU32(0);
		}
	}

	CDropGuard<io::IWriteFile> description(fs->createAndWriteFile(outputPath(".des"), false));
	if (!description)
		return false;
	writeSceneDescription(description.get(), false);
	return true;
}

} // namespace irr
