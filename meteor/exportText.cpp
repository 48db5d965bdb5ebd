// Text geometry: Meteor .gmc (with its scene description .des) and Zenthra
// .ant, the same text under two extensions. All meshes of the export form
// the single object "mBody"; each material is one texture and one shader.
#include "meteor/MeteorOutput.h"

#include "core/TextUtil.h"

namespace irr
{

core::stringc exportByLine()
{
	core::stringc line("# Export by ");
	line += HalvexAuthor;
	return line;
}

void writeSceneDescription(io::IWriteFile* file, bool textForm)
{
	const core::stringc exportBy = exportByLine();
	if (textForm)
		COstrel::writeFormatted(file, "%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n",
			exportBy.c_str(), "# just make fun", "SceneObjects 1 DummeyObjects 0", "Object mBody", "{",
			"    Position:  0.000 -0.000  0.000", "    Quaternion: -1.000 0.000 0.000 0.000",
			"    TextureAnimation: 0 0.000 0.000", "    Custom:", "    {", "    }", "}");
	else
		COstrel::writeFormatted(file, "%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n",
			exportBy.c_str(), "SceneObjects 1 DummeyObjects 0", "Object mBody", "{",
			"    Position:  0.000 -0.000  0.000", "    Quaternion: -1.000 0.000 0.000 0.000",
			"    TextureAnimation: 0 0.000 0.000", "    Custom:", "    {", "    }", "}");
}

namespace
{

void writeGeometryText(io::IWriteFile* file, const COstrel& model)
{
	const s32 materialCount = static_cast<s32>(model.Materials.size());
	COstrel::writeFormatted(file, "%s\r\nTextures %d\r\n{\r\n", exportByLine().c_str(), materialCount);
	for (s32 i = 0; i < materialCount; ++i)
		COstrel::writeFormatted(file, "    %s\r\n", narrowLowByte(model.Materials[i].TextureName).c_str());

	COstrel::writeFormatted(file, "}\r\nShaders %d\r\n", materialCount);
	for (s32 i = 0; i < materialCount; ++i)
	{
		// Each shader uses its own texture: the binary form stores i there too.
		COstrel::writeFormatted(file, "shader %d\r\n{\r\n", i);
		COstrel::writeFormatted(file, "    Texture %d NORMAL\r\n", i);
		COstrel::writeFormatted(file, "    TwoSide 0\r\n");
		COstrel::writeFormatted(file, "    Blend   DISABLE 1 0\r\n");
		COstrel::writeFormatted(file, "    Opaque %f\r\n", model.Materials[i].Opacity);
		COstrel::writeFormatted(file, "}\r\n");
	}

	const s32 vertCount = static_cast<s32>(model.VertCount);
	const s32 faceCount = static_cast<s32>(model.FaceCount);
	COstrel::writeFormatted(file, "SceneObjects 1 DummeyObjects 0\r\nVertices %d  Faces: %d\r\n", vertCount, faceCount);
	COstrel::writeFormatted(file, "Object  mBody\r\n{\r\n    Vertices %d  Faces: %d\r\n", vertCount, faceCount);

	for (u32 i = 0; i < model.Verts.size(); ++i)
	{
		const COstrel::SVert& v = model.Verts[i];
		COstrel::writeFormatted(file, "    v %f %f %f n %f %f %f c %3.0f %3.0f %3.0f %3.0f t %f  %f\r\n",
			v.Pos.X, v.Pos.Y, v.Pos.Z, v.Normal.X, v.Normal.Y, v.Normal.Z,
			v.Color.a, v.Color.r, v.Color.g, v.Color.b, v.TCoords.X, v.TCoords.Y);
	}

	for (u32 i = model.Faces.size(); i-- > 0;)
	{
		const COstrel::SFace& f = model.Faces[i];
		COstrel::writeFormatted(file, "    f %d %d %d %d %f %f %f\r\n", f.MaterialID,
			static_cast<s32>(f.Indices[0]), static_cast<s32>(f.Indices[1]), static_cast<s32>(f.Indices[2]),
			0.0, 0.0, 0.0);
	}
	COstrel::writeFormatted(file, "}\r\n");
}

} // namespace

bool COstrel::exportANT()
{
	CDropGuard<io::IWriteFile> file(Device->getFileSystem()->createAndWriteFile(outputPath(".ant"), false));
	if (!file)
		return false;
	writeGeometryText(file.get(), *this);
	return true;
}

bool COstrel::exportGMC()
{
	io::IFileSystem* fs = Device->getFileSystem();
	{
		CDropGuard<io::IWriteFile> geometry(fs->createAndWriteFile(outputPath(".gmc"), false));
		if (!geometry)
			return false;
		writeGeometryText(geometry.get(), *this);
	}
	CDropGuard<io::IWriteFile> description(fs->createAndWriteFile(outputPath(".des"), false));
	if (!description)
		return false;
	writeSceneDescription(description.get(), true);
	return true;
}

} // namespace irr
