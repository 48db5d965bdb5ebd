// Mesh and skin extraction: vertex records, per-corner values written into
// shared vertices, skins, texture names, spaces and malformed faces.
#include "SceneFixture.h"

using namespace halvextest;
using irr::core::stringw;

namespace
{

class ExportMesh : public CSceneTest
{
protected:
	// A unit cube: vertex v sits at (v & 1, v >> 1 & 1, v >> 2 & 1). Two
	// triangles per side, sides in the order -Z, +Z, -Y, +Y, -X, +X; every
	// corner of a side uses the side's normal, colour and alpha (index =
	// side), so a vertex ends with the values of the last side touching it:
	// -X for even vertices, +X for odd ones.
	maxsub::Node& addCube(const wchar_t* name)
	{
		maxsub::Node& node = S.addNode(name, maxsub::Kind::Mesh);
		maxsub::Mesh& mesh = node.mesh();
		for (int v = 0; v < 8; ++v)
			mesh.addVertex(Point3((float)(v & 1), (float)(v >> 1 & 1), (float)(v >> 2 & 1)));
		const int sides[6][6] = {
			{ 0, 2, 3, 0, 3, 1 }, { 4, 5, 7, 4, 7, 6 }, { 0, 1, 5, 0, 5, 4 },
			{ 2, 6, 7, 2, 7, 3 }, { 0, 4, 6, 0, 6, 2 }, { 1, 3, 7, 1, 7, 5 } };
		const Point3 normals[6] = { Point3(0, 0, -1), Point3(0, 0, 1), Point3(0, -1, 0),
			Point3(0, 1, 0), Point3(-1, 0, 0), Point3(1, 0, 0) };
		const Point3 colours[6] = { Point3(1, 1, 1), Point3(1, 1, 1), Point3(1, 1, 1),
			Point3(1, 1, 1), Point3(0, 0, 1), Point3(1, 0.5f, 0) };
		const float alphas[6] = { 1, 1, 1, 1, 0.2f, 0.5f };
		for (int s = 0; s < 6; ++s)
		{
			mesh.addNormal(normals[s]);
			mesh.addColor(colours[s]);
			mesh.addAlpha(alphas[s]);
			for (int t = 0; t < 2; ++t)
			{
				FaceEx& f = mesh.face(mesh.addFace(sides[s][3 * t], sides[s][3 * t + 1], sides[s][3 * t + 2], s));
				for (int k = 0; k < 3; ++k)
					f.norm[k] = f.color[k] = f.alpha[k] = (DWORD)s;
			}
		}
		return node;
	}
};

TEST_F(ExportMesh, CubeGivesEightVerticesWithLastCornerValuesAndTwelveFaces)
{
	maxsub::Node& cube = addCube(L"cube");
	for (int v = 0; v < 8; ++v)
		cube.mesh().setMapVertex(1, v, 0.1f * (float)v, 1.f - 0.1f * (float)v);
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Verts.size(), 8u);
	ASSERT_EQ(Obj.Faces.size(), 12u);
	EXPECT_EQ(Obj.VertCount, 8u);
	EXPECT_EQ(Obj.FaceCount, 12u);
	for (irr::u32 v = 0; v < 8; ++v)
	{
		SCOPED_TRACE(v);
		const irr::COstrel::SVert& vert = Obj.Verts[v];
		EXPECT_TRUE(near3(vert.Pos, (float)(v & 1), (float)(v >> 1 & 1), (float)(v >> 2 & 1)));
		if (v & 1)
		{
			EXPECT_TRUE(near3(vert.Normal, 1, 0, 0));
			// Scene colours and alpha 0..1 arrive as 0..255.
			EXPECT_TRUE(nearColour(vert.Color, 255.f, 127.5f, 0.f, 127.5f));
		}
		else
		{
			EXPECT_TRUE(near3(vert.Normal, -1, 0, 0));
			EXPECT_TRUE(nearColour(vert.Color, 0.f, 0.f, 255.f, 51.f));
		}
		EXPECT_NEAR(vert.TCoords.X, 0.1f * (float)v, 1e-5f);
		EXPECT_NEAR(vert.TCoords.Y, 1.f - 0.1f * (float)v, 1e-5f);
		EXPECT_EQ(vert.BoneIDs.size(), 0u);
		EXPECT_EQ(vert.Weights.size(), 0u);
	}
	const irr::u32 first[3] = { 0, 2, 3 }, last[3] = { 1, 7, 5 };
	for (int k = 0; k < 3; ++k)
	{
		EXPECT_EQ(Obj.Faces[0].Indices[k], first[k]);
		EXPECT_EQ(Obj.Faces[11].Indices[k], last[k]);
	}
	EXPECT_EQ(Obj.Faces[0].MaterialID, 0);
	EXPECT_EQ(Obj.Faces[11].MaterialID, 5);
}

