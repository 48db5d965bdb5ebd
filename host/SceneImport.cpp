#include "host/SceneImport.h"
#include "host/ImportAnimation.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace halvex
{

namespace
{

// ---- text ----------------------------------------------------------------

// Assimp's strings are UTF-8; the scene's are wide (UTF-32 here). Broken
// sequences become U+FFFD rather than being dropped silently.
std::wstring widen(const char* text)
{
	std::wstring out;
	const unsigned char* p = (const unsigned char*)text;
	while (*p)
	{
		unsigned c = *p;
		int more = 0;
		if (c < 0x80)
			more = 0;
		else if ((c & 0xE0) == 0xC0)
		{
			c &= 0x1F;
			more = 1;
		}
		else if ((c & 0xF0) == 0xE0)
		{
			c &= 0x0F;
			more = 2;
		}
		else if ((c & 0xF8) == 0xF0)
		{
			c &= 0x07;
			more = 3;
		}
		else
		{
			out.push_back(0xFFFD);
			++p;
			continue;
		}
		++p;
		bool ok = true;
		for (int i = 0; i < more; ++i)
		{
			if ((*p & 0xC0) != 0x80)
			{
				ok = false;
				break;
			}
			c = (c << 6) | (*p & 0x3F);
			++p;
		}
		out.push_back(ok ? (wchar_t)c : (wchar_t)0xFFFD);
	}
	return out;
}

std::string oneLine(std::string text)
{
	for (char& c : text)
		if (c == '\n' || c == '\r')
			c = ' ';
	while (!text.empty() && text.back() == ' ')
		text.pop_back();
	return text;
}

// ---- axes ----------------------------------------------------------------

// The file's axes as Assimp reports them in the scene metadata (FBX gives
// UpAxis, FrontAxis, CoordAxis and their signs); Assimp's own system (Y up,
// Z towards the viewer, X right) where nothing or nothing sensible is given.
struct SFileAxes
{
	int Up = 1, UpSign = 1;
	int Front = 2, FrontSign = 1;
	int Coord = 0, CoordSign = 1;
};

SFileAxes readAxes(const aiScene& scene)
{
	SFileAxes axes;
	const aiMetadata* meta = scene.mMetaData;
	if (!meta)
		return axes;
	SFileAxes read = axes;
	int32_t v;
	const auto axis = [&](const char* key, int& out) { if (meta->Get(key, v)) out = v; };
	const auto sign = [&](const char* key, int& out) { if (meta->Get(key, v)) out = v < 0 ? -1 : 1; };
	axis("UpAxis", read.Up);
	sign("UpAxisSign", read.UpSign);
	axis("FrontAxis", read.Front);
	sign("FrontAxisSign", read.FrontSign);
	axis("CoordAxis", read.Coord);
	sign("CoordAxisSign", read.CoordSign);
	const bool valid = read.Up >= 0 && read.Up < 3 && read.Front >= 0 && read.Front < 3
		&& read.Coord >= 0 && read.Coord < 3 && read.Up != read.Front && read.Up != read.Coord
		&& read.Front != read.Coord;
	return valid ? read : axes;
}

// Change of basis from the file into 3ds Max's right-handed Z-up system:
// the file's right axis becomes +X, its up axis +Z and its front (the side
// facing the viewer) -Y, where 3ds Max's front view looks from.
aiMatrix3x3 toMaxAxes(const SFileAxes& a)
{
	aiMatrix3x3 m(0, 0, 0, 0, 0, 0, 0, 0, 0);
	m[0][a.Coord] = (float)a.CoordSign;
	m[1][a.Front] = (float)-a.FrontSign;
	m[2][a.Up] = (float)a.UpSign;
	return m;
}

// ---- the conversion of the whole scene -----------------------------------

struct SConversion
{
	aiMatrix3x3 Axes;       // file -> 3ds Max, orthonormal
	float Scale = 1.f;
	bool Mirror = false;    // the axes change handedness
	aiMatrix4x4 K, KInverse; // Scale * Axes and its inverse

	void init(const aiMatrix3x3& axes, float scale)
	{
		Axes = axes;
		Scale = scale;
		Mirror = axes.Determinant() < 0;
		aiMatrix3x3 inv = axes;
		inv.Transpose();
		K = aiMatrix4x4(axes);
		KInverse = aiMatrix4x4(inv);
		for (int r = 0; r < 3; ++r)
			for (int c = 0; c < 3; ++c)
			{
				K[r][c] *= scale;
				KInverse[r][c] /= scale;
			}
	}

	Point3 point(const aiVector3D& p) const
	{
		const aiVector3D q = Axes * p;
		return Point3(q.x * Scale, q.y * Scale, q.z * Scale);
	}

	Point3 normal(const aiVector3D& n) const
	{
		aiVector3D q = Axes * n;
		const float len = q.Length();
		if (len > 0)
			q /= len;
		return Point3(q.x, q.y, q.z);
	}

	// A file transform (column vectors) as a 3ds Max transform (row vectors):
	// K M K^-1 keeps node transforms and converted points in agreement.
	GMatrix transform(const aiMatrix4x4& m) const
	{
		const aiMatrix4x4 c = K * m * KInverse;
		GMatrix g;
		for (int r = 0; r < 4; ++r)
			for (int col = 0; col < 4; ++col)
				g.m[r][col] = c[col][r];
		return g;
	}
};

// ---- the take ------------------------------------------------------------

// Everything a node track needs after the importer is gone.
struct STake
{
	SConversion Conversion;
	double TicksPerSecond = 25.0;
	std::vector<SNodeKeys> Channels;
};

// ---- the builder ---------------------------------------------------------

class CSceneBuilder
{
public:
	CSceneBuilder(const aiScene& src, maxsub::Scene& dst, const SConversion& conversion)
		: Src(src), Dst(dst), Conversion(conversion) {}

	// Returns false with `error` set when the take cannot be chosen.
	bool build(const SImportOptions& options, std::string& error);

private:
	void collectNames(const aiNode* node);
	void buildMaterials();
	void createNodes(const aiNode* node, maxsub::Node* parent);
	maxsub::Kind kindOf(const aiNode* node) const;
	void buildMesh(const aiNode* node, maxsub::Node& dst);
	std::wstring textureFile(const aiString& path) const;
	void fillMaterial(const aiMaterial& src, maxsub::Material& dst) const;
	void animate(int takeIndex);

	const aiScene& Src;
	maxsub::Scene& Dst;
	SConversion Conversion;
	maxsub::Material* Multi = nullptr;
	std::map<std::string, const aiNode*> FirstByName;
	std::set<const aiNode*> Bones;
	std::set<std::string> Lights, Cameras;
	std::vector<std::pair<const aiNode*, maxsub::Node*>> Created;
	std::unordered_map<const aiNode*, maxsub::Node*> NodeOf;
	maxsub::Node* RootMeshNode = nullptr;
};

void CSceneBuilder::collectNames(const aiNode* node)
{
	FirstByName.emplace(node->mName.C_Str(), node);
	for (unsigned i = 0; i < node->mNumChildren; ++i)
		collectNames(node->mChildren[i]);
}

maxsub::Kind CSceneBuilder::kindOf(const aiNode* node) const
{
	if (node->mNumMeshes > 0)
		return maxsub::Kind::Mesh;
	if (Bones.count(node))
		return maxsub::Kind::Bone;
	if (Lights.count(node->mName.C_Str()))
		return maxsub::Kind::Light;
	if (Cameras.count(node->mName.C_Str()))
		return maxsub::Kind::Camera;
	return maxsub::Kind::Helper;
}

void CSceneBuilder::createNodes(const aiNode* node, maxsub::Node* parent)
{
	maxsub::Node& n = Dst.addNode(widen(node->mName.C_Str()), kindOf(node), parent);
	Created.emplace_back(node, &n);
	NodeOf[node] = &n;
	for (unsigned i = 0; i < node->mNumChildren; ++i)
		createNodes(node->mChildren[i], &n);
}

std::wstring CSceneBuilder::textureFile(const aiString& path) const
{
	// An embedded texture ("*0") has no file of its own; the name it came
	// with is the best a user would see.
	if (path.length > 0 && path.data[0] == '*')
	{
		const aiTexture* tex = Src.GetEmbeddedTexture(path.C_Str());
		if (tex && tex->mFilename.length > 0)
			return widen(tex->mFilename.C_Str());
	}
	return widen(path.C_Str());
}

void CSceneBuilder::fillMaterial(const aiMaterial& src, maxsub::Material& dst) const
{
	// Diffuse maps first: the exporter names a material after its first bitmap.
	static const aiTextureType Types[] = {
		aiTextureType_DIFFUSE, aiTextureType_BASE_COLOR, aiTextureType_SPECULAR,
		aiTextureType_AMBIENT, aiTextureType_EMISSIVE, aiTextureType_EMISSION_COLOR,
		aiTextureType_HEIGHT, aiTextureType_NORMALS, aiTextureType_NORMAL_CAMERA,
		aiTextureType_SHININESS, aiTextureType_OPACITY, aiTextureType_DISPLACEMENT,
		aiTextureType_LIGHTMAP, aiTextureType_AMBIENT_OCCLUSION, aiTextureType_REFLECTION,
		aiTextureType_METALNESS, aiTextureType_DIFFUSE_ROUGHNESS, aiTextureType_SHEEN,
		aiTextureType_CLEARCOAT, aiTextureType_TRANSMISSION, aiTextureType_UNKNOWN };
	std::set<std::wstring> seen;
	for (aiTextureType type : Types)
		for (unsigned i = 0; i < src.GetTextureCount(type); ++i)
		{
			aiString path;
			if (src.GetTexture(type, i, &path) != AI_SUCCESS || path.length == 0)
				continue;
			// Some readers report one image under several slots (diffuse and
			// base colour); 3ds Max would show it once.
			const std::wstring file = textureFile(path);
			if (seen.insert(file).second)
				dst.addBitmap(file);
		}

	aiColor3D c;
	if (src.Get(AI_MATKEY_COLOR_AMBIENT, c) == AI_SUCCESS)
		dst.setAmbient(Point3(c.r, c.g, c.b));
	if (src.Get(AI_MATKEY_COLOR_DIFFUSE, c) == AI_SUCCESS)
		dst.setDiffuse(Point3(c.r, c.g, c.b));
	if (src.Get(AI_MATKEY_COLOR_SPECULAR, c) == AI_SUCCESS)
		dst.setSpecular(Point3(c.r, c.g, c.b));
	if (src.Get(AI_MATKEY_COLOR_EMISSIVE, c) == AI_SUCCESS)
		dst.setEmissive(Point3(c.r, c.g, c.b));
	float opacity;
	if (src.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS)
		dst.setOpacity(opacity);
}

void CSceneBuilder::buildMaterials()
{
	unsigned count = Src.mNumMaterials;
	// Some readers (glTF) append an unnamed or default material in case a
	// mesh lacks one; when no mesh uses it, it is not part of the file.
	if (count > 0)
	{
		aiString name;
		bool used = false;
		for (unsigned m = 0; m < Src.mNumMeshes; ++m)
			used = used || Src.mMeshes[m]->mMaterialIndex == count - 1;
		Src.mMaterials[count - 1]->Get(AI_MATKEY_NAME, name);
		if (!used && (name.length == 0 || std::strcmp(name.C_Str(), AI_DEFAULT_MATERIAL_NAME) == 0))
			--count;
	}
	if (count == 0)
		return;
	Multi = &Dst.addMaterial(L"Multi-material");
	for (unsigned i = 0; i < count; ++i)
	{
		const aiMaterial& src = *Src.mMaterials[i];
		aiString name;
		std::wstring wname;
		if (src.Get(AI_MATKEY_NAME, name) == AI_SUCCESS && name.length > 0)
			wname = widen(name.C_Str());
		else
			wname = L"Material #" + std::to_wstring(i);
		fillMaterial(src, Multi->addSubMaterial(wname, (int)i));
	}
}

// One vertex of the merged mesh with everything that must agree for two
// vertices to be joined.
struct SVertexData
{
	Point3 Pos, Normal, Color;
	float Alpha = 1.f;
	std::vector<std::pair<int, Point3>> UV; // (channel, uvw)
	std::vector<std::pair<int, float>> Bones;

	std::string key() const
	{
		std::string k;
		const auto put = [&k](const void* p, size_t n) { k.append((const char*)p, n); };
		put(&Pos, sizeof(float) * 3);
		put(&Normal, sizeof(float) * 3);
		put(&Color, sizeof(float) * 3);
		put(&Alpha, sizeof Alpha);
		for (const auto& uv : UV)
		{
			put(&uv.first, sizeof uv.first);
			put(&uv.second, sizeof(float) * 3);
		}
		k.push_back('|');
		for (const auto& b : Bones)
		{
			put(&b.first, sizeof b.first);
			put(&b.second, sizeof b.second);
		}
		return k;
	}
};

void CSceneBuilder::buildMesh(const aiNode* node, maxsub::Node& dst)
{
	maxsub::Mesh& mesh = dst.mesh();
	bool skinned = false;
	for (unsigned m = 0; m < node->mNumMeshes; ++m)
		if (Src.mMeshes[node->mMeshes[m]]->mNumBones > 0)
			skinned = true;

	// Vertices equal in every respect are joined across the node's meshes
	// too, so the merged mesh shares geometry vertices where the parts meet.
	std::unordered_map<std::string, int> joined;
	for (unsigned m = 0; m < node->mNumMeshes; ++m)
	{
		const aiMesh& src = *Src.mMeshes[node->mMeshes[m]];

		std::vector<std::vector<std::pair<int, float>>> bindings(src.mNumVertices);
		for (unsigned b = 0; b < src.mNumBones; ++b)
		{
			const aiBone& bone = *src.mBones[b];
			auto found = FirstByName.find(bone.mName.C_Str());
			if (found == FirstByName.end())
				continue;
			auto node = NodeOf.find(found->second);
			if (node == NodeOf.end())
				continue;
			for (unsigned w = 0; w < bone.mNumWeights; ++w)
			{
				const aiVertexWeight& vw = bone.mWeights[w];
				// Readers pad unused influences with weight 0; they bind nothing.
				if (vw.mVertexId < src.mNumVertices && vw.mWeight != 0.f)
					bindings[vw.mVertexId].emplace_back(node->second->id(), vw.mWeight);
			}
		}

		std::vector<int> index(src.mNumVertices);
		for (unsigned v = 0; v < src.mNumVertices; ++v)
		{
			SVertexData d;
			d.Pos = Conversion.point(src.mVertices[v]);
			if (src.mNormals)
				d.Normal = Conversion.normal(src.mNormals[v]);
			d.Color = Point3(1, 1, 1);
			if (src.mColors[0])
			{
				const aiColor4D& c = src.mColors[0][v];
				d.Color = Point3(c.r, c.g, c.b);
				d.Alpha = c.a;
			}
			for (int ch = 0; ch < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++ch)
				if (src.mTextureCoords[ch])
				{
					const aiVector3D& uv = src.mTextureCoords[ch][v];
					d.UV.emplace_back(ch + 1, Point3(uv.x, uv.y, uv.z));
				}
			d.Bones = std::move(bindings[v]);

			auto it = joined.emplace(d.key(), mesh.GetNumberOfVerts());
			if (it.second)
			{
				const int i = mesh.addVertex(d.Pos);
				mesh.addNormal(d.Normal);
				mesh.addColor(d.Color);
				mesh.addAlpha(d.Alpha);
				for (const auto& uv : d.UV)
					mesh.setMapVertex(uv.first, i, uv.second.x, uv.second.y);
				if (skinned)
					mesh.skin().bind(i, d.Bones);
			}
			index[v] = it.first->second;
		}

		for (unsigned f = 0; f < src.mNumFaces; ++f)
		{
			const aiFace& face = src.mFaces[f];
			// Points and lines that survive triangulation are no surface.
			if (face.mNumIndices != 3)
				continue;
			const int a = index[face.mIndices[0]], b = index[face.mIndices[1]], c = index[face.mIndices[2]];
			// A mirroring axis change would turn every face inside out.
			if (Conversion.Mirror)
				mesh.addFace(a, c, b, (int)src.mMaterialIndex);
			else
				mesh.addFace(a, b, c, (int)src.mMaterialIndex);
		}
	}
	if (skinned)
		mesh.skin(); // a skin even when no vertex kept a binding
	if (Multi)
		dst.setMaterial(Multi, 0);
}

void CSceneBuilder::animate(int takeIndex)
{
	auto take = std::make_shared<STake>();
	take->Conversion = Conversion;
	std::unordered_map<const aiNode*, int> channelOf;
	if (takeIndex >= 0)
	{
		const aiAnimation& anim = *Src.mAnimations[takeIndex];
		take->TicksPerSecond = ticksPerSecond(anim);
		for (unsigned c = 0; c < anim.mNumChannels; ++c)
		{
			const aiNodeAnim& ch = *anim.mChannels[c];
			auto found = FirstByName.find(ch.mNodeName.C_Str());
			if (found == FirstByName.end() || channelOf.count(found->second))
				continue;
			channelOf[found->second] = (int)take->Channels.size();
			take->Channels.push_back(copyKeys(ch));
		}
	}
	const auto channel = [&](const aiNode* n) {
		auto it = channelOf.find(n);
		return it == channelOf.end() ? -1 : it->second;
	};

	const aiNode* root = Src.mRootNode;
	const int rootChannel = channel(root);
	const aiMatrix4x4 rootRest = root->mTransformation;
	for (const auto& created : Created)
	{
		const aiNode* src = created.first;
		maxsub::Node& dst = *created.second;
		// The root is no node of its own: its transform is carried by the
		// top-level nodes.
		const bool topLevel = src->mParent == root;
		const int ch = channel(src);
		const aiMatrix4x4 rest = src->mTransformation;
		if (ch < 0 && (!topLevel || rootChannel < 0))
		{
			dst.setLocal(Conversion.transform(topLevel ? rootRest * rest : rest));
			continue;
		}
		const int rch = topLevel ? rootChannel : -1;
		dst.setLocalTrack([take, rest, ch, rootRest, rch, topLevel](TimeValue t) {
			const double tick = (double)t / TICKS_PER_SECOND * take->TicksPerSecond;
			const auto keys = [&take](int i) { return i >= 0 ? &take->Channels[(size_t)i] : nullptr; };
			aiMatrix4x4 local = sampleLocal(keys(ch), rest, tick);
			if (topLevel)
				local = sampleLocal(keys(rch), rootRest, tick) * local;
			return take->Conversion.transform(local);
		});
	}
	if (RootMeshNode)
	{
		if (rootChannel < 0)
			RootMeshNode->setLocal(Conversion.transform(rootRest));
		else
			RootMeshNode->setLocalTrack([take, rootRest, rootChannel](TimeValue t) {
				const double tick = (double)t / TICKS_PER_SECOND * take->TicksPerSecond;
				return take->Conversion.transform(
					sampleLocal(&take->Channels[(size_t)rootChannel], rootRest, tick));
			});
	}
}

bool CSceneBuilder::build(const SImportOptions& options, std::string& error)
{
	const aiNode* root = Src.mRootNode;
	collectNames(root);
	for (unsigned m = 0; m < Src.mNumMeshes; ++m)
		for (unsigned b = 0; b < Src.mMeshes[m]->mNumBones; ++b)
		{
			auto found = FirstByName.find(Src.mMeshes[m]->mBones[b]->mName.C_Str());
			if (found != FirstByName.end())
				Bones.insert(found->second);
		}
	for (unsigned i = 0; i < Src.mNumLights; ++i)
		Lights.insert(Src.mLights[i]->mName.C_Str());
	for (unsigned i = 0; i < Src.mNumCameras; ++i)
		Cameras.insert(Src.mCameras[i]->mName.C_Str());

	int takeIndex = findTake(Src, options.Take);
	if (takeIndex < 0 && !options.Take.empty())
	{
		error = "no animation take \"" + options.Take + "\" (the file has "
			+ std::to_string(Src.mNumAnimations) + ")";
		return false;
	}

	buildMaterials();
	// Readers that keep all geometry on the root (STL, PLY) still give the
	// user a mesh node.
	if (root->mNumMeshes > 0)
	{
		RootMeshNode = &Dst.addNode(widen(root->mName.C_Str()), maxsub::Kind::Mesh);
		NodeOf[root] = RootMeshNode;
	}
	for (unsigned i = 0; i < root->mNumChildren; ++i)
		createNodes(root->mChildren[i], nullptr);
	if (RootMeshNode)
		buildMesh(root, *RootMeshNode);
	for (const auto& created : Created)
		if (created.first->mNumMeshes > 0)
			buildMesh(created.first, *created.second);
	animate(takeIndex);

	Dst.setFrameRate(options.FPS);
	if (options.HasRange)
		Dst.setAnimRange(options.RangeStart, options.RangeEnd);
	else
	{
		int frames = 0;
		if (takeIndex >= 0)
		{
			const aiAnimation& anim = *Src.mAnimations[takeIndex];
			frames = (int)std::lround(anim.mDuration / ticksPerSecond(anim) * options.FPS);
		}
		Dst.setAnimRange(0, frames);
	}
	return true;
}

} // namespace

std::unique_ptr<maxsub::Scene> importScene(const std::string& path,
	const SImportOptions& options, std::string& error)
{
	error.clear();
	struct stat st;
	if (path.empty() || stat(path.c_str(), &st) != 0)
	{
		error = path + ": no such file";
		return nullptr;
	}
	if (S_ISDIR(st.st_mode))
	{
		error = path + ": is a directory, not a scene file";
		return nullptr;
	}
	if (!(options.FPS > 0))
	{
		error = path + ": the frame rate must be positive";
		return nullptr;
	}
	if (!(options.Scale > 0.f) || !std::isfinite(options.Scale))
	{
		error = path + ": the scale must be a positive number";
		return nullptr;
	}

	Assimp::Importer importer;
	// Skeleton stand-in meshes and pivot helper nodes are Assimp's inventions,
	// not part of the file.
	importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
	importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
	const aiScene* src = importer.ReadFile(path,
		aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_GenSmoothNormals
		| aiProcess_ValidateDataStructure);
	if (!src)
	{
		std::string reason = oneLine(importer.GetErrorString());
		error = path + ": cannot be read as a scene" + (reason.empty() ? "" : ": " + reason);
		return nullptr;
	}
	if (!src->mRootNode || (src->mRootNode->mNumChildren == 0 && src->mRootNode->mNumMeshes == 0))
	{
		error = path + ": the scene holds no nodes";
		return nullptr;
	}

	SConversion conversion;
	conversion.init(toMaxAxes(readAxes(*src)), options.Scale);
	auto scene = std::make_unique<maxsub::Scene>();
	scene->setFileName(widen(path.c_str()));
	CSceneBuilder builder(*src, *scene, conversion);
	std::string reason;
	if (!builder.build(options, reason))
	{
		error = path + ": " + reason;
		return nullptr;
	}
	return scene;
}

} // namespace halvex
