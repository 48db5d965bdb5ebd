// Loads a scene file through Assimp into the substitute scene, the way a 3ds
// Max user would see the file after importing it.
//
// What the imported scene holds:
// - Assimp's root node is the scene itself; its children are the top-level
//   nodes and carry the root's transform. Geometry that a reader keeps on
//   the root (STL, PLY) becomes one extra top-level mesh node named after it.
// - Everything is converted into 3ds Max's right-handed, Z-up system: the
//   file's up axis becomes +Z and its front -Y. The axes come from the
//   scene metadata where Assimp reports them (UpAxis, FrontAxis, CoordAxis
//   and their signs, as FBX gives them), otherwise Assimp's Y-up system.
//   `Scale` multiplies positions and translations.
// - Node ids are 1, 2, 3, ... in depth-first pre-order. A node with meshes
//   is a mesh node, its meshes merged into one mesh whose faces carry the
//   index of their Assimp material as material ID; a node that some mesh
//   uses as a bone is a bone node; lights and cameras are light and camera
//   objects; any other node is a helper.
// - Meshes are triangulated; vertices equal in position, normal, colour,
//   texture coordinates and skin bindings are joined (also across the meshes
//   of one node); missing normals are generated; a missing vertex colour is
//   white with alpha 1; UV channel c of the file is map channel c + 1.
//   Vertices stay in the mesh node's own space.
// - Skins bind each vertex to the node ids of its bones with their weights,
//   in the file's bone order; zero weights are left out. One binding makes
//   the vertex rigid.
// - All materials of the file become sub-materials (IDs 0 to N-1) of one
//   multi-material, the only root material, which every mesh node uses with
//   material index 0. Texture paths become bitmap maps, diffuse first;
//   ambient, diffuse, specular and emissive colours and opacity are set where
//   the file has them.
// - The chosen take drives the nodes through their local tracks (keys
//   interpolated: positions and scalings linearly, rotations spherically);
//   nodes without a channel keep their rest transform. The animation range
//   is 0 to the take's length in frames at `FPS` (0 to 0 without a take)
//   unless `HasRange` gives it.
// - The scene's file name is `path`.
#pragma once

#include "SubstituteScene.h"

#include <memory>
#include <string>

namespace halvex
{

struct SImportOptions
{
	std::string Take;      // animation by name or index; empty: the first
	float Scale = 1.f;     // uniform scale applied to the whole scene (> 0)
	int FPS = 30;          // frame rate of the scene (> 0)
	bool HasRange = false; // animation range given explicitly (frames)
	int RangeStart = 0;
	int RangeEnd = 0;
};

// A new scene, or null with one line in `error` naming the file and the
// reason: a missing file, a directory, a file Assimp cannot read, a scene
// without nodes, a take the file does not have, a frame rate or scale that
// is not positive.
std::unique_ptr<maxsub::Scene> importScene(const std::string& path,
	const SImportOptions& options, std::string& error);

} // namespace halvex
