// The font's face sharing, FreeType life cycle and glyph cache, with the
// real font file.
#include "FontTestSupport.h"

#include <fstream>
#include <set>

using namespace irr;
using namespace fonttest;

namespace
{

class FontFaceTest : public FontFixture
{
};

TEST_F(FontFaceTest, FontsOfOneFileShareOneFaceAndFreeTypeRestarts)
{
	COpenCounter* counter = new COpenCounter(Device->getFileSystem(), fontPath());
	// The file system takes over this reference (it does not grab).
	ASSERT_TRUE(Device->getFileSystem()->addFileArchive(counter));

	CDropper<gui::CGUITTFont> first(gui::CGUITTFont::create(Env, fontPath()));
	ASSERT_TRUE(first.get());
	CDropper<gui::CGUITTFont> second(gui::CGUITTFont::create(Env, fontPath()));
	ASSERT_TRUE(second.get());
	EXPECT_EQ(counter->Opens, 1u);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(fontPath()), 2);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceCount(), 1u);

	first.reset();
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(fontPath()), 1);
	EXPECT_TRUE(gui::CGUITTFont::isLibraryReady());
	// The survivor still draws from the shared face.
	EXPECT_EQ(second->getDimension(L"a").Width, 9u);

	second.reset();
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(fontPath()), 0);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceCount(), 0u);
	EXPECT_FALSE(gui::CGUITTFont::isLibraryReady());

	CDropper<gui::CGUITTFont> third(gui::CGUITTFont::create(Env, fontPath()));
	ASSERT_TRUE(third.get());
	EXPECT_TRUE(gui::CGUITTFont::isLibraryReady());
	EXPECT_EQ(counter->Opens, 2u);
	EXPECT_EQ(third->getDimension(L"a").Width, 9u);
}

struct SBadFile
{
	const char* Name;
	const char* Contents; // null: the file is not created
};

class FontBadFileTest : public FontFixture, public ::testing::WithParamInterface<SBadFile>
{
};

TEST_P(FontBadFileTest, CreateFailsAndLeavesNoSharedFace)
{
	const SBadFile& c = GetParam();
	const std::string path = TempDir + "/" + c.Name;
	if (c.Contents)
		std::ofstream(path, std::ios::binary) << c.Contents;

	// A font of the real file stays open meanwhile: its face must survive.
	CDropper<gui::CGUITTFont> good(gui::CGUITTFont::create(Env, fontPath()));
	ASSERT_TRUE(good.get());

	EXPECT_EQ(gui::CGUITTFont::create(Env, path.c_str()), nullptr);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(path.c_str()), 0);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceCount(), 1u);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(fontPath()), 1);
	EXPECT_EQ(good->getDimension(L"a").Width, 9u);

	good.reset();
	EXPECT_FALSE(gui::CGUITTFont::isLibraryReady());
}

INSTANTIATE_TEST_SUITE_P(Files, FontBadFileTest, ::testing::Values(
	SBadFile{"empty.ttc", ""},
	SBadFile{"text.ttc", "this is not a font file, only some text\n"},
	SBadFile{"truncated.ttc", "ttcf"},
	SBadFile{"missing.ttc", nullptr}),
	[](const ::testing::TestParamInfo<SBadFile>& info) { return std::string(info.param.Name).substr(0, std::string(info.param.Name).find('.')); });

TEST_F(FontFaceTest, CreateNeedsEnvironmentAndName)
{
	EXPECT_EQ(gui::CGUITTFont::create(0, fontPath()), nullptr);
	EXPECT_EQ(gui::CGUITTFont::create(Env, ""), nullptr);
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceCount(), 0u);

	// A font cannot be given a second face.
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	EXPECT_FALSE(font->load(fontPath()));
	EXPECT_EQ(gui::CGUITTFont::getSharedFaceUsers(fontPath()), 1);
}

TEST_F(FontFaceTest, LoadSizesTheFaceAndPreloadsCodePoints0To126)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	EXPECT_EQ(font->PixelSize, 16u);
	EXPECT_EQ(font->Metrics.ascender, 960);
	EXPECT_EQ(font->getAscender(), 15);
	EXPECT_EQ(font->Glyphs.size(), 49531u);

	std::set<u32> expected;
	for (u32 cp = 0; cp <= 126; ++cp)
	{
		const u32 g = FT_Get_Char_Index(font->Face, cp);
		if (g)
			expected.insert(g);
	}
	std::set<u32> loaded;
	for (u32 i = 0; i < font->Glyphs.size(); ++i)
		if (font->Glyphs[i].Loaded)
			loaded.insert(i + 1);
	EXPECT_EQ(loaded, expected);
	EXPECT_EQ(font->Pages.size(), 1u);
	EXPECT_EQ(font->Pages[0]->UsedSlots, static_cast<u32>(expected.size()));
}

