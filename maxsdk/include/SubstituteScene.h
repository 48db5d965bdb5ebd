// The substitute scene: an in-memory 3ds Max scene behind the IGame
// interfaces, and the host-side state a running 3ds Max would hold (the
// current scene, the application interface, the IGame error callback).
//
// The global state lives in this shared library, so the host program, the
// plug-in and the core library all see one current scene per process.
//
// Building a scene (tests use this directly):
//
//   maxsub::Scene scene;
//   scene.setAnimRange(0, 3);                          // frames, 30 fps
//   maxsub::Node& root = scene.addNode(L"b", maxsub::Kind::Bone);
//   maxsub::Node& spine = scene.addNode(L"bau_Spine", maxsub::Kind::Bone, &root);
//   spine.setLocalTrack([](TimeValue t) {
//       return GMatrix::FromTRS(Point3(0, 0, 10 + t / 160.f), Quat()); });
//   maxsub::Node& quad = scene.addNode(L"quad", maxsub::Kind::Mesh);
//   quad.mesh().addQuad(Point3(0,0,0), Point3(1,0,0), Point3(1,1,0), Point3(0,1,0));
//   quad.mesh().skin().bind(0, {{root.id(), 1.f}});
//   maxsub::ScopedCurrentScene current(scene);        // GetIGameInterface() -> scene
//
// Values a lookup cannot supply: GetVertex/GetNormal give 0,0,0, a colour
// lookup gives white (1,1,1) and an alpha lookup 1.0, each with result false
// and an IGame error raised. A mesh without any colour or alpha list gives
// white and 1.0 for every index without raising an error. A mesh without
// normals gets area-weighted vertex normals when its data is initialised.
#pragma once

