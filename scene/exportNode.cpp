// Material collection and the node walk of an export.
#include "core/COstrel.h"

#include "scene/BitmapName.h"

namespace irr
{

namespace
{

// The colour of a material property with the alpha the Meteor files expect;
// an absent property leaves the colour as it is.
void readColour(IGameProperty* property, video::SColorf& colour)
{
	if (!property)
		return;
	Point3 value;
	property->GetPropertyValue(value, TIME_NegInfinity);
	colour.r = value.x;
	colour.g = value.y;
	colour.b = value.z;
	colour.a = 255.f;
}

} // namespace

void COstrel::exportMaterial(IGameMaterial* material, s32 id)
{
	// A slot the scene cannot fill (a sub-material it does not hold) adds no
	// record: there is nothing to describe, and the IDs are explicit.
	if (!material)
		return;

	SMaterial record;
	record.ID = id;
	record.ColorKey.set(0.f, 0.f, 0.f, 0.f);
	record.Opacity = 1.f;

	const s32 mapCount = material->GetNumberOfTextureMaps();
	if (mapCount <= 0)
		record.TextureName = L"null.jpg";
	else
	{
		for (s32 i = 0; i < mapCount; ++i)
		{
			IGameTextureMap* map = material->GetIGameTextureMap(i);
			if (map && map->IsEntitySupported())
			{
				record.TextureName = bitmapFileName(map->GetBitmapFileName());
				break;
			}
		}
	}

	const bool multi = material->IsMultiType();
	if (!multi)
	{
		readColour(material->GetAmbientData(), record.AmbientColor);
		readColour(material->GetDiffuseData(), record.DiffuseColor);
		readColour(material->GetSpecularData(), record.SpecularColor);
		readColour(material->GetEmissiveData(), record.EmissiveColor);
		if (IGameProperty* opacity = material->GetOpacityData())
			opacity->GetPropertyValue(record.Opacity, TIME_NegInfinity, false);
	}

	Materials.push_back(record);

	if (multi)
	{
		// Depth first: the parent is directly followed by its whole subtree.
		const s32 subCount = material->GetSubMaterialCount();
		for (s32 i = 0; i < subCount; ++i)
			exportMaterial(material->GetSubMaterial(i), material->GetMaterialID(i));
	}
}

void COstrel::exportNode(IGameNode* node)
{
	if (!node)
		return;

	// A group head carries no object of its own; its members are its children.
	if (!node->IsGroupOwner())
	{
		const s32 materialIndex = node->GetMaterialIndex();
		if (materialIndex != -1)
			writeFormatted(LogFile, "Material Index: %d\r\n", materialIndex);

		IGameObject* object = node->GetIGameObject();
		switch (object ? object->GetIGameType() : IGameObject::IGAME_UNKNOWN)
		{
		case IGameObject::IGAME_MESH:
			if (IGameMesh* mesh = dynamic_cast<IGameMesh*>(object))
			{
				mesh->SetCreateOptimizedNormalList();
				if (mesh->InitializeData())
				{
					MeshNode = node;
					exportMesh(mesh);
					MeshNode = 0;
				}
			}
			break;
		case IGameObject::IGAME_HELPER:
			exportBone(node);
			break;
		case IGameObject::IGAME_BONE:
			// A bone is exported only when IGame can read its display mesh.
			if (IGameSupportObject* support = dynamic_cast<IGameSupportObject*>(object))
			{
				IGameMesh* display = support->GetMeshObject();
				if (display && display->InitializeData())
					exportBone(node);
			}
			break;
		default:
			break;
		}
	}

	const s32 childCount = node->GetChildCount();
	for (s32 i = 0; i < childCount; ++i)
	{
		IGameNode* child = node->GetNodeChild(i);
		// A target (of a camera or light) is skipped with everything below it.
		if (!child || child->IsTarget())
			continue;
		exportNode(child);
		child->ReleaseIGameObject();
	}
}

} // namespace irr