TEST_F(ExportMesh, SecondMeshIsOffsetByTheVerticesBeforeIt)
{
	addCube(L"cube");
	maxsub::Node& quad = S.addNode(L"quad", maxsub::Kind::Mesh);
	quad.mesh().addQuad(Point3(0, 0, 5), Point3(1, 0, 5), Point3(1, 1, 5), Point3(0, 1, 5));
	begin();
	exportNodes();

	EXPECT_EQ(Obj.VertCount, 12u);
	EXPECT_EQ(Obj.FaceCount, 14u);
	ASSERT_EQ(Obj.Verts.size(), 12u);
	ASSERT_EQ(Obj.Faces.size(), 14u);
	const irr::u32 expected[2][3] = { { 8, 9, 10 }, { 8, 10, 11 } };
	for (int f = 0; f < 2; ++f)
		for (int k = 0; k < 3; ++k)
			EXPECT_EQ(Obj.Faces[12 + f].Indices[k], expected[f][k]);
	EXPECT_TRUE(near3(Obj.Verts[10].Pos, 1, 1, 5));
	// A mesh without colour lists gives white, alpha 1: 255 throughout.
	EXPECT_TRUE(nearColour(Obj.Verts[11].Color, 255.f, 255.f, 255.f, 255.f));
}

TEST_F(ExportMesh, SkinBindingsRigidBlendedAndUnbound)
{
	maxsub::Node& quad = S.addNode(L"quad", maxsub::Kind::Mesh);
	quad.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	maxsub::Skin& skin = quad.mesh().skin();
	skin.bind(0, { { 4, 0.7f } });                              // rigid: weight becomes 1.0
	skin.bind(1, { { 3, 0.25f }, { 5, 0.f }, { 3, 0.5f } });   // kept as the skin lists it
	skin.bind(2, { { 6, 0.6f }, { 7, 0.6f } });                // not normalised
	// vertex 3 is not bound
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Verts.size(), 4u);
	const struct { std::vector<int> Ids; std::vector<float> Weights; } expected[4] = {
		{ { 4 }, { 1.f } },
		{ { 3, 5, 3 }, { 0.25f, 0.f, 0.5f } },
		{ { 6, 7 }, { 0.6f, 0.6f } },
		{ {}, {} } };
	for (irr::u32 v = 0; v < 4; ++v)
	{
		SCOPED_TRACE(v);
		const irr::COstrel::SVert& vert = Obj.Verts[v];
		ASSERT_EQ(vert.BoneIDs.size(), expected[v].Ids.size());
		ASSERT_EQ(vert.Weights.size(), expected[v].Weights.size());
		for (irr::u32 j = 0; j < vert.BoneIDs.size(); ++j)
		{
			EXPECT_EQ(vert.BoneIDs[j], expected[v].Ids[j]);
			EXPECT_FLOAT_EQ(vert.Weights[j], expected[v].Weights[j]);
		}
	}
}

TEST_F(ExportMesh, TextureCoordinatesComeFromTheFirstChannelThatSuppliesThem)
{
	maxsub::Node& quad = S.addNode(L"quad", maxsub::Kind::Mesh);
	quad.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	quad.mesh().setMapVertex(1, 0, 0.25f, 0.75f);
	quad.mesh().setMapVertex(1, 3, 0.5f, 0.5f);
	for (int v = 0; v < 4; ++v)
		quad.mesh().setMapVertex(2, v, 9.f, 8.f);
	maxsub::Node& bare = S.addNode(L"no channels", maxsub::Kind::Mesh);
	bare.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	maxsub::Node& gaps = S.addNode(L"channel without values", maxsub::Kind::Mesh);
	gaps.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	gaps.mesh().setMapVertex(3, 9, 1.f, 1.f); // active, but for no vertex of the mesh
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Verts.size(), 12u);
	const float expected[4][2] = { { 0.25f, 0.75f }, { 9.f, 8.f }, { 9.f, 8.f }, { 0.5f, 0.5f } };
	for (irr::u32 v = 0; v < 4; ++v)
	{
		EXPECT_FLOAT_EQ(Obj.Verts[v].TCoords.X, expected[v][0]) << v;
		EXPECT_FLOAT_EQ(Obj.Verts[v].TCoords.Y, expected[v][1]) << v;
	}
	for (irr::u32 v = 4; v < 12; ++v)
	{
		EXPECT_EQ(Obj.Verts[v].TCoords.X, 0.f) << v;
		EXPECT_EQ(Obj.Verts[v].TCoords.Y, 0.f) << v;
	}
}

