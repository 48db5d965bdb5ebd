// Loads a scene file through Assimp into the substitute scene, the way a 3ds
// Max user would see the file after importing it.
#pragma once

#include "SubstituteScene.h"

#include <memory>
#include <string>

namespace halvex
{

struct SImportOptions
{
	std::string Take;      // animation by name or index; empty: the first
	float Scale = 1.f;     // uniform scale applied to the whole scene
	int FPS = 30;          // frame rate of the scene
	bool HasRange = false; // animation range given explicitly (frames)
	int RangeStart = 0;
	int RangeEnd = 0;
};

// A new scene, or null with a one-line reason in `error`.
std::unique_ptr<maxsub::Scene> importScene(const std::string& path,
	const SImportOptions& options, std::string& error);

} // namespace halvex
