#include "SubstituteScene.h"

#include <cmath>

namespace maxsub
{

// ---- properties, maps, materials -------------------------------------------

bool Property::GetPropertyValue(Point3& value, TimeValue)
{
	value = Value;
	return true;
}

bool Property::GetPropertyValue(float& value, TimeValue, bool percentage)
{
	value = percentage ? Value.x * 100.f : Value.x;
	return true;
}

Material& Material::addBitmap(const std::wstring& path)
{
	Maps.push_back(std::make_unique<TextureMap>(true, path));
	return *this;
}

Material& Material::addProceduralMap(const std::wstring& name)
{
	Maps.push_back(std::make_unique<TextureMap>(false, name));
	return *this;
}

Material& Material::setColour(std::unique_ptr<Property>& slot, const wchar_t* name, const Point3& c)
{
	slot = std::make_unique<Property>(name, c);
	return *this;
}

Material& Material::setOpacity(float o)
{
	Opacity = std::make_unique<Property>(L"Opacity", Point3(o, 0, 0));
	return *this;
}

Material& Material::addSubMaterial(const std::wstring& name, int id)
{
	Multi = true;
	Subs.emplace_back(id, std::make_unique<Material>(name));
	return *Subs.back().second;
}

Material* Material::subMaterialForId(int matID)
{
	if (Subs.empty())
		return nullptr;
	for (auto& s : Subs)
		if (s.first == matID)
			return s.second.get();
	const int n = (int)Subs.size();
	return Subs[(size_t)(((matID % n) + n) % n)].second.get();
}

IGameMaterial* Material::GetSubMaterial(int index)
{
	if (index < 0 || index >= (int)Subs.size())
	{
		raiseError(4, L"sub-material index out of range");
		return nullptr;
	}
	return Subs[(size_t)index].second.get();
}

int Material::GetMaterialID(int subIndex)
{
	if (subIndex < 0 || subIndex >= (int)Subs.size())
		return -1;
	return Subs[(size_t)subIndex].first;
}

IGameTextureMap* Material::GetIGameTextureMap(int index)
{
	if (index < 0 || index >= (int)Maps.size())
		return nullptr;
	return Maps[(size_t)index].get();
}

// ---- skin ---------------------------------------------------------------------

void Skin::bind(int vertex, const std::vector<std::pair<int, float>>& bones)
{
	if (vertex < 0)
		return;
	if ((size_t)vertex >= Bindings.size())
		Bindings.resize((size_t)vertex + 1);
	Bindings[(size_t)vertex] = bones;
}

IGameSkin::VertexType Skin::GetVertexType(int vertex)
{
	if (vertex < 0 || (size_t)vertex >= Bindings.size())
		return IGAME_UNKNOWN;
	return Bindings[(size_t)vertex].size() == 1 ? IGAME_RIGID : IGAME_RIGID_BLENDED;
}

int Skin::GetNumberOfBones(int vertex)
{
	if (vertex < 0 || (size_t)vertex >= Bindings.size())
		return 0;
	return (int)Bindings[(size_t)vertex].size();
}

const std::pair<int, float>* Skin::binding(int vertex, int boneIndex) const
{
	if (vertex < 0 || (size_t)vertex >= Bindings.size())
		return nullptr;
	const auto& b = Bindings[(size_t)vertex];
	if (boneIndex < 0 || (size_t)boneIndex >= b.size())
		return nullptr;
	return &b[(size_t)boneIndex];
}

int Skin::GetBoneID(int vertex, int boneIndex)
{
	const auto* b = binding(vertex, boneIndex);
	return b ? b->first : -1;
}

float Skin::GetWeight(int vertex, int boneIndex)
{
	const auto* b = binding(vertex, boneIndex);
	return b ? b->second : 0.f;
}

IGameNode* Skin::GetIGameBone(int vertex, int boneIndex)
{
	const auto* b = binding(vertex, boneIndex);
	return b && Owner ? Owner->findNode(b->first) : nullptr;
}

// ---- mesh ----------------------------------------------------------------------

int Mesh::addVertex(const Point3& p)
{
	Verts.push_back(p);
	return (int)Verts.size() - 1;
}

int Mesh::addNormal(const Point3& n)
{
	Normals.push_back(n);
	return (int)Normals.size() - 1;
}

int Mesh::addColor(const Point3& c)
{
	Colors.push_back(c);
	return (int)Colors.size() - 1;
}

int Mesh::addAlpha(float a)
{
	Alphas.push_back(a);
	return (int)Alphas.size() - 1;
}

int Mesh::addFace(int a, int b, int c, int matID)
{
	FaceEx f = {};
	const int v[3] = { a, b, c };
	for (int k = 0; k < 3; ++k)
		f.vert[k] = f.norm[k] = f.color[k] = f.alpha[k] = f.illum[k] = f.texCoord[k] = (DWORD)v[k];
	f.matID = matID;
	f.meshFaceIndex = (int)Faces.size();
	Faces.push_back(f);
	return (int)Faces.size() - 1;
}

int Mesh::addQuad(const Point3& a, const Point3& b, const Point3& c, const Point3& d, int matID)
{
	const int first = addVertex(a);
	addVertex(b);
	addVertex(c);
	addVertex(d);
	addFace(first, first + 1, first + 2, matID);
	addFace(first, first + 2, first + 3, matID);
	return first;
}

void Mesh::setMapVertex(int channel, int index, float u, float v)
{
	if (index < 0)
		return;
	auto& ch = Channels[channel];
	if ((size_t)index >= ch.size())
		ch.resize((size_t)index + 1, std::make_pair(false, Point3()));
	ch[(size_t)index] = std::make_pair(true, Point3(u, v, 0));
}

Skin& Mesh::skin()
{
	if (!SkinData)
		SkinData = std::make_unique<Skin>(Owner ? Owner->scene() : nullptr);
	return *SkinData;
}

bool Mesh::InitializeData()
{
	if (InitFails)
	{
		raiseError(1, L"mesh data cannot be read");
		return false;
	}
	if (Normals.empty() && !Faces.empty())
	{
		// IGame always supplies normals: area-weighted vertex normals.
		std::vector<Point3> n(Verts.size());
		for (const FaceEx& f : Faces)
		{
			if (f.vert[0] >= Verts.size() || f.vert[1] >= Verts.size() || f.vert[2] >= Verts.size())
				continue;
			const Point3& a = Verts[f.vert[0]];
			const Point3& b = Verts[f.vert[1]];
			const Point3& c = Verts[f.vert[2]];
			const Point3 e1(b.x - a.x, b.y - a.y, b.z - a.z), e2(c.x - a.x, c.y - a.y, c.z - a.z);
			const Point3 cr(e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x);
			for (int k = 0; k < 3; ++k)
			{
				Point3& t = n[f.vert[k]];
				t.x += cr.x; t.y += cr.y; t.z += cr.z;
			}
		}
		for (Point3& v : n)
		{
			const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
			if (len > 0)
				v = Point3(v.x / len, v.y / len, v.z / len);
		}
		Normals = n;
		for (FaceEx& f : Faces)
			for (int k = 0; k < 3; ++k)
				f.norm[k] = f.vert[k];
	}
	Initialized = true;
	return true;
}

Tab<int> Mesh::GetActiveMapChannelNum()
{
	Tab<int> t;
	for (const auto& ch : Channels)
		t.Append(ch.first);
	return t;
}

bool Mesh::GetVertex(int index, Point3& vert, bool objectSpace)
{
	if (index < 0 || (size_t)index >= Verts.size())
	{
		vert = Point3();
		raiseError(2, L"vertex index out of range");
		return false;
	}
	Scene* scene = currentScene();
	Point3 p = Verts[(size_t)index];
	if (!objectSpace && Owner && scene)
		p = Owner->worldAt(scene->staticTime()).PointTransform(p);
	vert = scene ? scene->conversion().point(p) : p;
	return true;
}

bool Mesh::GetNormal(int index, Point3& norm, bool objectSpace)
{
	if (index < 0 || (size_t)index >= Normals.size())
	{
		norm = Point3();
		raiseError(2, L"normal index out of range");
		return false;
	}
	Scene* scene = currentScene();
	Point3 n = Normals[(size_t)index];
	if (!objectSpace && Owner && scene)
	{
		// Normals follow the inverse transpose of the world transform.
		const GMatrix inv = Owner->worldAt(scene->staticTime()).Inverse();
		n = Point3(n.x * inv.m[0][0] + n.y * inv.m[0][1] + n.z * inv.m[0][2],
			n.x * inv.m[1][0] + n.y * inv.m[1][1] + n.z * inv.m[1][2],
			n.x * inv.m[2][0] + n.y * inv.m[2][1] + n.z * inv.m[2][2]);
		const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
		if (len > 0)
			n = Point3(n.x / len, n.y / len, n.z / len);
	}
	norm = scene ? scene->conversion().vector(n) : n;
	return true;
}

bool Mesh::GetColorVertex(int index, Point3& col)
{
	col = Point3(1, 1, 1);
	if (Colors.empty())
		return index >= 0;
	if (index < 0 || (size_t)index >= Colors.size())
	{
		raiseError(2, L"colour index out of range");
		return false;
	}
	col = Colors[(size_t)index];
	return true;
}

bool Mesh::GetAlphaVertex(int index, float& alpha)
{
	alpha = 1.f;
	if (Alphas.empty())
		return index >= 0;
	if (index < 0 || (size_t)index >= Alphas.size())
	{
		raiseError(2, L"alpha index out of range");
		return false;
	}
	alpha = Alphas[(size_t)index];
	return true;
}

bool Mesh::GetMapVertex(int channel, int index, Point3& p)
{
	auto it = Channels.find(channel);
	if (it == Channels.end() || index < 0 || (size_t)index >= it->second.size()
		|| !it->second[(size_t)index].first)
		return false;
	Scene* scene = currentScene();
	const Point3& uv = it->second[(size_t)index].second;
	p = scene ? scene->conversion().uv(uv) : uv;
	return true;
}

FaceEx* Mesh::GetFace(int index)
{
	if (index < 0 || (size_t)index >= Faces.size())
		return nullptr;
	return &Faces[(size_t)index];
}

IGameMaterial* Mesh::GetMaterialFromFace(FaceEx* face)
{
	Material* m = Owner ? Owner->material() : nullptr;
	if (!m || !face)
		return m;
	if (m->IsMultiType())
		return m->subMaterialForId(face->matID);
	return m;
}

// ---- nodes -----------------------------------------------------------------------

Node::Node(Scene* scene, int id, std::wstring name, Kind kind, Node* parent)
	: Owner(scene), Id(id), Name(std::move(name)), ObjectKind(kind), Parent(parent)
{
	switch (kind)
	{
	case Kind::Mesh:
	{
		auto mesh = std::make_unique<Mesh>(this, Kind::Mesh);
		MeshPart = mesh.get();
		Object = std::move(mesh);
		break;
	}
	case Kind::Bone:
	case Kind::Helper:
	{
		auto support = std::make_unique<SupportObject>(this, kind);
		MeshPart = &support->display();
		Object = std::move(support);
		break;
	}
	default:
		Object = std::make_unique<OtherObject>(kind);
		break;
	}
}

Node& Node::setLocal(const GMatrix& local)
{
	Local = local;
	LocalTrack = nullptr;
	return *this;
}

Node& Node::setLocalTrack(Track track)
{
	LocalTrack = std::move(track);
	return *this;
}

Node& Node::setMaterial(Material* material, int index)
{
	NodeMaterial = material;
	MaterialIndex = material ? index : -1;
	return *this;
}

Mesh& Node::mesh()
{
	if (!MeshPart)
	{
		// Lights, cameras and others get a mesh only when a test asks.
		auto mesh = std::make_unique<Mesh>(this, ObjectKind);
		MeshPart = mesh.get();
		Object = std::move(mesh);
	}
	return *MeshPart;
}

GMatrix Node::localAt(TimeValue t) const
{
	return LocalTrack ? LocalTrack(t) : Local;
}

GMatrix Node::worldAt(TimeValue t) const
{
	GMatrix world = localAt(t);
	for (const Node* p = Parent; p; p = p->Parent)
		world = world * p->localAt(t);
	return world;
}

IGameObject* Node::GetIGameObject()
{
	return Object.get();
}

IGameNode* Node::GetNodeChild(int index)
{
	if (index < 0 || (size_t)index >= ViewChildren.size())
		return nullptr;
	return ViewChildren[(size_t)index];
}

static TimeValue resolveTime(TimeValue t, Scene* scene)
{
	if (t == TIME_NegInfinity)
		return scene ? scene->staticTime() : 0;
	return t;
}

GMatrix Node::GetLocalTM(TimeValue t)
{
	return Owner->conversion().matrix(localAt(resolveTime(t, Owner)));
}

GMatrix Node::GetWorldTM(TimeValue t)
{
	return Owner->conversion().matrix(worldAt(resolveTime(t, Owner)));
}

// ---- conversion -------------------------------------------------------------------

ConversionManager::ConversionManager() : System(IGAME_MAX)
{
	User = UserCoord{ 1, 1, 4, 2, 1, 0 };
	rebuild();
}

void ConversionManager::SetCoordSystem(CoordSystem system)
{
	System = system;
	++SetCalls;
	rebuild();
}

void ConversionManager::SetUserCoordSystem(UserCoord uc)
{
	User = uc;
	System = IGAME_USER;
	++SetCalls;
	rebuild();
}

static Point3 axisDirection(int code)
{
	switch (code)
	{
	case 0: return Point3(-1, 0, 0); // left
	case 1: return Point3(1, 0, 0);  // right
	case 2: return Point3(0, 0, 1);  // up
	case 3: return Point3(0, 0, -1); // down
	case 4: return Point3(0, 1, 0);  // in
	case 5: return Point3(0, -1, 0); // out
	default: return Point3(0, 0, 0);
	}
}

void ConversionManager::rebuild()
{
	for (auto& row : C)
		row[0] = row[1] = row[2] = 0.f;
	switch (System)
	{
	case IGAME_MAX:
		C[0][0] = C[1][1] = C[2][2] = 1.f;
		break;
	case IGAME_D3D: // (x, z, y)
		C[0][0] = 1.f; C[2][1] = 1.f; C[1][2] = 1.f;
		break;
	case IGAME_OGL: // (x, z, -y)
		C[0][0] = 1.f; C[2][1] = 1.f; C[1][2] = -1.f;
		break;
	case IGAME_USER:
	{
		const Point3 d[3] = { axisDirection(User.xAxis), axisDirection(User.yAxis), axisDirection(User.zAxis) };
		for (int j = 0; j < 3; ++j)
			for (int i = 0; i < 3; ++i)
				C[i][j] = d[j][i];
		break;
	}
	}
}

Point3 ConversionManager::point(const Point3& p) const
{
	return Point3(p.x * C[0][0] + p.y * C[1][0] + p.z * C[2][0],
		p.x * C[0][1] + p.y * C[1][1] + p.z * C[2][1],
		p.x * C[0][2] + p.y * C[1][2] + p.z * C[2][2]);
}

Point3 ConversionManager::vector(const Point3& v) const
{
	return point(v);
}

GMatrix ConversionManager::matrix(const GMatrix& m) const
{
	// M' = C^-1 M C; C is a signed permutation, so C^-1 = C^T. A degenerate
	// user record (an axis code out of range) still gives a defined result.
	GMatrix c, ct;
	for (int i = 0; i < 3; ++i)
		for (int j = 0; j < 3; ++j)
		{
			c.m[i][j] = C[i][j];
			ct.m[i][j] = C[j][i];
		}
	return ct * m * c;
}

Point3 ConversionManager::uv(const Point3& uvw) const
{
	Point3 out = uvw;
	if (System == IGAME_USER)
	{
		if (User.uAxis == 0)
			out.x = 1.f - out.x;
		if (User.vAxis == 1)
			out.y = 1.f - out.y;
	}
	return out;
}

// ---- scene ------------------------------------------------------------------------

Scene::Scene()
{
	setAnimRange(0, 100);
}

Scene::~Scene()
{
	if (currentScene() == this)
		setCurrentScene(nullptr);
}

Node& Scene::addNode(const std::wstring& name, Kind kind, Node* parent)
{
	Nodes.push_back(std::make_unique<Node>(this, (int)Nodes.size() + 1, name, kind, parent));
	Node* n = Nodes.back().get();
	if (parent)
		parent->Children.push_back(n);
	return *n;
}

Material& Scene::addMaterial(const std::wstring& name)
{
	Materials.push_back(std::make_unique<Material>(name));
	return *Materials.back();
}

int Scene::rootIndex(const Material* material) const
{
	for (size_t i = 0; i < Materials.size(); ++i)
		if (Materials[i].get() == material)
			return (int)i;
	return -1;
}

void Scene::setFrameRate(int fps)
{
	const int startFrame = Range.Start() / ticksPerFrame();
	const int endFrame = Range.End() / ticksPerFrame();
	FrameRate = fps > 0 ? fps : 30;
	setAnimRange(startFrame, endFrame);
}

void Scene::setAnimRange(int startFrame, int endFrame)
{
	Range = Interval(startFrame * ticksPerFrame(), endFrame * ticksPerFrame());
}

Node* Scene::findNode(const std::wstring& name) const
{
	for (const auto& n : Nodes)
		if (n->Name == name)
			return n.get();
	return nullptr;
}

Node* Scene::findNode(int id) const
{
	if (id < 1 || (size_t)id > Nodes.size())
		return nullptr;
	return Nodes[(size_t)id - 1].get();
}

bool Scene::InitialiseIGame(bool selected)
{
	++InitCalls;
	SelectionOnly = selected;
	TopLevel.clear();
	for (auto& n : Nodes)
	{
		n->ViewParent = nullptr;
		n->ViewChildren.clear();
	}
	// Depth first over the real hierarchy; `seen` is the nearest ancestor
	// that is part of the view.
	std::function<void(Node*, Node*)> walk = [&](Node* node, Node* seen) {
		const bool visible = !selected || node->Selected;
		Node* next = seen;
		if (visible)
		{
			node->ViewParent = seen;
			if (seen)
				seen->ViewChildren.push_back(node);
			else
				TopLevel.push_back(node);
			next = node;
		}
		for (Node* c : node->Children)
			walk(c, next);
	};
	for (auto& n : Nodes)
		if (!n->Parent)
			walk(n.get(), nullptr);
	Initialised = true;
	return true;
}

IGameMaterial* Scene::GetRootMaterial(int index)
{
	if (index < 0 || (size_t)index >= Materials.size())
		return nullptr;
	return Materials[(size_t)index].get();
}

IGameNode* Scene::GetTopLevelNode(int index)
{
	if (index < 0 || (size_t)index >= TopLevel.size())
		return nullptr;
	return TopLevel[(size_t)index];
}

void Scene::ReleaseIGame()
{
	++ReleaseCalls;
	Initialised = false;
	TopLevel.clear();
	for (auto& n : Nodes)
	{
		n->ViewParent = nullptr;
		n->ViewChildren.clear();
	}
}

// ---- host ----------------------------------------------------------------------------

const MCHAR* Host::GetDir(int which)
{
	return which == APP_MAXROOT_DIR ? RootDir.c_str() : L"";
}

Interval Host::GetAnimRange()
{
	Scene* s = currentScene();
	return s ? s->animRange() : Interval(0, 100 * 160);
}

} // namespace maxsub