struct SBatchCase
{
	const char* Name;
	bool ResetFirst;
	u32 CodePoint;
	u32 First;
	u32 Last;
};

class FontBatchTest : public FontFixture, public ::testing::WithParamInterface<SBatchCase>
{
};

// The loaded records after a miss are exactly those before, plus the glyphs
// of the batch, plus the replacement glyph for an unmapped code point.
TEST_P(FontBatchTest, MissLoadsItsBatch)
{
	const SBatchCase& c = GetParam();
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	if (c.ResetFirst)
		font->reset();
	EXPECT_EQ(font->Pages.size(), c.ResetFirst ? 0u : 1u);

	std::set<u32> expected;
	for (u32 i = 0; i < font->Glyphs.size(); ++i)
		if (font->Glyphs[i].Loaded)
			expected.insert(i + 1);
	for (u32 cp = c.First; cp <= c.Last; ++cp)
	{
		const u32 g = FT_Get_Char_Index(font->Face, cp);
		if (g)
			expected.insert(g);
	}
	u32 want = FT_Get_Char_Index(font->Face, c.CodePoint);
	if (!want)
		want = FT_Get_Char_Index(font->Face, 0xFFFD);
	expected.insert(want);
	// The neighbours just outside the batch must stay unloaded for the
	// comparison to tell the bounds apart.
	const u32 before = c.First > 0 ? FT_Get_Char_Index(font->Face, c.First - 1) : 0;
	const u32 after = FT_Get_Char_Index(font->Face, c.Last + 1);
	ASSERT_TRUE(before == 0 || !expected.count(before));
	ASSERT_NE(after, 0u);
	ASSERT_FALSE(expected.count(after));

	EXPECT_EQ(font->getGlyphIndex(c.CodePoint), want);

	std::set<u32> loaded;
	for (u32 i = 0; i < font->Glyphs.size(); ++i)
		if (font->Glyphs[i].Loaded)
			loaded.insert(i + 1);
	EXPECT_EQ(loaded, expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, FontBatchTest, ::testing::Values(
	// 30 is unmapped: the replacement glyph is loaded besides its batch.
	SBatchCase{"unmapped30", true, 30, 0, 99},
	SBatchCase{"at50", true, 50, 0, 99},
	SBatchCase{"at51", true, 51, 1, 100},
	SBatchCase{"cjk4E2D", false, 0x4E2D, 0x4DFB, 0x4E5E}),
	[](const ::testing::TestParamInfo<SBatchCase>& info) { return std::string(info.param.Name); });

TEST_F(FontFaceTest, LoadingAGlyphTwiceChangesNothing)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	const u32 g = font->getGlyphIndex(L'a');
	ASSERT_EQ(g, 68u);
	const gui::SGUITTGlyph before = font->Glyphs[g - 1];
	ASSERT_TRUE(before.Loaded);
	const u32 used = font->Pages[0]->UsedSlots;
	font->Pages[0]->Dirty = false;

	font->Glyphs[g - 1].load(g, font->Face, Driver, 16, core::dimension2du(0, 0), font->Pages, true, true, false);

	const gui::SGUITTGlyph& after = font->Glyphs[g - 1];
	EXPECT_EQ(after.Page, before.Page);
	EXPECT_EQ(after.SourceRect, before.SourceRect);
	EXPECT_EQ(after.Offset, before.Offset);
	EXPECT_EQ(font->Pages.size(), 1u);
	EXPECT_EQ(font->Pages[0]->UsedSlots, used);
	EXPECT_FALSE(font->Pages[0]->Dirty);
}

TEST_F(FontFaceTest, GlyphRecordsCarryFreeTypeMetrics)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	// Values of the WenQuanYi Micro Hei face at 16 pixels.
	const gui::SGUITTGlyph& a = font->glyphOf(L'a');
	EXPECT_EQ(a.Advance.x, 576);
	EXPECT_EQ(a.Offset, core::vector2di(0, 9));
	EXPECT_EQ(a.SourceRect.getWidth(), 8);
	EXPECT_EQ(a.SourceRect.getHeight(), 9);
	const gui::SGUITTGlyph& zhong = font->glyphOf(0x4E2D);
	EXPECT_EQ(zhong.Advance.x, 1024);
	EXPECT_EQ(zhong.Offset, core::vector2di(1, 13));
	EXPECT_EQ(zhong.SourceRect.getWidth(), 14);
	EXPECT_EQ(zhong.SourceRect.getHeight(), 15);
	// A blank is a glyph like any other: loaded, empty, advancing.
	const gui::SGUITTGlyph& blank = font->glyphOf(L' ');
	EXPECT_TRUE(blank.Loaded);
	EXPECT_EQ(blank.SourceRect.getArea(), 0);
	EXPECT_EQ(blank.Advance.x, 256);
}

