// Throughput of the skeleton mapping and the Meteor and Zenthra writers on a
// synthetic model of 200,000 vertices, 300,000 triangles and 36 bones with
// 1,000 frames each. Reports the bytes written per second (for the mapping:
// the bytes of the vertex and face records it walks).
#include "core/COstrel.h"
#include "meteor/MeteorSkeleton.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace irr;

namespace
{

const u32 VertexCount = 200000;
const u32 TriangleCount = 300000;
const s32 FrameCount = 1000;

// The model, its device and its output folder, made once for all runs.
class CBenchModel
{
public:
	CBenchModel()
	{
		SIrrlichtCreationParameters p;
		p.DriverType = video::EDT_NULL;
		p.LoggingLevel = ELL_NONE;
		Device = createDeviceEx(p);

		char pattern[] = "/tmp/halvex-meteor-bench-XXXXXX";
		Dir = mkdtemp(pattern) ? pattern : "/tmp";
		Obj.Device = Device;
		Obj.Params.OutputDir = core::stringw(Dir.c_str()) + L"/";
		Obj.Params.BaseName = L"bench";
		Obj.LogFile = Device->getFileSystem()->createAndWriteFile((Dir + "/bench.log").c_str(), false);
		Obj.CoordType = 4;
		Obj.MergeAction = false;
		fill(Obj);
		Unmapped = Obj.Verts;
		UnmappedFaces = Obj.Faces;
		Obj.mapMeteorBones();
	}

	~CBenchModel()
	{
		if (Obj.LogFile)
			Obj.LogFile->drop();
		Obj.LogFile = 0;
		Obj.Device = 0;
		if (Device)
			Device->drop();
		std::filesystem::remove_all(Dir);
	}

	u64 sizeOf(const char* ext) const
	{
		return std::filesystem::file_size(Dir + "/bench" + ext);
	}

	static void fill(COstrel& m)
	{
		for (s32 k = 0; k < MeteorSkeletonSize; ++k)
		{
			m.Bones.push_back(COstrel::SBone());
			COstrel::SBone& b = m.Bones.getLast();
			b.NodeID = 1000 + k;
			b.Name = MeteorBoneNames[k];
			b.ParentName = k ? MeteorBoneNames[k / 2] : "";
			b.Pivot.set(0.1f * k, 0.2f * k, 0.3f * k);
			b.Keys.reallocate(FrameCount);
			for (s32 f = 0; f < FrameCount; ++f)
			{
				COstrel::SFrameKey key;
				key.Frame = static_cast<f32>(f);
				key.Pos.set(0.01f * f, 0.02f * k, -0.5f * f);
				key.Scale.set(1.f, 1.f, 1.f);
				key.Rotation.set(0.001f * f, 0.002f * k, 0.3f, 0.9f);
				b.Keys.push_back(key);
			}
		}
		m.FrameCount = FrameCount;

		for (s32 i = 0; i < 8; ++i)
		{
			COstrel::SMaterial mat;
			mat.ID = i;
			mat.TextureName = core::stringw(L"texture_") + core::stringw(i) + L".dds";
			mat.Opacity = 1.f;
			m.Materials.push_back(mat);
		}

		m.Verts.reallocate(VertexCount);
		for (u32 i = 0; i < VertexCount; ++i)
		{
			COstrel::SVert v;
			v.Pos.set(i * 0.001f, -1.5f + i * 0.0003f, 100.f - i * 0.002f);
			v.Normal.set(0.57735f, -0.57735f, 0.57735f);
			v.Color = video::SColorf(200.f, 150.f, 100.f, 255.f);
			v.TCoords.set((i % 1024) / 1024.f, (i / 1024 % 1024) / 1024.f);
			v.BoneIDs.push_back(1000 + static_cast<s32>(i % 36));
			v.Weights.push_back(0.75f);
			v.BoneIDs.push_back(1000 + static_cast<s32>((i + 7) % 36));
			v.Weights.push_back(0.25f);
			m.Verts.push_back(v);
		}
		m.Faces.reallocate(TriangleCount);
		for (u32 i = 0; i < TriangleCount; ++i)
		{
			COstrel::SFace f;
			f.Indices[0] = i % VertexCount;
			f.Indices[1] = (i + 1) % VertexCount;
			f.Indices[2] = (i * 7 + 3) % VertexCount;
			f.MaterialID = static_cast<s32>(i % 8);
			m.Faces.push_back(f);
		}
		m.VertCount = m.Verts.size();
		m.FaceCount = m.Faces.size();
	}

	IrrlichtDevice* Device;
	std::string Dir;
	COstrel Obj;
	core::array<COstrel::SVert> Unmapped;
	core::array<COstrel::SFace> UnmappedFaces;
};

CBenchModel& model()
{
	static CBenchModel m;
	return m;
}

typedef bool (COstrel::*WriterFn)();

void runWriter(benchmark::State& state, WriterFn writer, std::initializer_list<const char*> outputs)
{
	CBenchModel& m = model();
	for (auto _ : state)
	{
		const bool ok = (m.Obj.*writer)();
		benchmark::DoNotOptimize(ok);
		if (!ok)
		{
			state.SkipWithError("writer failed");
			return;
		}
	}
	u64 bytes = 0;
	for (const char* ext : outputs)
		bytes += m.sizeOf(ext);
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
	state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_exportANT(benchmark::State& state) { runWriter(state, &COstrel::exportANT, { ".ant" }); }
void BM_exportGMC(benchmark::State& state) { runWriter(state, &COstrel::exportGMC, { ".gmc", ".des" }); }
void BM_exportGMB(benchmark::State& state) { runWriter(state, &COstrel::exportGMB, { ".gmb", ".des" }); }
void BM_exportAMB(benchmark::State& state) { runWriter(state, &COstrel::exportAMB, { ".amb" }); }
void BM_exportSKC(benchmark::State& state) { runWriter(state, &COstrel::exportSKC, { ".amb", ".skc", ".bnc" }); }

void BM_mapMeteorBones(benchmark::State& state)
{
	CBenchModel& m = model();
	COstrel mapped;
	mapped.CoordType = 4;
	for (auto _ : state)
	{
		state.PauseTiming();
		mapped.Verts = m.Unmapped;
		mapped.Faces = m.UnmappedFaces;
		mapped.Bones = m.Obj.Bones;
		mapped.Materials = m.Obj.Materials;
		for (u32 i = 0; i < mapped.Bones.size(); ++i)
		{
			mapped.Bones[i].MeteorIndex = -1;
			mapped.Bones[i].ChildCount = 0;
		}
		state.ResumeTiming();
		mapped.mapMeteorBones();
	}
	const u64 walked = static_cast<u64>(VertexCount) * (2 * sizeof(s32)) + static_cast<u64>(TriangleCount) * sizeof(s32);
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * walked));
}

} // namespace

BENCHMARK(BM_mapMeteorBones)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exportAMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exportSKC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exportANT)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exportGMC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exportGMB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
