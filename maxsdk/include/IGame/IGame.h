// The IGame scene-access layer, declared for this platform.
//
// Every IGame class is an abstract interface that the exporter uses through
// pointers; the substitute scene (maxsub, SubstituteScene.h) implements them.
//
// Coordinate systems. Scene data is stored in 3ds Max's own system
// (right-handed, Z up: X right, Y into the screen, Z up as seen in the front
// view). The conversion manager chooses what callers receive:
//   IGAME_MAX  unchanged;
//   IGAME_D3D  left-handed, Y up: (x, y, z) -> (x, z, y);
//   IGAME_OGL  right-handed, Y up: (x, y, z) -> (x, z, -y);
//   IGAME_USER each user axis by the UserCoord record: xAxis, yAxis, zAxis
//              name the direction the user's axis points, as codes
//              0 left (-X), 1 right (+X), 2 up (+Z), 3 down (-Z), 4 in (+Y),
//              5 out (-Y); the user coordinate is the dot product of the 3ds
//              Max point with that direction. `rotation` (0 left-handed,
//              1 right-handed) describes the result and changes nothing.
//              Texture coordinates: uAxis 0 left gives u' = 1 - u, 1 right
//              keeps u; vAxis 0 up keeps v, 1 down gives v' = 1 - v.
// The conversion is applied to positions, normals, local and world
// transforms and texture coordinates. A transform M (row vectors, p' = p M,
// translation in row 3) becomes C^-1 M C for the point conversion C, so that
// converting a node's transform and converting its points agree.
#pragma once

#include "../max.h"

class IGameNode;
class IGameMaterial;

// A 4 x 4 transform for row vectors: p' = p * M, translation in row 3.
class GMatrix : public MaxHeapOperators {
public:
	GMatrix();                         // identity
	float m[4][4];

	float* operator[](int r) { return m[r]; }
	const float* operator[](int r) const { return m[r]; }
	GMatrix operator*(const GMatrix& o) const;
	bool operator==(const GMatrix& o) const;

	Point3 Translation() const;
	// Rotation of the upper 3 x 3 after the scaling is divided out. The
	// quaternion q is the one whose irr::core::quaternion::getMatrix()
	// (same row-vector layout) reproduces that rotation.
	Quat Rotation() const;
	// Length of each of the first three rows.
	Point3 Scaling() const;
	GMatrix Inverse() const;
	Point3 PointTransform(const Point3& p) const;
	Point3 VectorTransform(const Point3& v) const;

	static GMatrix FromTRS(const Point3& t, const Quat& r, const Point3& s = Point3(1, 1, 1));
};

// Corner data of one triangle: indices into the mesh's vertex, normal,
// colour and alpha lists, and the material ID of the face.
struct FaceEx {
	DWORD vert[3];
	DWORD norm[3];
	DWORD color[3];
	DWORD alpha[3];
	DWORD illum[3];
	DWORD texCoord[3];
	DWORD smGrp;
	int matID;
	DWORD flags;
	int meshFaceIndex;
};

class IGameProperty {
public:
	virtual ~IGameProperty() {}
	virtual const MCHAR* GetName() = 0;
	virtual bool GetPropertyValue(Point3& value, TimeValue t = TIME_NegInfinity) = 0;
	virtual bool GetPropertyValue(float& value, TimeValue t = TIME_NegInfinity, bool percentage = false) = 0;
};

class IGameTextureMap {
public:
	virtual ~IGameTextureMap() {}
	// True for a bitmap texture map.
	virtual bool IsEntitySupported() = 0;
	virtual const MCHAR* GetTextureName() = 0;
	// Wide path of the bitmap, or null when the map is no bitmap.
	virtual const MCHAR* GetBitmapFileName() = 0;
};

class IGameMaterial {
public:
	virtual ~IGameMaterial() {}
	virtual const MCHAR* GetMaterialName() = 0;
	virtual bool IsMultiType() = 0;
	virtual int GetSubMaterialCount() = 0;
	virtual IGameMaterial* GetSubMaterial(int index) = 0;
	virtual int GetMaterialID(int subIndex) = 0;
	virtual int GetNumberOfTextureMaps() = 0;
	virtual IGameTextureMap* GetIGameTextureMap(int index) = 0;
	// Each property may be absent (null).
	virtual IGameProperty* GetAmbientData() = 0;
	virtual IGameProperty* GetDiffuseData() = 0;
	virtual IGameProperty* GetSpecularData() = 0;
	virtual IGameProperty* GetEmissiveData() = 0;
	virtual IGameProperty* GetOpacityData() = 0;
};

class IGameSkin {
public:
	enum VertexType { IGAME_RIGID = 0, IGAME_RIGID_BLENDED = 1, IGAME_UNKNOWN = 2 };
	virtual ~IGameSkin() {}
	virtual int GetNumOfSkinnedVerts() = 0;
	virtual VertexType GetVertexType(int vertex) = 0;
	virtual int GetNumberOfBones(int vertex) = 0;
	// IGame node id of the vertex's bone, -1 when out of range.
	virtual int GetBoneID(int vertex, int boneIndex) = 0;
	virtual float GetWeight(int vertex, int boneIndex) = 0;
	virtual IGameNode* GetIGameBone(int vertex, int boneIndex) = 0;
};

