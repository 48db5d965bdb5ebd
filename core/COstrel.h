// The exporter object: the request, the user's settings, the state of the
// running export and the data model every writer reads.
//
// One object serves one export request: the shell creates it through
// getPluginModule, run shows the options window once, the window starts at
// most one export, and the shell deletes the object. The operations are
// spread over the folders of the pipeline: core (paths, driver, log),
// scene (extraction), meteor (mapping and writers) and ui (window, settings).
#pragma once

#include "core/IOstrel.h"

namespace irr
{

class COstrel : public IOstrel
{
public:
	// ---- data model -------------------------------------------------------

	// One per 3ds Max material and sub-material, depth first.
	struct SMaterial
	{
		s32 ID;                    // root: position in the root list; sub: ID its parent gives it
		core::stringw TextureName; // first bitmap's file name; "null.jpg" without maps
		video::SColorf ColorKey;
		video::SColorf AmbientColor;
		video::SColorf DiffuseColor;
		video::SColorf SpecularColor;
		video::SColorf EmissiveColor;
		f32 Opacity;

		SMaterial() : ID(0), Opacity(1.f) {}
	};

	// One per geometry vertex of every exported mesh.
	struct SVert
	{
		core::vector3df Pos;
		core::vector3df Normal;
		video::SColorf Color;          // 0..255 per component
		core::vector2df TCoords;
		core::array<s32> BoneIDs;      // node ids; bone indices after mapMeteorBones
		core::array<f32> Weights;      // parallel to BoneIDs
	};

	// One per triangle.
	struct SFace
	{
		core::stringw TextureName;
		u32 Indices[3];                // positions in Verts
		s32 MaterialID;                // position in Materials after mapMeteorBones
		IGameMaterial* Material;       // borrowed; valid while the scene lives

		SFace() : MaterialID(0), Material(0) { Indices[0] = Indices[1] = Indices[2] = 0; }
	};

	// One per bone and frame.
	struct SFrameKey
	{
		f32 Frame;
		core::vector3df Pos;
		core::vector3df Scale;
		core::quaternion Rotation;     // inverted rotation of the local transform
	};

	// One per exported bone or helper node.
	struct SBone
	{
		s32 MeteorIndex;               // slot in the Meteor skeleton, -1 unmapped
		s32 NodeID;
		IGameNode* Node;               // borrowed; valid while the scene lives
		s32 ChildCount;
		core::stringc Name;            // low byte of each UTF-16 unit, blanks made '_'
		core::stringc ParentName;
		core::vector3df Pivot;
		core::quaternion Rotation;     // inverted bind-pose rotation
		core::array<SFrameKey> Keys;

		SBone() : MeteorIndex(-1), NodeID(0), Node(0), ChildCount(0) {}
	};

	COstrel();
	virtual ~COstrel();

	// ---- IOstrel ----------------------------------------------------------
	virtual const c8* getName() const;
	virtual s32 run();                    // ui/run.cpp
	virtual bool exportScene();           // core/exportScene.cpp
	virtual SExportParams* getParams();
	virtual IrrlichtDevice* getDevice();
	virtual void setResult(s32 value);

	// ---- paths (core/COstrel.cpp) -------------------------------------------
	void preparePaths();
	// Splits a file name into directory (with '/' separators, keeping the
	// separator), base name (before the first dot of the file name) and
	// extension (after it). Each output may be null.
	static void splitFileName(const core::stringw& source, core::stringw* dir,
		core::stringw* base, core::stringw* ext);

	// ---- output (core/writeFormatted.cpp) -----------------------------------
	// printf-style text to an open write file, always with '.' as decimal
	// separator; the whole formatted text is written, however long.
	static void writeFormatted(io::IWriteFile* file, const c8* format, ...)
#if defined(__GNUC__)
		__attribute__((format(printf, 2, 3)))
#endif
		;

	// ---- window and settings (ui/) ------------------------------------------
	void buildOptionsGUI(gui::IGUIEnvironment* env);
	void readWindowOptions(gui::IGUIEnvironment* env);
	bool loadSettings();
	bool saveSettings();
	void readSettingsAttributes(io::IAttributes* attrs);
	void writeSettingsAttributes(io::IAttributes* attrs);

	// ---- scene extraction (scene/) ------------------------------------------
	void exportMaterial(IGameMaterial* material, s32 id);
	void exportNode(IGameNode* node);
	void exportMesh(IGameMesh* mesh);
	void exportBone(IGameNode* node);

	// ---- Meteor skeleton and writers (meteor/) -------------------------------
	void mapMeteorBones();
	bool exportSKC();
	bool exportAMB();
	bool exportANT();
	bool exportGMC();
	bool exportGMB();

	// ---- members, in declared order -----------------------------------------
	SExportParams Params;
	IrrlichtDevice* Device;
	s32 Result;

	// The eight settings fields.
	bool MergeAction;
	s32 CoordType;      // 0 3ds Max, 1 DirectX, 2 OpenGL, 3 Zenthra, 4 Meteor
	s32 ExportType;     // 0 .ant, 1 .skc/.bnc/.amb, 2 text .gmc, 3 binary .gmb
	s32 StartFrame;
	s32 EndFrame;
	s32 FPS;
	bool UseObjectSpace;
	bool ExportSelected;

	// State of the running export.
	u32 VertCount;
	u32 FaceCount;
	s32 FrameCount;
	s32 TicksPerFrame;
	IGameScene* Scene;
	f32 IGameVersion;
	f32 ExporterVersion;
	io::IWriteFile* LogFile;

	core::array<SVert> Verts;
	core::array<SFace> Faces;
	core::array<SBone> Bones;
	core::array<SMaterial> Materials;

	// Node whose mesh exportMesh is reading (set by exportNode, null
	// otherwise); names the mesh in log lines about faces it skips.
	IGameNode* MeshNode = 0;

	// Builds OutputDir + BaseName + ext (a narrow literal widened byte by byte).
	io::path outputPath(const c8* ext) const;
};

// The author's contact address, printed in the log and the settings file.
extern const c8* const HalvexAuthor;

} // namespace irr
