// Test fixture for scene extraction: a substitute scene, an exporter object
// with a null-driver device, and a temporary folder of its own.
#pragma once

#include "core/COstrel.h"
#include "SubstituteScene.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace halvextest
{

std::wstring widen(const std::string& text);
std::string readFile(const std::string& path);

// Compares text with tests/scene/golden/<name> byte for byte. On a mismatch
// the text is written to <outDir>/<name>.actual and the first differing line
// and offset are reported. HALVEX_UPDATE_GOLDEN=1 rewrites the golden file.
void expectGolden(const std::string& name, const std::string& actual, const std::string& outDir);

class CSceneTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	// Makes the scene current and prepares the exporter as the driver does
	// before extraction (paths, IGame view, frame counters, a log of its own),
	// so that single operations can run on their own.
	void begin();
	// The root materials, then the top-level nodes (targets skipped), as the
	// driver hands them over.
	void exportMaterials();
	void exportNodes();
	// Closes the log opened by begin and returns its content.
	std::string finishLog();

	// A full export through the driver; returns the export log.
	std::string runExport();

	std::string Dir;               // temporary folder of this test
	maxsub::Scene S;
	std::unique_ptr<maxsub::Host> Host;
	irr::IrrlichtDevice* Device = nullptr;
	irr::COstrel Obj;
	std::unique_ptr<maxsub::ScopedCurrentScene> Current;
};

// Near-equality of engine values, with the values printed on failure.
::testing::AssertionResult near3(const irr::core::vector3df& actual, float x, float y, float z, float eps = 1e-4f);
::testing::AssertionResult nearQuat(const irr::core::quaternion& actual, float x, float y, float z, float w, float eps = 1e-4f);
::testing::AssertionResult nearColour(const irr::video::SColorf& actual, float r, float g, float b, float a, float eps = 1e-3f);

} // namespace halvextest
