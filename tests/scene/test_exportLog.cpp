// The export log of a small skinned character, between its start and end
// markers, against a hand-checked golden file.
#include "SceneFixture.h"

using namespace halvextest;

namespace
{

class ExportLog : public CSceneTest {};

// The part of the log from the "Exporting start" line to the end of the
// "Exporting finished" line.
std::string extractionSection(const std::string& log)
{
	const size_t start = log.find("Exporting start");
	const size_t finished = log.find("Exporting finished");
	if (start == std::string::npos || finished == std::string::npos)
		return log;
	const size_t end = log.find("\r\n", finished);
	return log.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
}

TEST_F(ExportLog, SkinnedCharacterMatchesGolden)
{
	S.setFileName(L"C:\\scenes\\hero.max");
	S.setAnimRange(0, 3);
	maxsub::Material& skin = S.addMaterial(L"skin");
	skin.addBitmap(L"C:\\tex\\hero.dds").addBitmap(L"C:\\tex\\hero_n.dds");
	S.addMaterial(L"unused");

	maxsub::Node& root = S.addNode(L"b", maxsub::Kind::Bone);
	maxsub::Node& spine = S.addNode(L"bau_Spine", maxsub::Kind::Bone, &root);
	spine.setLocalTrack([](TimeValue t) {
		return GMatrix::FromTRS(Point3(0, 0, 10 + (float)t / 160.f), Quat());
	});
	S.addNode(L"d_wpnR", maxsub::Kind::Helper, &spine);
	maxsub::Node& hand = S.addNode(L"Left Hand", maxsub::Kind::Bone, &spine);
	hand.mesh().setInitializeFails(true); // not exported
	maxsub::Node& target = S.addNode(L"Camera01.Target", maxsub::Kind::Helper);
	target.setTarget();

	maxsub::Node& body = S.addNode(L"body", maxsub::Kind::Mesh);
	body.setMaterial(&skin, 0);
	body.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 0, 2), Point3(0, 0, 2));
	body.mesh().skin().bind(0, { { root.id(), 1.f } });
	body.mesh().skin().bind(1, { { root.id(), 1.f } });
	body.mesh().skin().bind(2, { { root.id(), 0.5f }, { spine.id(), 0.5f } });
	body.mesh().skin().bind(3, { { spine.id(), 1.f } });
	body.mesh().addVertex(Point3(5, 5, 5));
	body.mesh().addFace(0, 1, 4);
	body.mesh().face(2).vert[2] = 9; // a corrupt corner

	const std::string log = runExport();
	expectGolden("skinned_character.log", extractionSection(log), Dir);

	EXPECT_EQ(Obj.Bones.size(), 3u);
	EXPECT_EQ(Obj.Verts.size(), 5u);
	EXPECT_EQ(Obj.Faces.size(), 2u);
	EXPECT_EQ(Obj.Materials.size(), 2u);
}

} // namespace
