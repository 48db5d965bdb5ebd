// Fixture and helpers for the tests of the skeleton mapping and the writers:
// an exporter object on a null Irrlicht device, writing into its own
// temporary folder, data models built directly, golden file comparison.
#pragma once

#include "core/COstrel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace halvex_test
{

// The null-driver device shared by every test of the binary.
irr::IrrlichtDevice* nullDevice();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// Little-endian values out of a byte string.
irr::s32 s32At(const std::string& bytes, size_t offset);
irr::f32 f32At(const std::string& bytes, size_t offset);

// Byte-exact comparison of a written file with tests/meteor/golden/<golden>.
// On a mismatch the output is copied to <dir of actual>/<golden>.actual and
// the first differing offset (and line, for text) is reported. With
// HALVEX_UPDATE_GOLDEN=1 the golden is rewritten from the output instead.
void expectMatchesGolden(const std::string& actualPath, const std::string& golden);

// Bone k of the Meteor skeleton in the test character: node id 100 + k.
irr::s32 characterNodeId(irr::s32 k);
// The node id of the character's extra bone outside the Meteor table.
const irr::s32 FootstepsNodeId = 200;

// Fills a small character as the scene walk would leave it (node ids in the
// vertex bone references, material ids in the faces): the 36 Meteor bones in
// table order plus "Bip01_Footsteps", each with frames keys; three materials
// (ids 0, 5, 9); five vertices, one without bone references, one bound to
// the extra bone and one to an unknown node; three faces, the last with a
// material id no material has.
void buildCharacter(irr::COstrel& model, irr::s32 frames);

// Appends one bone with frames keys derived from seed.
irr::COstrel::SBone& addBone(irr::COstrel& model, const char* name, const char* parent,
	irr::s32 nodeId, irr::s32 frames, irr::s32 seed);

// Removes the bone with this name from the model.
void removeBone(irr::COstrel& model, const char* name);

class CMeteorTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	// Path of a file in the test's folder.
	std::string path(const std::string& name) const { return Dir + "/" + name; }
	// Closes the export log and returns what it holds.
	std::string closeLog();
	void setBaseName(const wchar_t* name) { Obj.Params.BaseName = name; }

	irr::COstrel Obj;
	std::string Dir;
};

} // namespace halvex_test
