// Meteor character: animation (.amb, exportAMB), skin (.skc) and skeleton
// (.bnc). Skin and skeleton are 8-bit text with CR LF line ends; they are
// written only when the animation was, so a character is never left with a
// skin that has no matching animation.
#include "meteor/MeteorOutput.h"
#include "meteor/MeteorSkeleton.h"

#include "core/TextUtil.h"

namespace irr
{

const c8* const HalvexDownloadPage = "https://halvex.example.org/exporter/";

namespace
{

void writeSkin(io::IWriteFile* file, const COstrel& model)
{
	core::stringc url("# URL:   ");
	url += HalvexDownloadPage;
	COstrel::writeFormatted(file, "%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n", exportByLine().c_str(), url.c_str(),
		"Static Skins: 1 Dynamic Skins: 0", "Static Skin Skin01", "{");

	COstrel::writeFormatted(file, "Materials: %d\r\n", static_cast<s32>(model.Materials.size()));
	for (u32 i = 0; i < model.Materials.size(); ++i)
	{
		const COstrel::SMaterial& m = model.Materials[i];
		COstrel::writeFormatted(file, "Material\r\n");
		COstrel::writeFormatted(file, "    Texture %s\r\n", narrowLowByte(m.TextureName).c_str());
		COstrel::writeFormatted(file, "    ColorKey %.0f %.0f %.0f %.0f\r\n",
			m.ColorKey.a, m.ColorKey.r, m.ColorKey.g, m.ColorKey.b);
		COstrel::writeFormatted(file, "    Ambient %f %f %f\r\n",
			m.AmbientColor.r, m.AmbientColor.g, m.AmbientColor.b);
		COstrel::writeFormatted(file, "    Diffuse %f %f %f\r\n",
			m.DiffuseColor.r, m.DiffuseColor.g, m.DiffuseColor.b);
		COstrel::writeFormatted(file, "    Specular %f %f %f\r\n",
			m.SpecularColor.r, m.SpecularColor.g, m.SpecularColor.b);
		COstrel::writeFormatted(file, "    Emissive %f %f %f\r\n",
			m.EmissiveColor.r, m.EmissiveColor.g, m.EmissiveColor.b);
		COstrel::writeFormatted(file, "    Opacity %.1f\r\n", m.Opacity);
		COstrel::writeFormatted(file, "    Option NONE\r\n    TwoSide FALSE\r\n");
	}

	COstrel::writeFormatted(file, "Vertices: %d\r\n", static_cast<s32>(model.VertCount));
	for (u32 i = 0; i < model.Verts.size(); ++i)
	{
		const COstrel::SVert& v = model.Verts[i];
		COstrel::writeFormatted(file, "    v %f %f %f vt %f  %f ",
			v.Pos.X, v.Pos.Y, v.Pos.Z, v.TCoords.X, v.TCoords.Y);
		const u32 refs = v.BoneIDs.size();
		if (refs)
		{
			COstrel::writeFormatted(file, "Bones %d ", static_cast<s32>(refs));
			for (u32 j = 0; j < refs; ++j)
				COstrel::writeFormatted(file, "%d %f ", v.BoneIDs[j],
					j < v.Weights.size() ? v.Weights[j] : 0.f);
		}
		COstrel::writeFormatted(file, "\r\n");
	}

	COstrel::writeFormatted(file, "Triangles: %d\r\n", static_cast<s32>(model.FaceCount));
	for (u32 i = model.Faces.size(); i-- > 0;)
	{
		const COstrel::SFace& f = model.Faces[i];
		COstrel::writeFormatted(file, "    f 3 %d %d %d %d\r\n", f.MaterialID,
			static_cast<s32>(f.Indices[0]), static_cast<s32>(f.Indices[1]), static_cast<s32>(f.Indices[2]));
	}
	COstrel::writeFormatted(file, "}\r\n");
}

void writeSkeleton(io::IWriteFile* file, const COstrel& model)
{
	core::stringc header = exportByLine();
	header += "\r\n# URL:   ";
	header += HalvexDownloadPage;
	header += "\r\n";
	COstrel::writeFormatted(file, "%s", header.c_str());

	const bool meteor = model.CoordType == 4;
	if (meteor)
		COstrel::writeFormatted(file, "Bones: 30   Dummey: 6\r\n");
	else
		COstrel::writeFormatted(file, "Bones: %d   Dummey: 0\r\n", static_cast<s32>(model.Bones.size()));

	for (s32 k = 0; k < MeteorSkeletonSize; ++k)
	{
		const s32 found = findMeteorBone(model.Bones, k);
		if (found < 0)
			continue;
		const COstrel::SBone& b = model.Bones[found];
		const bool dummy = meteor && k >= MeteorBoneCount;
		COstrel::writeFormatted(file, dummy ? "Dummey %s\r\n{\r\n" : "bone %s\r\n{\r\n", b.Name.c_str());
		COstrel::writeFormatted(file, "    parent %s\r\n    pivot %f %f %f\r\n    quaternion %f %f %f %f\r\n",
			b.ParentName.c_str(), b.Pivot.X, b.Pivot.Y, b.Pivot.Z,
			b.Rotation.W, b.Rotation.X, b.Rotation.Y, b.Rotation.Z);
		if (!meteor || dummy)
			COstrel::writeFormatted(file, "}\r\n");
		else
			COstrel::writeFormatted(file, "    children %d\r\n}\r\n", b.ChildCount);
	}
}

} // namespace

bool COstrel::exportSKC()
{
	if (!exportAMB())
		return false;

	io::IFileSystem* fs = Device->getFileSystem();
	{
		CDropGuard<io::IWriteFile> skin(fs->createAndWriteFile(outputPath(".skc"), false));
		if (!skin)
			return false;
		writeSkin(skin.get(), *this);
	}
	{
		CDropGuard<io::IWriteFile> skeleton(fs->createAndWriteFile(outputPath(".bnc"), false));
		if (!skeleton)
			return false;
		writeSkeleton(skeleton.get(), *this);
	}
	return true;
}

} // namespace irr