TEST_F(FontFaceTest, UnmappedCharactersUseTheReplacementGlyph)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	const u32 replacement = FT_Get_Char_Index(font->Face, 0xFFFD);
	ASSERT_EQ(replacement, 34583u);
	for (u32 cp : {0xE000u, 0x1F600u, 13u, 10u})
	{
		ASSERT_EQ(FT_Get_Char_Index(font->Face, cp), 0u) << cp;
		EXPECT_EQ(font->getGlyphIndex(cp), replacement) << cp;
	}
	EXPECT_TRUE(font->Glyphs[replacement - 1].Loaded);
	EXPECT_EQ(font->getCharWidth(0xE000), 16);

	Driver->clearRecords();
	font->draw(L"\xE000", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	ASSERT_EQ(Driver->Batches.size(), 1u);
	ASSERT_EQ(Driver->Batches[0].Rects.size(), 1u);
	EXPECT_EQ(Driver->Batches[0].Rects[0], font->Glyphs[replacement - 1].SourceRect);
}

TEST_F(FontFaceTest, KerningAddsTheFontsSpacingToPairsOnly)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	// The face has no kerning table of its own.
	ASSERT_FALSE(FT_HAS_KERNING(font->Face));
	EXPECT_EQ(font->getKerning(L'b', L'a'), core::vector2di(0, 0));

	font->setKerningWidth(3);
	font->setKerningHeight(2);
	EXPECT_EQ(font->getKerning(L'b', L'a'), core::vector2di(3, 2));
	EXPECT_EQ(font->getKerning(L'b', 0), core::vector2di(0, 0));
	EXPECT_EQ(font->getKerning(0, L'a'), core::vector2di(0, 0));
	EXPECT_EQ(font->getKerningWidth(L'b', L'a'), 3);
	const wchar_t b = L'b', a = L'a';
	EXPECT_EQ(font->getKerningWidth(&b, &a), 3);
	EXPECT_EQ(font->getKerningWidth(&b, 0), 0);
	EXPECT_EQ(font->getKerningWidth(), 0);
	EXPECT_EQ(font->getKerningHeight(), 2);

	// A font without a face reports its spacing as it is.
	CDropper<CTestFont> empty(new CTestFont(Env));
	empty->setKerningWidth(5);
	EXPECT_EQ(empty->getKerningWidth(&b, &a), 5);
	EXPECT_EQ(empty->getGlyphIndex(L'a'), 0u);
}

// The window's face has no kerning table; DejaVu Sans has one, with a pull
// of 2 pixels for "To" at 16 pixels and none for "oT".
TEST_F(FontFaceTest, KerningTableOfTheFaceIsReadForThePreviousThenThisLetter)
{
	const io::path file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
	ASSERT_TRUE(std::ifstream(file.c_str()).good()) << file.c_str() << " missing (scripts/setup.sh installs it)";
	CDropper<CTestFont> font(makeFont(core::dimension2du(0, 0), file));
	ASSERT_TRUE(font.get());
	ASSERT_TRUE(FT_HAS_KERNING(font->Face));
	ASSERT_TRUE(FT_IS_SCALABLE(font->Face));

	// 'o' after 'T' (26.6 value -128), and the reverse order.
	EXPECT_EQ(font->getKerning(L'o', L'T'), core::vector2di(-2, 0));
	EXPECT_EQ(font->getKerning(L'T', L'o'), core::vector2di(0, 0));
	// "AV" is -64 in 26.6: one whole pixel.
	EXPECT_EQ(font->getKerning(L'V', L'A'), core::vector2di(-1, 0));
	EXPECT_EQ(font->getKerning(L'o', 0), core::vector2di(0, 0));
	font->setKerningWidth(3);
	font->setKerningHeight(1);
	EXPECT_EQ(font->getKerning(L'o', L'T'), core::vector2di(1, 1));
	EXPECT_EQ(font->getKerningWidth(L'o', L'T'), 1);
	font->setKerningWidth(0);
	font->setKerningHeight(0);

	const s32 t = font->getCharWidth(L'T');
	const s32 o = font->getCharWidth(L'o');
	EXPECT_EQ(font->getDimension(L"To").Width, static_cast<u32>(t + o - 2));
	EXPECT_EQ(font->getDimension(L"oT").Width, static_cast<u32>(t + o));
	// The kerning pulls the 'o' onto the pixel the 'T' ends on.
	EXPECT_EQ(font->getCharacterFromPos(L"To", t + o - 2), 1);
	EXPECT_EQ(font->getCharacterFromPos(L"To", t + o - 1), -1);

	Driver->clearRecords();
	font->draw(L"To", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	ASSERT_EQ(Driver->Batches.size(), 1u);
	ASSERT_EQ(Driver->Batches[0].Positions.size(), 2u);
	EXPECT_EQ(Driver->Batches[0].Positions[1].X, t - 2 + font->glyphOf(L'o').Offset.X);
}

} // namespace