TEST_F(ExportMesh, FaceTextureNameIsTheLastBitmapAndLaterMapsAreLogged)
{
	maxsub::Material& material = S.addMaterial(L"layered");
	material.addBitmap(L"C:\\maps\\wood.dds").addProceduralMap().addBitmap(L"maps/stone.tga");
	maxsub::Node& tri = S.addNode(L"tri", maxsub::Kind::Mesh);
	tri.setMaterial(&material, 0);
	tri.mesh().addVertex(Point3(0, 0, 0));
	tri.mesh().addVertex(Point3(1, 0, 0));
	tri.mesh().addVertex(Point3(0, 1, 0));
	tri.mesh().addFace(0, 1, 2);

	maxsub::Material& single = S.addMaterial(L"single");
	single.addBitmap(L"C:\\maps\\only.dds");
	maxsub::Node& other = S.addNode(L"other", maxsub::Kind::Mesh);
	other.setMaterial(&single, 1);
	other.mesh().addVertex(Point3(0, 0, 0));
	other.mesh().addVertex(Point3(1, 0, 0));
	other.mesh().addVertex(Point3(0, 1, 0));
	other.mesh().addFace(0, 1, 2);
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Faces.size(), 2u);
	EXPECT_EQ(Obj.Faces[0].TextureName, stringw(L"stone.tga"));
	EXPECT_EQ(Obj.Faces[0].Material, static_cast<IGameMaterial*>(&material));
	EXPECT_EQ(Obj.Faces[1].TextureName, stringw(L"only.dds"));
	EXPECT_EQ(finishLog(),
		"Material Index: 0\r\n"
		"stone.tga >1\r\n"
		"Material Index: 1\r\n");
}

TEST_F(ExportMesh, FaceWithoutBitmapCarriesThePreviousFacesTextureName)
{
	maxsub::Material& multi = S.addMaterial(L"multi");
	multi.addSubMaterial(L"textured", 0).addBitmap(L"tex/brick.png");
	multi.addSubMaterial(L"plain", 1);
	maxsub::Node& quad = S.addNode(L"quad", maxsub::Kind::Mesh);
	quad.setMaterial(&multi, 0);
	quad.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	quad.mesh().face(1).matID = 1;
	maxsub::Node& untextured = S.addNode(L"untextured", maxsub::Kind::Mesh);
	untextured.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	begin();
	exportNodes();

	ASSERT_EQ(Obj.Faces.size(), 4u);
	EXPECT_EQ(Obj.Faces[0].TextureName, stringw(L"brick.png"));
	EXPECT_EQ(Obj.Faces[1].TextureName, stringw(L"brick.png"));
	EXPECT_EQ(Obj.Faces[1].MaterialID, 1);
	EXPECT_NE(Obj.Faces[1].Material, nullptr);
	EXPECT_NE(Obj.Faces[1].Material, Obj.Faces[0].Material);
	// A new mesh starts with an empty name.
	EXPECT_EQ(Obj.Faces[2].TextureName, stringw(L""));
	EXPECT_EQ(Obj.Faces[2].Material, nullptr);
}

TEST_F(ExportMesh, ObjectSpaceIgnoresTheNodeTransformWorldSpaceAppliesIt)
{
	for (bool objectSpace : { true, false })
	{
		SCOPED_TRACE(objectSpace);
		maxsub::Scene scene;
		maxsub::Node& parent = scene.addNode(L"parent", maxsub::Kind::Helper);
		parent.setLocal(GMatrix::FromTRS(Point3(0, 0, 5), Quat()));
		maxsub::Node& node = scene.addNode(L"moved", maxsub::Kind::Mesh, &parent);
		// A quarter turn about Z and a shift along X.
		node.setLocal(GMatrix::FromTRS(Point3(10, 0, 0), Quat(0, 0, 0.70710678f, 0.70710678f)));
		maxsub::Mesh& mesh = node.mesh();
		mesh.addVertex(Point3(1, 0, 0));
		mesh.addVertex(Point3(0, 2, 0));
		mesh.addVertex(Point3(0, 0, 3));
		mesh.addNormal(Point3(1, 0, 0));
		mesh.addFace(0, 1, 2);
		for (int k = 0; k < 3; ++k)
			mesh.face(0).norm[k] = 0;

		irr::COstrel obj;
		obj.UseObjectSpace = objectSpace;
		obj.VertCount = obj.FaceCount = 0;
		maxsub::ScopedCurrentScene current(scene, Host.get());
		scene.InitialiseIGame(false);
		obj.exportNode(scene.GetTopLevelNode(0));

		ASSERT_EQ(obj.Verts.size(), 3u);
		if (objectSpace)
		{
			EXPECT_TRUE(near3(obj.Verts[0].Pos, 1, 0, 0));
			EXPECT_TRUE(near3(obj.Verts[1].Pos, 0, 2, 0));
			EXPECT_TRUE(near3(obj.Verts[2].Pos, 0, 0, 3));
			EXPECT_TRUE(near3(obj.Verts[0].Normal, 1, 0, 0));
		}
		else
		{
			EXPECT_TRUE(near3(obj.Verts[0].Pos, 10, 1, 5));
			EXPECT_TRUE(near3(obj.Verts[1].Pos, 8, 0, 5));
			EXPECT_TRUE(near3(obj.Verts[2].Pos, 10, 0, 8));
			EXPECT_TRUE(near3(obj.Verts[0].Normal, 0, 1, 0));
		}
	}
}