class IGameObject {
public:
	enum ObjectTypes {
		IGAME_UNKNOWN = 0, IGAME_LIGHT = 1, IGAME_MESH = 2, IGAME_SPLINE = 3,
		IGAME_CAMERA = 4, IGAME_HELPER = 5, IGAME_BONE = 6, IGAME_IKCHAIN = 7, IGAME_XREF = 8
	};
	virtual ~IGameObject() {}
	virtual ObjectTypes GetIGameType() = 0;
	// Reads the object's data; false when it cannot be read.
	virtual bool InitializeData() = 0;
	virtual IGameSkin* GetIGameSkin() = 0;
	virtual bool IsObjectSkinned() = 0;
};

class IGameMesh : public IGameObject {
public:
	virtual void SetCreateOptimizedNormalList() = 0;
	virtual int GetNumberOfVerts() = 0;
	virtual int GetNumberOfFaces() = 0;
	virtual int GetNumberOfNormals() = 0;
	virtual int GetNumberOfColorVerts() = 0;
	virtual int GetNumberOfAlphaVerts() = 0;
	virtual Tab<int> GetActiveMapChannelNum() = 0;
	// The lookups below always fill their output: an index the mesh does not
	// hold gives position 0,0,0, normal 0,0,0, colour white (1,1,1) and
	// alpha 1.0, and the result is false.
	virtual bool GetVertex(int index, Point3& vert, bool objectSpace = false) = 0;
	virtual bool GetNormal(int index, Point3& norm, bool objectSpace = false) = 0;
	virtual bool GetColorVertex(int index, Point3& col) = 0;
	virtual bool GetAlphaVertex(int index, float& alpha) = 0;
	// False (and p untouched) when the channel does not supply the index.
	virtual bool GetMapVertex(int channel, int index, Point3& p) = 0;
	virtual FaceEx* GetFace(int index) = 0;
	virtual IGameMaterial* GetMaterialFromFace(FaceEx* face) = 0;
};

// Bones and helpers: objects whose display geometry is a mesh.
class IGameSupportObject : public IGameObject {
public:
	virtual IGameMesh* GetMeshObject() = 0;
};

class IGameNode {
public:
	virtual ~IGameNode() {}
	virtual IGameObject* GetIGameObject() = 0;
	virtual void ReleaseIGameObject() = 0;
	virtual const MCHAR* GetName() = 0;
	virtual int GetNodeID() = 0;
	virtual IGameNode* GetNodeParent() = 0;
	virtual int GetChildCount() = 0;
	virtual IGameNode* GetNodeChild(int index) = 0;
	virtual int GetMaterialIndex() = 0;
	virtual IGameMaterial* GetNodeMaterial() = 0;
	virtual GMatrix GetLocalTM(TimeValue t = TIME_NegInfinity) = 0;
	virtual GMatrix GetWorldTM(TimeValue t = TIME_NegInfinity) = 0;
	virtual bool IsTarget() = 0;
	virtual bool IsGroupOwner() = 0;
	virtual bool IsNodeHidden() = 0;
};

class IGameScene {
public:
	virtual ~IGameScene() {}
	// With `selected` only the selected nodes are seen: a selected node
	// whose nearest selected ancestor is seen appears under it, any other
	// selected node is top-level.
	virtual bool InitialiseIGame(bool selected = false) = 0;
	virtual void SetStaticFrame(int frame) = 0;
	virtual const MCHAR* GetSceneFileName() = 0;
	virtual TimeValue GetSceneStartTime() = 0;
	virtual TimeValue GetSceneEndTime() = 0;
	// Ticks per frame.
	virtual int GetSceneTicks() = 0;
	virtual int GetRootMaterialCount() = 0;
	virtual IGameMaterial* GetRootMaterial(int index) = 0;
	virtual int GetTopLevelNodeCount() = 0;
	virtual IGameNode* GetTopLevelNode(int index) = 0;
	virtual int GetTotalNodeCount() = 0;
	virtual void ReleaseIGame() = 0;
};

struct UserCoord {
	int rotation; // 0 left-handed, 1 right-handed
	int xAxis;    // 0 left, 1 right, 2 up, 3 down, 4 in, 5 out
	int yAxis;
	int zAxis;
	int uAxis;    // 0 left, 1 right
	int vAxis;    // 0 up, 1 down
};

class IGameConversionManager {
public:
	enum CoordSystem { IGAME_MAX = 0, IGAME_D3D = 1, IGAME_OGL = 2, IGAME_USER = 3 };
	virtual ~IGameConversionManager() {}
	virtual void SetCoordSystem(CoordSystem system) = 0;
	virtual void SetUserCoordSystem(UserCoord uc) = 0;
	virtual CoordSystem GetCoordSystem() = 0;
	virtual UserCoord GetUserCoordSystem() = 0;
};

typedef int IGameError;

class IGameErrorCallBack {
public:
	virtual ~IGameErrorCallBack() {}
	virtual void ErrorProc(IGameError error) = 0;
};

IGameScene* GetIGameInterface();
float GetIGameVersion();
IGameConversionManager* GetConversionManager();
void SetErrorCallBack(IGameErrorCallBack* callback);
IGameError GetLastIGameError();
const MCHAR* GetLastIGameErrorText();

// The IGame version the substitute reports.
#define IGAME_VERSION_NUMBER 3.0f
