#include "MeteorTestSupport.h"

#include "meteor/MeteorSkeleton.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace irr;

namespace halvex_test
{

namespace
{

struct SDeviceHolder
{
	SDeviceHolder()
	{
		SIrrlichtCreationParameters p;
		p.DriverType = video::EDT_NULL;
		p.LoggingLevel = ELL_NONE;
		Device = createDeviceEx(p);
	}
	~SDeviceHolder()
	{
		if (Device)
			Device->drop();
	}
	IrrlichtDevice* Device;
};

} // namespace

IrrlichtDevice* nullDevice()
{
	static SDeviceHolder holder;
	return holder.Device;
}

std::string readFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path)
{
	return std::filesystem::exists(path);
}

s32 s32At(const std::string& bytes, size_t offset)
{
	u32 v = 0;
	for (int i = 3; i >= 0; --i)
		v = (v << 8) | static_cast<u8>(bytes.at(offset + i));
	return static_cast<s32>(v);
}

f32 f32At(const std::string& bytes, size_t offset)
{
	const u32 v = static_cast<u32>(s32At(bytes, offset));
	f32 f;
	std::memcpy(&f, &v, sizeof(f));
	return f;
}

void expectMatchesGolden(const std::string& actualPath, const std::string& golden)
{
	const std::string goldenPath = std::string(HALVEX_SOURCE_DIR) + "/tests/meteor/golden/" + golden;
	const std::string actual = readFile(actualPath);
	const char* update = std::getenv("HALVEX_UPDATE_GOLDEN");
	if (update && std::string(update) == "1")
	{
		writeFile(goldenPath, actual);
		std::printf("golden rewritten: %s (%zu bytes)\n", goldenPath.c_str(), actual.size());
		return;
	}
	ASSERT_TRUE(fileExists(actualPath)) << actualPath << " was not written";
	ASSERT_TRUE(fileExists(goldenPath)) << "missing golden " << goldenPath;
	const std::string expected = readFile(goldenPath);
	if (actual == expected)
		return;

	size_t offset = 0;
	while (offset < actual.size() && offset < expected.size() && actual[offset] == expected[offset])
		++offset;
	size_t line = 1;
	for (size_t i = 0; i < offset; ++i)
		if (expected[i] == '\n')
			++line;
	const std::string actualCopy = std::filesystem::path(actualPath).parent_path().string() + "/" + golden + ".actual";
	writeFile(actualCopy, actual);
	ADD_FAILURE() << golden << ": first difference at offset " << offset << " (line " << line
		<< "), sizes " << actual.size() << " written vs " << expected.size() << " expected; output kept as "
		<< actualCopy;
}

s32 characterNodeId(s32 k)
{
	return 100 + k;
}

COstrel::SBone& addBone(COstrel& model, const char* name, const char* parent, s32 nodeId, s32 frames, s32 seed)
{
	model.Bones.push_back(COstrel::SBone());
	COstrel::SBone& b = model.Bones.getLast();
	b.NodeID = nodeId;
	b.Name = name;
	b.ParentName = parent;
	// Multiples of powers of two: exact in binary, short in text.
	b.Pivot.set(static_cast<f32>(seed), 0.5f * seed, -0.25f * seed);
	b.Rotation.set(seed / 64.f, -seed / 128.f, 0.125f, 1.f - seed / 64.f);
	for (s32 f = 0; f < frames; ++f)
	{
		COstrel::SFrameKey key;
		key.Frame = static_cast<f32>(f);
		key.Pos.set(seed + 0.5f * f, static_cast<f32>(f), -static_cast<f32>(seed));
		key.Scale.set(1.f, 1.f, 1.f);
		key.Rotation.set(0.25f * f, seed / 32.f, -0.5f, 0.5f);
		b.Keys.push_back(key);
	}
	return b;
}

void removeBone(COstrel& model, const char* name)
{
	for (u32 i = 0; i < model.Bones.size(); ++i)
		if (model.Bones[i].Name == name)
		{
			model.Bones.erase(i);
			return;
		}
}

