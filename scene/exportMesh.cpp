// Mesh and skin extraction: geometry vertices with their skin bindings, and
// the triangles whose corners write normals, colours and texture
// coordinates into those shared vertices.
#include "core/COstrel.h"

#include "core/TextUtil.h"
#include "scene/BitmapName.h"

namespace irr
{

void COstrel::exportMesh(IGameMesh* mesh)
{
	if (!mesh)
		return;

	const s32 vertCount = core::max_(mesh->GetNumberOfVerts(), 0);
	const s32 faceCount = core::max_(mesh->GetNumberOfFaces(), 0);
	const Tab<int> channels = mesh->GetActiveMapChannelNum();
	IGameSkin* skin = mesh->GetIGameSkin();
	const u32 base = VertCount;

	// One scratch vertex for the whole mesh: its bone arrays keep their
	// storage from vertex to vertex.
	SVert vert;
	for (s32 i = 0; i < vertCount; ++i)
	{
		Point3 p;
		mesh->GetVertex(i, p, UseObjectSpace);
		vert.Pos.set(p.x, p.y, p.z);
		vert.Normal.set(0.f, 0.f, 0.f);
		vert.Color = video::SColorf(0.f, 0.f, 0.f, 255.f);
		vert.TCoords.set(0.f, 0.f);
		vert.BoneIDs.set_used(0);
		vert.Weights.set_used(0);

		if (skin)
		{
			if (skin->GetVertexType(i) == IGameSkin::IGAME_RIGID)
			{
				vert.BoneIDs.push_back(skin->GetBoneID(i, 0));
				vert.Weights.push_back(1.f);
			}
			else
			{
				const s32 boneCount = skin->GetNumberOfBones(i);
				for (s32 j = 0; j < boneCount; ++j)
				{
					vert.BoneIDs.push_back(skin->GetBoneID(i, j));
					vert.Weights.push_back(skin->GetWeight(i, j));
				}
			}
		}

		Verts.push_back(vert);
	}

	// The face record is carried from face to face: a face whose material
	// has no bitmap keeps the texture name of the one before.
	SFace face;
	u32 appended = 0;
	for (s32 f = 0; f < faceCount; ++f)
	{
		FaceEx* source = mesh->GetFace(f);
		bool valid = source != 0;
		for (s32 k = 0; valid && k < 3; ++k)
			valid = source->vert[k] < static_cast<u32>(vertCount)
				&& base + source->vert[k] < Verts.size();
		if (!valid)
		{
			// A corner outside the mesh would write into another mesh's
			// vertices or past the array: the face is left out.
			writeFormatted(LogFile, "Mesh %s: face %d skipped, vertex index out of range\r\n",
				MeshNode ? narrowLowByte(MeshNode->GetName()).c_str() : "", f);
			continue;
		}

		IGameMaterial* material = mesh->GetMaterialFromFace(source);
		if (material)
		{
			const s32 mapCount = material->GetNumberOfTextureMaps();
			for (s32 i = 0; i < mapCount; ++i)
			{
				IGameTextureMap* map = material->GetIGameTextureMap(i);
				if (!map || !map->IsEntitySupported())
					continue;
				face.TextureName = bitmapFileName(map->GetBitmapFileName());
				if (i >= 1)
					writeFormatted(LogFile, "%s >1\r\n", narrowLowByte(face.TextureName).c_str());
			}
		}
		face.Material = material;

		for (s32 k = 0; k < 3; ++k)
		{
			const u32 v = base + source->vert[k];
			face.Indices[k] = v;
			SVert& target = Verts[v];

			Point3 normal;
			mesh->GetNormal(static_cast<int>(source->norm[k]), normal, UseObjectSpace);
			target.Normal.set(normal.x, normal.y, normal.z);

			// IGame gives colours as 0 to 1; the files hold 0 to 255.
			f32 alpha = 1.f;
			mesh->GetAlphaVertex(static_cast<int>(source->alpha[k]), alpha);
			Point3 colour;
			mesh->GetColorVertex(static_cast<int>(source->color[k]), colour);
			target.Color = video::SColorf(colour.x * 255.f, colour.y * 255.f,
				colour.z * 255.f, alpha * 255.f);

			for (s32 c = 0; c < channels.Count(); ++c)
			{
				Point3 uv;
				if (mesh->GetMapVertex(channels[c], static_cast<int>(source->vert[k]), uv))
				{
					target.TCoords.set(uv.x, uv.y);
					break;
				}
			}
		}

		face.MaterialID = source->matID;
		Faces.push_back(face);
		++appended;
	}

	VertCount += static_cast<u32>(vertCount);
	FaceCount += appended;
}

} // namespace irr