TEST_F(ExportMesh, VerticesWithoutFacesKeepTheirDefaults)
{
	maxsub::Node& cloud = S.addNode(L"cloud", maxsub::Kind::Mesh);
	cloud.mesh().addVertex(Point3(1, 2, 3));
	cloud.mesh().addVertex(Point3(4, 5, 6));
	cloud.mesh().setMapVertex(1, 0, 0.5f, 0.5f);
	maxsub::Node& tri = S.addNode(L"tri with spare vertex", maxsub::Kind::Mesh);
	for (int v = 0; v < 4; ++v)
		tri.mesh().addVertex(Point3((float)v, 0, 0));
	tri.mesh().addFace(0, 1, 2);
	begin();
	exportNodes();

	EXPECT_EQ(Obj.VertCount, 6u);
	EXPECT_EQ(Obj.FaceCount, 1u);
	ASSERT_EQ(Obj.Verts.size(), 6u);
	for (irr::u32 v : { 0u, 1u, 5u })
	{
		SCOPED_TRACE(v);
		EXPECT_TRUE(near3(Obj.Verts[v].Normal, 0, 0, 0));
		EXPECT_TRUE(nearColour(Obj.Verts[v].Color, 0, 0, 0, 255.f));
		EXPECT_EQ(Obj.Verts[v].TCoords.X, 0.f);
		EXPECT_EQ(Obj.Verts[v].TCoords.Y, 0.f);
	}
	EXPECT_TRUE(near3(Obj.Verts[1].Pos, 4, 5, 6));
	EXPECT_EQ(Obj.Faces[0].Indices[0], 2u);
}

TEST_F(ExportMesh, FaceWithAnInvalidVertexIndexIsSkippedAndLogged)
{
	maxsub::Node& quad = S.addNode(L"broken quad", maxsub::Kind::Mesh);
	maxsub::Mesh& mesh = quad.mesh();
	for (int v = 0; v < 4; ++v)
		mesh.addVertex(Point3((float)v, 0, 0));
	mesh.addNormal(Point3(0, 0, 1));
	mesh.addColor(Point3(0.5f, 0.5f, 0.5f));
	mesh.addAlpha(0.5f);
	mesh.addFace(0, 1, 2);
	for (int k = 0; k < 3; ++k)
		mesh.face(0).norm[k] = mesh.face(0).color[k] = mesh.face(0).alpha[k] = 0;
	mesh.addFace(1, 4, 3);         // 4 is past the mesh (would be the next mesh's vertex)
	mesh.face(mesh.addFace(3, 2, 0)).vert[2] = 0xFFFFFFFFu; // far past everything
	mesh.addFace(3, 2, 1);         // normal, colour and alpha indices 3, 2, 1: only 0 exists
	maxsub::Node& next = S.addNode(L"next", maxsub::Kind::Mesh);
	next.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
	begin();
	exportNodes();

	EXPECT_EQ(Obj.VertCount, 8u);
	EXPECT_EQ(Obj.FaceCount, 4u);
	ASSERT_EQ(Obj.Faces.size(), 4u);
	const irr::u32 kept[2][3] = { { 0, 1, 2 }, { 3, 2, 1 } };
	for (int f = 0; f < 2; ++f)
		for (int k = 0; k < 3; ++k)
			EXPECT_EQ(Obj.Faces[f].Indices[k], kept[f][k]);
	EXPECT_EQ(Obj.Faces[2].Indices[0], 4u);
	// The next mesh's first vertex was not touched by the skipped face.
	EXPECT_TRUE(near3(Obj.Verts[4].Normal, 0, 0, 1));
	EXPECT_TRUE(nearColour(Obj.Verts[4].Color, 255.f, 255.f, 255.f, 255.f));
	// Lookups past the lists give the scene's defaults: normal 0, white, alpha 1.
	EXPECT_TRUE(near3(Obj.Verts[3].Normal, 0, 0, 0));
	EXPECT_TRUE(nearColour(Obj.Verts[3].Color, 255.f, 255.f, 255.f, 255.f));
	EXPECT_TRUE(nearColour(Obj.Verts[0].Color, 127.5f, 127.5f, 127.5f, 127.5f));
	EXPECT_EQ(finishLog(),
		"Mesh broken quad: face 1 skipped, vertex index out of range\r\n"
		"Mesh broken quad: face 2 skipped, vertex index out of range\r\n");
}

} // namespace