namespace
{

// Scene parents of the Meteor skeleton, by Meteor index.
const char* const CharacterParents[MeteorSkeletonSize] =
{
	"", "b", "bad_Pelvis", "bad_Pelvis", "bad_L_Thigh", "bad_L_Calf",
	"bad_L_Foot", "bad_Pelvis", "bad_R_Thigh", "bad_R_Calf", "bad_R_Foot",
	"bau_Spine", "bau_Spine1", "bau_Neck", "bau_Spine1", "bau_L_Clavicle",
	"bau_L_UpperArm", "bau_L_Forearm", "bau_L_Hand", "bbu_L_Finger0",
	"bau_L_Hand", "bbu_L_Finger1", "bau_Spine1", "bau_R_Clavicle",
	"bau_R_UpperArm", "bau_R_Forearm", "bau_R_Hand", "bbu_R_Finger0",
	"bau_R_Hand", "bbu_R_Finger1",
	"b", "bau_Head", "bau_L_Hand", "bau_L_Hand", "bau_R_Hand", "bau_R_Hand"
};

COstrel::SVert vert(f32 x, f32 y, f32 z)
{
	COstrel::SVert v;
	v.Pos.set(x, y, z);
	v.Color = video::SColorf(0.f, 0.f, 0.f, 255.f);
	return v;
}

COstrel::SFace face(u32 a, u32 b, u32 c, s32 material)
{
	COstrel::SFace f;
	f.Indices[0] = a;
	f.Indices[1] = b;
	f.Indices[2] = c;
	f.MaterialID = material;
	return f;
}

COstrel::SMaterial material(s32 id, const wchar_t* texture, f32 opacity)
{
	COstrel::SMaterial m;
	m.ID = id;
	m.TextureName = texture;
	m.ColorKey = video::SColorf(0.f, 0.f, 0.f, 0.f);
	m.Opacity = opacity;
	return m;
}

} // namespace

void buildCharacter(COstrel& model, s32 frames)
{
	for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		addBone(model, MeteorBoneNames[k], CharacterParents[k], characterNodeId(k), frames, k);
	addBone(model, "Bip01_Footsteps", "", FootstepsNodeId, frames, 40);
	model.FrameCount = frames;

	COstrel::SMaterial skin = material(0, L"hero.jpg", 1.f);
	skin.AmbientColor = video::SColorf(0.5f, 0.25f, 0.125f, 255.f);
	skin.DiffuseColor = video::SColorf(1.f, 1.f, 1.f, 255.f);
	skin.SpecularColor = video::SColorf(0.f, 0.f, 0.f, 255.f);
	skin.EmissiveColor = video::SColorf(0.1f, 0.2f, 0.3f, 255.f);
	model.Materials.push_back(skin);
	model.Materials.push_back(material(5, L"null.jpg", 0.5f));
	model.Materials.push_back(material(9, L"", 0.25f));

	COstrel::SVert v = vert(1.f, 2.f, 3.f);
	v.Normal.set(0.f, 0.f, 1.f);
	v.Color = video::SColorf(255.f, 128.f, 0.f, 255.f);
	v.TCoords.set(0.25f, 0.75f);
	v.BoneIDs.push_back(characterNodeId(13));
	v.Weights.push_back(1.f);
	model.Verts.push_back(v);

	v = vert(-1.5f, 0.f, 2.25f);
	v.Normal.set(0.f, 1.f, 0.f);
	v.Color = video::SColorf(10.f, 20.f, 30.f, 40.f);
	v.TCoords.set(1.f, 0.f);
	v.BoneIDs.push_back(characterNodeId(17));
	v.Weights.push_back(0.75f);
	v.BoneIDs.push_back(characterNodeId(25));
	v.Weights.push_back(0.25f);
	model.Verts.push_back(v);

	v = vert(0.f, -3.f, 0.125f);
	v.Normal.set(1.f, 0.f, 0.f);
	v.TCoords.set(0.5f, 0.5f);
	v.BoneIDs.push_back(FootstepsNodeId);
	v.Weights.push_back(0.5f);
	v.BoneIDs.push_back(characterNodeId(0));
	v.Weights.push_back(0.5f);
	model.Verts.push_back(v);

	// No skin: the line ends after the texture coordinates.
	model.Verts.push_back(vert(4.f, 5.f, 6.f));

	v = vert(-4.f, -5.f, -6.f);
	v.BoneIDs.push_back(999);
	v.Weights.push_back(1.f);
	model.Verts.push_back(v);

	model.Faces.push_back(face(0, 1, 2, 0));
	model.Faces.push_back(face(2, 3, 0, 5));
	model.Faces.push_back(face(1, 3, 4, 7));

	model.VertCount = model.Verts.size();
	model.FaceCount = model.Faces.size();
}

void CMeteorTest::SetUp()
{
	ASSERT_NE(nullDevice(), nullptr);
	char pattern[] = "/tmp/halvex-meteor-XXXXXX";
	ASSERT_NE(mkdtemp(pattern), nullptr);
	Dir = pattern;
	Obj.Device = nullDevice();
	Obj.Params.OutputDir = core::stringw(Dir.c_str()) + L"/";
	Obj.Params.BaseName = L"hero";
	Obj.LogFile = Obj.Device->getFileSystem()->createAndWriteFile(path("hero.log").c_str(), false);
	ASSERT_NE(Obj.LogFile, nullptr);
}

std::string CMeteorTest::closeLog()
{
	if (Obj.LogFile)
	{
		Obj.LogFile->drop();
		Obj.LogFile = 0;
	}
	return readFile(path("hero.log"));
}

void CMeteorTest::TearDown()
{
	closeLog();
	Obj.Device = 0;
	// A failed test keeps its folder for the .actual files.
	if (!HasFailure() && !Dir.empty())
		std::filesystem::remove_all(Dir);
}

} // namespace halvex_test