#include "IGame/IGame.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace maxsub
{

enum class Kind { Other = 0, Light = 1, Mesh = 2, Spline = 3, Camera = 4, Helper = 5, Bone = 6 };

class Scene;
class Node;

class Property : public IGameProperty
{
public:
	Property(std::wstring name, Point3 value) : Name(std::move(name)), Value(value) {}
	const MCHAR* GetName() override { return Name.c_str(); }
	bool GetPropertyValue(Point3& value, TimeValue t = TIME_NegInfinity) override;
	bool GetPropertyValue(float& value, TimeValue t = TIME_NegInfinity, bool percentage = false) override;
private:
	std::wstring Name;
	Point3 Value; // a float property keeps its value in x
};

class TextureMap : public IGameTextureMap
{
public:
	TextureMap(bool bitmap, std::wstring pathOrName) : Bitmap(bitmap), Path(std::move(pathOrName)) {}
	bool IsEntitySupported() override { return Bitmap; }
	const MCHAR* GetTextureName() override { return Path.c_str(); }
	const MCHAR* GetBitmapFileName() override { return Bitmap ? Path.c_str() : nullptr; }
private:
	bool Bitmap;
	std::wstring Path;
};

class Material : public IGameMaterial
{
public:
	explicit Material(std::wstring name) : Name(std::move(name)) {}

	// Builder.
	Material& addBitmap(const std::wstring& path);
	Material& addProceduralMap(const std::wstring& name = L"Noise");
	Material& setAmbient(const Point3& c) { return setColour(Ambient, L"Ambient", c); }
	Material& setDiffuse(const Point3& c) { return setColour(Diffuse, L"Diffuse", c); }
	Material& setSpecular(const Point3& c) { return setColour(Specular, L"Specular", c); }
	Material& setEmissive(const Point3& c) { return setColour(Emissive, L"Emissive", c); }
	Material& setOpacity(float o);
	// Makes this a multi-material and adds a sub-material with the given ID.
	Material& addSubMaterial(const std::wstring& name, int id);
	Material* subMaterialForId(int matID);

	// IGameMaterial.
	const MCHAR* GetMaterialName() override { return Name.c_str(); }
	bool IsMultiType() override { return Multi; }
	int GetSubMaterialCount() override { return (int)Subs.size(); }
	IGameMaterial* GetSubMaterial(int index) override;
	int GetMaterialID(int subIndex) override;
	int GetNumberOfTextureMaps() override { return (int)Maps.size(); }
	IGameTextureMap* GetIGameTextureMap(int index) override;
	IGameProperty* GetAmbientData() override { return Ambient.get(); }
	IGameProperty* GetDiffuseData() override { return Diffuse.get(); }
	IGameProperty* GetSpecularData() override { return Specular.get(); }
	IGameProperty* GetEmissiveData() override { return Emissive.get(); }
	IGameProperty* GetOpacityData() override { return Opacity.get(); }

private:
	Material& setColour(std::unique_ptr<Property>& slot, const wchar_t* name, const Point3& c);
	std::wstring Name;
	bool Multi = false;
	std::vector<std::unique_ptr<TextureMap>> Maps;
	std::vector<std::pair<int, std::unique_ptr<Material>>> Subs;
	std::unique_ptr<Property> Ambient, Diffuse, Specular, Emissive, Opacity;
};

class Skin : public IGameSkin
{
public:
	explicit Skin(Scene* scene) : Owner(scene) {}
	// Binds a vertex to (node id, weight) pairs in skin order; exactly one
	// pair makes the vertex rigid.
	void bind(int vertex, const std::vector<std::pair<int, float>>& bones);

	int GetNumOfSkinnedVerts() override { return (int)Bindings.size(); }
	VertexType GetVertexType(int vertex) override;
	int GetNumberOfBones(int vertex) override;
	int GetBoneID(int vertex, int boneIndex) override;
	float GetWeight(int vertex, int boneIndex) override;
	IGameNode* GetIGameBone(int vertex, int boneIndex) override;

private:
	const std::pair<int, float>* binding(int vertex, int boneIndex) const;
	Scene* Owner;
	std::vector<std::vector<std::pair<int, float>>> Bindings;
};

class Mesh : public IGameMesh
{
public:
	Mesh(Node* owner, Kind kind) : Owner(owner), ObjectKind(kind) {}

	// Builder; each returns the index of what it added.
	int addVertex(const Point3& p);
	int addNormal(const Point3& n);
	int addColor(const Point3& c);
	int addAlpha(float a);
	// A triangle whose normal, colour and alpha indices equal its vertex indices.
	int addFace(int a, int b, int c, int matID = 0);
	// Four vertices and two triangles (a b c, a c d); returns the first vertex.
	int addQuad(const Point3& a, const Point3& b, const Point3& c, const Point3& d, int matID = 0);
	FaceEx& face(int i) { return Faces[(size_t)i]; }
	// Map vertex of a channel (channels become active on first use).
	void setMapVertex(int channel, int index, float u, float v);
	Skin& skin();
	void setInitializeFails(bool fails) { InitFails = fails; }
	bool initialized() const { return Initialized; }
	bool optimizedNormals() const { return OptimizedNormals; }

	// IGameObject.
	ObjectTypes GetIGameType() override { return (ObjectTypes)ObjectKind; }
	bool InitializeData() override;
	IGameSkin* GetIGameSkin() override { return SkinData.get(); }
	bool IsObjectSkinned() override { return SkinData != nullptr; }

	// IGameMesh.
	void SetCreateOptimizedNormalList() override { OptimizedNormals = true; }
	int GetNumberOfVerts() override { return (int)Verts.size(); }
	int GetNumberOfFaces() override { return (int)Faces.size(); }
	int GetNumberOfNormals() override { return (int)Normals.size(); }
	int GetNumberOfColorVerts() override { return (int)Colors.size(); }
	int GetNumberOfAlphaVerts() override { return (int)Alphas.size(); }
	Tab<int> GetActiveMapChannelNum() override;
	bool GetVertex(int index, Point3& vert, bool objectSpace = false) override;
	bool GetNormal(int index, Point3& norm, bool objectSpace = false) override;
	bool GetColorVertex(int index, Point3& col) override;
	bool GetAlphaVertex(int index, float& alpha) override;
	bool GetMapVertex(int channel, int index, Point3& p) override;
	FaceEx* GetFace(int index) override;
	IGameMaterial* GetMaterialFromFace(FaceEx* face) override;

private:
	Node* Owner;
	Kind ObjectKind;
	bool InitFails = false;
	bool Initialized = false;
	bool OptimizedNormals = false;
	std::vector<Point3> Verts, Normals, Colors;
	std::vector<float> Alphas;
	std::vector<FaceEx> Faces;
	std::map<int, std::vector<std::pair<bool, Point3>>> Channels;
	std::unique_ptr<Skin> SkinData;
};

// Bone and helper objects: a display mesh decides whether a bone is read.
class SupportObject : public IGameSupportObject
{
public:
	SupportObject(Node* owner, Kind kind) : ObjectKind(kind), Display(owner, Kind::Mesh) {}
	ObjectTypes GetIGameType() override { return (ObjectTypes)ObjectKind; }
	bool InitializeData() override { return true; }
	IGameSkin* GetIGameSkin() override { return nullptr; }
	bool IsObjectSkinned() override { return false; }
	IGameMesh* GetMeshObject() override { return &Display; }
	Mesh& display() { return Display; }
private:
	Kind ObjectKind;
	Mesh Display;
};

class OtherObject : public IGameObject
{
public:
	explicit OtherObject(Kind kind) : ObjectKind(kind) {}
	ObjectTypes GetIGameType() override { return (ObjectTypes)ObjectKind; }
	bool InitializeData() override { return true; }
	IGameSkin* GetIGameSkin() override { return nullptr; }
	bool IsObjectSkinned() override { return false; }
private:
	Kind ObjectKind;
};

typedef std::function<GMatrix(TimeValue)> Track;

class Node : public IGameNode
{
public:
	Node(Scene* scene, int id, std::wstring name, Kind kind, Node* parent);

	// Builder.
	Node& setLocal(const GMatrix& local);
	Node& setLocalTrack(Track track);
	Node& select(bool selected = true) { Selected = selected; return *this; }
	Node& setTarget(bool target = true) { Target = target; return *this; }
	Node& setGroupOwner(bool owner = true) { GroupOwner = owner; return *this; }
	Node& setHidden(bool hidden = true) { Hidden = hidden; return *this; }
	Node& setMaterial(Material* material, int index);
	// The mesh of a mesh node, or the display mesh of a bone or helper.
	Mesh& mesh();
	int id() const { return Id; }
	const std::wstring& name() const { return Name; }
	Node* parent() const { return Parent; }
	Kind kind() const { return ObjectKind; }
	bool selected() const { return Selected; }
	Material* material() const { return NodeMaterial; }
	const std::vector<Node*>& children() const { return Children; }
	int releaseCount() const { return Releases; }
	Scene* scene() const { return Owner; }

	// Unconverted transforms, in 3ds Max's own system.
	GMatrix localAt(TimeValue t) const;
	GMatrix worldAt(TimeValue t) const;

	// IGameNode.
	IGameObject* GetIGameObject() override;
	void ReleaseIGameObject() override { ++Releases; }
	const MCHAR* GetName() override { return Name.c_str(); }
	int GetNodeID() override { return Id; }
	IGameNode* GetNodeParent() override { return ViewParent; }
	int GetChildCount() override { return (int)ViewChildren.size(); }
	IGameNode* GetNodeChild(int index) override;
	int GetMaterialIndex() override { return MaterialIndex; }
	IGameMaterial* GetNodeMaterial() override { return NodeMaterial; }
	GMatrix GetLocalTM(TimeValue t = TIME_NegInfinity) override;
	GMatrix GetWorldTM(TimeValue t = TIME_NegInfinity) override;
	bool IsTarget() override { return Target; }
	bool IsGroupOwner() override { return GroupOwner; }
	bool IsNodeHidden() override { return Hidden; }

private:
	friend class Scene;
	Scene* Owner;
	int Id;
	std::wstring Name;
	Kind ObjectKind;
	Node* Parent;
	std::vector<Node*> Children;
	Node* ViewParent = nullptr;
	std::vector<Node*> ViewChildren;
	bool Selected = false, Target = false, GroupOwner = false, Hidden = false;
	int MaterialIndex = -1;
	Material* NodeMaterial = nullptr;
	GMatrix Local;
	Track LocalTrack;
	std::unique_ptr<IGameObject> Object;
	Mesh* MeshPart = nullptr;
	int Releases = 0;
};

class ConversionManager : public IGameConversionManager
{
public:
	ConversionManager();
	void SetCoordSystem(CoordSystem system) override;
	void SetUserCoordSystem(UserCoord uc) override;
	CoordSystem GetCoordSystem() override { return System; }
	UserCoord GetUserCoordSystem() override { return User; }

	Point3 point(const Point3& p) const;      // positions
	Point3 vector(const Point3& v) const;     // normals and directions
	GMatrix matrix(const GMatrix& m) const;   // transforms, as a change of basis
	Point3 uv(const Point3& uvw) const;       // texture coordinates
	int setCount() const { return SetCalls; }

private:
	void rebuild();
	CoordSystem System;
	UserCoord User;
	float C[3][3]; // p' = p C
	int SetCalls = 0;
};

class Scene : public IGameScene
{
public:
	Scene();
	~Scene() override;
	Scene(const Scene&) = delete;
	Scene& operator=(const Scene&) = delete;

	// Builder. Node ids are 1, 2, 3, ... in creation order.
	Node& addNode(const std::wstring& name, Kind kind, Node* parent = nullptr);
	// A root material; its index in the root list is returned by rootIndex.
	Material& addMaterial(const std::wstring& name);
	int rootIndex(const Material* material) const;
	void setFileName(const std::wstring& name) { FileName = name; }
	void setFrameRate(int fps);
	void setAnimRange(int startFrame, int endFrame);
	void setAnimRangeTicks(TimeValue start, TimeValue end) { Range = Interval(start, end); }

	Node* findNode(const std::wstring& name) const;
	Node* findNode(int id) const;
	const std::vector<std::unique_ptr<Node>>& nodes() const { return Nodes; }
	int frameRate() const { return FrameRate; }
	int ticksPerFrame() const { return TICKS_PER_SECOND / (FrameRate > 0 ? FrameRate : 30); }
	Interval animRange() const { return Range; }
	TimeValue staticTime() const { return StaticFrame * ticksPerFrame(); }
	ConversionManager& conversion() { return Conversion; }
	bool initialised() const { return Initialised; }
	bool selectionOnly() const { return SelectionOnly; }
	int initialiseCount() const { return InitCalls; }
	int releaseCount() const { return ReleaseCalls; }

	// IGameScene.
	bool InitialiseIGame(bool selected = false) override;
	void SetStaticFrame(int frame) override { StaticFrame = frame; }
	const MCHAR* GetSceneFileName() override { return FileName.c_str(); }
	TimeValue GetSceneStartTime() override { return Range.Start(); }
	TimeValue GetSceneEndTime() override { return Range.End(); }
	int GetSceneTicks() override { return ticksPerFrame(); }
	int GetRootMaterialCount() override { return (int)Materials.size(); }
	IGameMaterial* GetRootMaterial(int index) override;
	int GetTopLevelNodeCount() override { return (int)TopLevel.size(); }
	IGameNode* GetTopLevelNode(int index) override;
	int GetTotalNodeCount() override { return (int)Nodes.size(); }
	void ReleaseIGame() override;

private:
	std::wstring FileName;
	int FrameRate = 30;
	Interval Range;
	int StaticFrame = 0;
	bool Initialised = false;
	bool SelectionOnly = false;
	int InitCalls = 0, ReleaseCalls = 0;
	std::vector<std::unique_ptr<Node>> Nodes;
	std::vector<std::unique_ptr<Material>> Materials;
	std::vector<Node*> TopLevel;
	ConversionManager Conversion;
};

// The application interface of the stand-in host.
class Host : public Interface
{
public:
	explicit Host(std::wstring rootDir = L"") : RootDir(std::move(rootDir)) {}
	const MCHAR* GetDir(int which) override;
	Interval GetAnimRange() override;
	HWND GetMAXHWnd() override { return nullptr; }
	void setRootDir(const std::wstring& dir) { RootDir = dir; }
private:
	std::wstring RootDir;
};

// Process-wide state, as 3ds Max holds it.
void setCurrentScene(Scene* scene);
Scene* currentScene();
void setCoreInterface(Interface* iface);
// Reports an error to the registered IGame error callback.
void raiseError(IGameError code, const std::wstring& text);
IGameErrorCallBack* errorCallback();

// Makes a scene (and optionally a host) current for a scope.
class ScopedCurrentScene
{
public:
	explicit ScopedCurrentScene(Scene& scene, Interface* host = nullptr);
	~ScopedCurrentScene();
private:
	Scene* PreviousScene;
	Interface* PreviousHost;
	bool HostSet;
};

} // namespace maxsub
