// Glyph pages, texture rebuilding and the font's text operations, with the
// real font file and a driver that records what the font asks of it.
#include "FontTestSupport.h"

#include <set>
#include <utility>

using namespace irr;
using namespace fonttest;

namespace
{

const char* const FirstPageName = "TTFontGlyphPage_WenQuanYi Micro Hei.Regular.16_0";

// Misses CJK code points a batch apart until the font has \p pages pages.
void fillPages(CTestFont& font, u32 pages)
{
	for (u32 cp = 0x4E00; font.Pages.size() < pages && cp < 0xA000; cp += 100)
		font.getGlyphIndex(cp);
	ASSERT_GE(font.Pages.size(), pages);
}

class GlyphPageTest : public FontFixture
{
};

struct SPageCase
{
	const char* Name;
	core::dimension2du MaxPageSize;
	bool DriverReportsLimit;
	core::dimension2du DriverLimit;
	core::dimension2du PageSize;
	u32 Cells;
};

class GlyphPageGeometryTest : public FontFixture, public ::testing::WithParamInterface<SPageCase>
{
};

TEST_P(GlyphPageGeometryTest, PageSizeAndCells)
{
	const SPageCase& c = GetParam();
	Driver->UseMaxTexture = c.DriverReportsLimit;
	Driver->MaxTexture = c.DriverLimit;
	CDropper<CTestFont> font(makeFont(c.MaxPageSize));
	ASSERT_TRUE(font.get());
	ASSERT_GE(font->Pages.size(), 1u);
	const gui::CGUITTGlyphPage* page = font->Pages[0];
	EXPECT_EQ(page->Image->getDimension(), c.PageSize);
	EXPECT_EQ(page->Image->getColorFormat(), video::ECF_A8R8G8B8);
	EXPECT_EQ(page->FreeSlots + page->UsedSlots, c.Cells);
	EXPECT_STREQ(page->PageName.c_str(), FirstPageName);
	EXPECT_TRUE(page->Dirty);
	EXPECT_EQ(page->Texture, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Limits, GlyphPageGeometryTest, ::testing::Values(
	SPageCase{"font512", {512, 512}, false, {0, 0}, {512, 512}, 1024},
	SPageCase{"driver256", {0, 0}, true, {256, 256}, {256, 256}, 256},
	SPageCase{"driverWithoutLimit", {0, 0}, true, {0, 0}, {512, 512}, 1024},
	SPageCase{"driverLarge", {0, 0}, true, {16384, 16384}, {512, 512}, 1024},
	// The limit replaces both sides as soon as one is too small.
	SPageCase{"lowLimit", {1024, 300}, false, {0, 0}, {1024, 300}, 18 * 64}),
	[](const ::testing::TestParamInfo<SPageCase>& info) { return std::string(info.param.Name); });

TEST_F(GlyphPageTest, GlyphsFillCellsRowByRowAndThe1025thOpensPage1)
{
	CDropper<CTestFont> font(makeFont(core::dimension2du(512, 512)));
	ASSERT_TRUE(font.get());
	fillPages(*font, 2);
	ASSERT_EQ(font->Pages.size(), 2u);
	EXPECT_EQ(font->Pages[0]->UsedSlots, 1024u);
	EXPECT_EQ(font->Pages[0]->FreeSlots, 0u);
	EXPECT_STREQ(font->Pages[1]->PageName.c_str(), "TTFontGlyphPage_WenQuanYi Micro Hei.Regular.16_1");
	EXPECT_EQ(font->Pages[1]->Image->getDimension(), core::dimension2du(512, 512));

	// Every cell of page 0 holds exactly one glyph; page 1 starts at cell 0.
	std::set<std::pair<s32, s32> > cells0;
	u32 onPage1 = 0;
	bool page1StartsAtOrigin = false;
	for (u32 i = 0; i < font->Glyphs.size(); ++i)
	{
		const gui::SGUITTGlyph& g = font->Glyphs[i];
		if (!g.Loaded)
			continue;
		const core::position2di corner = g.SourceRect.UpperLeftCorner;
		EXPECT_EQ(corner.X % 16, 0);
		EXPECT_EQ(corner.Y % 16, 0);
		if (g.Page == 0)
			cells0.insert(std::make_pair(corner.X, corner.Y));
		else
		{
			++onPage1;
			page1StartsAtOrigin |= corner == core::position2di(0, 0);
		}
	}
	EXPECT_EQ(cells0.size(), 1024u);
	EXPECT_EQ(*cells0.rbegin(), std::make_pair(496, 496));
	EXPECT_EQ(onPage1, font->Pages[1]->UsedSlots);
	EXPECT_TRUE(page1StartsAtOrigin);
	EXPECT_EQ(font->loadedCount(), 1024u + onPage1);
}

TEST_F(GlyphPageTest, GlyphPixelsAreWhiteWithCoverageAsAlpha)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	// U+2588 FULL BLOCK covers whole pixels: the coverage 255 of 256 grey
	// levels becomes alpha 254.
	const gui::SGUITTGlyph& block = font->glyphOf(0x2588);
	ASSERT_TRUE(block.Loaded);
	const video::IImage* image = font->Pages[block.Page]->Image;
	const core::recti r = block.SourceRect;
	ASSERT_GT(r.getArea(), 0);
	const video::SColor inside = image->getPixel(r.UpperLeftCorner.X + r.getWidth() / 2, r.UpperLeftCorner.Y + r.getHeight() / 2);
	EXPECT_EQ(inside.color, 0xFEFFFFFFu);

	const gui::SGUITTGlyph& a = font->glyphOf(L'a');
	const video::IImage* pageA = font->Pages[a.Page]->Image;
	u32 maxAlpha = 0;
	for (s32 y = a.SourceRect.UpperLeftCorner.Y; y < a.SourceRect.LowerRightCorner.Y; ++y)
		for (s32 x = a.SourceRect.UpperLeftCorner.X; x < a.SourceRect.LowerRightCorner.X; ++x)
		{
			const video::SColor p = pageA->getPixel(x, y);
			EXPECT_EQ(p.color & 0xFFFFFF, 0xFFFFFFu);
			maxAlpha = core::max_(maxAlpha, p.getAlpha());
		}
	EXPECT_GT(maxAlpha, 200u);
	// Right of the bitmap, still inside the cell, the page is transparent white.
	EXPECT_EQ(pageA->getPixel(a.SourceRect.LowerRightCorner.X + 1, a.SourceRect.UpperLeftCorner.Y).color, 0x00FFFFFFu);
}

// Deletes the pages of a test that places glyphs outside a font.
struct SPageList
{
	~SPageList()
	{
		for (u32 i = 0; i < Pages.size(); ++i)
			delete Pages[i];
	}
	core::array<gui::CGUITTGlyphPage*> Pages;
};

TEST_F(GlyphPageTest, MonochromeGlyphsAreOpaqueBitsOnSixteenBitPages)
{
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	const u32 g = font->getGlyphIndex(L'a');
	SPageList pages;
	gui::SGUITTGlyph glyph;
	glyph.load(g, font->Face, Driver, 16, core::dimension2du(0, 0), pages.Pages, true, true, true);
	ASSERT_TRUE(glyph.Loaded);
	ASSERT_EQ(pages.Pages.size(), 1u);
	const gui::CGUITTGlyphPage* page = pages.Pages[0];
	EXPECT_EQ(page->Image->getColorFormat(), video::ECF_A1R5G5B5);
	EXPECT_EQ(page->Image->getDimension(), core::dimension2du(512, 512));
	EXPECT_EQ(page->UsedSlots, 1u);
	EXPECT_EQ(page->FreeSlots, 1023u);

	// FreeType's own 1-bit rendering (flags 0x21006) is the reference.
	ASSERT_EQ(FT_Load_Glyph(font->Face, g, 0x21006), 0);
	const FT_Bitmap& bits = font->Face->glyph->bitmap;
	ASSERT_EQ(bits.pixel_mode, FT_PIXEL_MODE_MONO);
	ASSERT_GT(bits.width, 0u);
	EXPECT_EQ(glyph.SourceRect, core::recti(0, 0, bits.width, bits.rows));
	u32 set = 0;
	// The glyph image is square and a power of two: 16 x 16 around the bitmap.
	for (u32 y = 0; y < 16; ++y)
		for (u32 x = 0; x < 16; ++x)
		{
			const bool on = y < bits.rows && x < bits.width
				&& (bits.buffer[y * bits.pitch + x / 8] & (0x80 >> (x % 8)));
			set += on ? 1 : 0;
			EXPECT_EQ(page->Image->getPixel(x, y).color, on ? 0xFFFFFFFFu : 0x00FFFFFFu) << x << ", " << y;
		}
	EXPECT_GT(set, 10u);

	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);
	Driver->clearRecords();
	pages.Pages[0]->updateTexture();
	ASSERT_EQ(Driver->Textures.size(), 1u);
	EXPECT_TRUE(Driver->Textures[0].Always16);
	EXPECT_FALSE(Driver->Textures[0].Always32);
	EXPECT_FALSE(Driver->Textures[0].MipMaps);
	EXPECT_TRUE(Driver->getTextureCreationFlag(video::ETCF_ALWAYS_32_BIT));
	EXPECT_FALSE(Driver->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT));
}

struct SGlyphImageCase
{
	const char* Name;
	bool AnyTextureSize;
	// Extent of the glyph image of 'a' (an 8 x 9 bitmap) copied onto the page.
	s32 Width;
	s32 Height;
};

class GlyphImageSizeTest : public FontFixture, public ::testing::WithParamInterface<SGlyphImageCase>
{
};

// The whole glyph image is copied into the cell: on a page painted black
// beforehand its extent shows as the transparent white around the bitmap.
TEST_P(GlyphImageSizeTest, GreyGlyphImageIsRoundedOnlyWhenTheDriverNeedsIt)
{
	const SGlyphImageCase& c = GetParam();
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	Driver->AnyTextureSize = c.AnyTextureSize;
	SPageList pages;
	gui::CGUITTGlyphPage* page = new gui::CGUITTGlyphPage(Driver, "painted");
	pages.Pages.push_back(page);
	page->Image = Driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(64, 64));
	page->Image->fill(video::SColor(255, 0, 0, 0));
	page->FreeSlots = 16;
	page->UsedSlots = 5; // the cell at (16, 16)

	const u32 g = font->getGlyphIndex(L'a');
	gui::SGUITTGlyph glyph;
	glyph.load(g, font->Face, Driver, 16, core::dimension2du(0, 0), pages.Pages, true, true, false);
	ASSERT_TRUE(glyph.Loaded);
	ASSERT_EQ(pages.Pages.size(), 1u);
	EXPECT_EQ(glyph.Page, 0u);
	ASSERT_EQ(glyph.SourceRect, core::recti(16, 16, 24, 25));
	EXPECT_EQ(page->UsedSlots, 6u);
	EXPECT_EQ(page->FreeSlots, 15u);
	EXPECT_TRUE(page->Dirty);

	s32 right = 0, bottom = 0;
	for (s32 y = 0; y < 64; ++y)
		for (s32 x = 0; x < 64; ++x)
			if (page->Image->getPixel(x, y).color != 0xFF000000u)
			{
				EXPECT_GE(x, 16);
				EXPECT_GE(y, 16);
				right = core::max_(right, x + 1);
				bottom = core::max_(bottom, y + 1);
			}
	EXPECT_EQ(right - 16, c.Width);
	EXPECT_EQ(bottom - 16, c.Height);
}

INSTANTIATE_TEST_SUITE_P(Drivers, GlyphImageSizeTest, ::testing::Values(
	SGlyphImageCase{"powerOfTwoSquare", false, 16, 16},
	SGlyphImageCase{"anySize", true, 9, 10}),
	[](const ::testing::TestParamInfo<SGlyphImageCase>& info) { return std::string(info.param.Name); });

TEST_F(GlyphPageTest, LimitBelowOneCellLeavesGlyphsUnloaded)
{
	CDropper<CTestFont> font(makeFont(core::dimension2du(8, 8)));
	ASSERT_TRUE(font.get());
	EXPECT_EQ(font->Pages.size(), 0u);
	EXPECT_EQ(font->loadedCount(), 0u);
	// Without a loaded record the character has no glyph to read: the
	// fallback widths and heights apply and nothing is drawn.
	EXPECT_EQ(font->getGlyphIndex(L'a'), 68u);
	EXPECT_EQ(font->getCharWidth(L'a'), 7);
	EXPECT_EQ(font->getCharWidth(0x4E2D), 15);
	EXPECT_EQ(font->getCharHeight(L'g'), 7);
	EXPECT_EQ(font->getDimension(L"a\x4E2D"), core::dimension2du(22, 8));
	font->draw(L"a\x4E2D", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	EXPECT_TRUE(Driver->Batches.empty());
	EXPECT_TRUE(Driver->Textures.empty());
}

class FontDrawTest : public FontFixture
{
protected:
	void SetUp() override
	{
		FontFixture::SetUp();
		Font.reset(makeFont());
		ASSERT_TRUE(Font.get());
	}
	void TearDown() override
	{
		Font.reset();
		FontFixture::TearDown();
	}

	// Draws and returns the positions of the only batch.
	std::vector<core::vector2di> drawOne(const wchar_t* text, const core::recti& box, bool hcenter = false, bool vcenter = false)
	{
		Driver->clearRecords();
		Font->draw(text, box, video::SColor(255, 0, 0, 0), hcenter, vcenter);
		if (Driver->Batches.size() != 1)
		{
			ADD_FAILURE() << "expected one batch, got " << Driver->Batches.size();
			return std::vector<core::vector2di>();
		}
		return Driver->Batches[0].Positions;
	}

	CDropper<CTestFont> Font;
};

TEST_F(FontDrawTest, PageTextureIsBuiltOnlyWhenDirtyAndOncePerCall)
{
	Driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, false);
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, true);

	Font->draw(L"ab", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	ASSERT_EQ(Driver->Textures.size(), 1u);
	// A copy: the record list is cleared below.
	const STextureEvent first = Driver->Textures[0];
	EXPECT_TRUE(first.Added);
	EXPECT_EQ(first.Name, FirstPageName);
	EXPECT_FALSE(first.MipMaps);
	EXPECT_TRUE(first.Always32);
	EXPECT_FALSE(first.Always16);
	EXPECT_EQ(first.Size, core::dimension2du(512, 512));
	ASSERT_EQ(Driver->Batches.size(), 1u);
	EXPECT_EQ(Driver->Batches[0].Texture, first.Texture);
	EXPECT_EQ(Driver->Batches[0].Texture, Font->Pages[0]->Texture);
	EXPECT_FALSE(Font->Pages[0]->Dirty);
	// The caller's flags are back.
	EXPECT_TRUE(Driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS));
	EXPECT_FALSE(Driver->getTextureCreationFlag(video::ETCF_ALWAYS_32_BIT));
	EXPECT_TRUE(Driver->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT));

	// Nothing new: the texture is reused.
	Driver->clearRecords();
	Font->draw(L"ba", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	EXPECT_TRUE(Driver->Textures.empty());
	EXPECT_EQ(Driver->Batches.size(), 1u);

	// Two new batches of glyphs land on the page in one call: one rebuild,
	// with a neutral material set before the old texture goes.
	Driver->clearRecords();
	const u32 usedBefore = Font->Pages[0]->UsedSlots;
	Font->draw(L"\x4E2D\x5F00", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	EXPECT_GT(Font->Pages[0]->UsedSlots, usedBefore + 100);
	ASSERT_EQ(Driver->Textures.size(), 2u);
	EXPECT_FALSE(Driver->Textures[0].Added);
	EXPECT_EQ(Driver->Textures[0].Texture, first.Texture);
	EXPECT_TRUE(Driver->Textures[1].Added);
	EXPECT_EQ(Driver->Textures[1].Name, FirstPageName);
	EXPECT_EQ(Driver->MaterialSets, 1u);
	EXPECT_EQ(Driver->LastMaterialSet, 0u); // before the removal
	ASSERT_EQ(Driver->Batches.size(), 1u);
	EXPECT_EQ(Driver->Batches[0].Positions.size(), 2u);
	EXPECT_EQ(Driver->Batches[0].Texture, Font->Pages[0]->Texture);
}

TEST_F(GlyphPageTest, OneBatchPerUsedPageInPageOrder)
{
	CDropper<CTestFont> font(makeFont(core::dimension2du(256, 256)));
	ASSERT_TRUE(font.get());
	fillPages(*font, 3);
	// One glyph from the last page, then two from the first, one from the
	// last again; the middle page is not used.
	const u32 last = font->Pages.size() - 1;
	u32 lastPageChar = 0;
	for (u32 cp = 0x4E00; cp < 0xA000 && !lastPageChar; ++cp)
	{
		const u32 g = FT_Get_Char_Index(font->Face, cp);
		if (g && font->Glyphs[g - 1].Loaded && font->Glyphs[g - 1].Page == last)
			lastPageChar = cp;
	}
	ASSERT_NE(lastPageChar, 0u);
	const wchar_t text[] = {static_cast<wchar_t>(lastPageChar), L'a', L'b', static_cast<wchar_t>(lastPageChar), 0};

	Driver->clearRecords();
	font->draw(text, core::recti(0, 0, 200, 20), video::SColor(255, 0, 0, 0));
	// Every dirty page was uploaded, used or not.
	EXPECT_EQ(Driver->countTextures(true), font->Pages.size());
	ASSERT_EQ(Driver->Batches.size(), 2u);
	EXPECT_EQ(Driver->Batches[0].Texture, font->Pages[0]->Texture);
	EXPECT_EQ(Driver->Batches[0].Positions.size(), 2u);
	EXPECT_EQ(Driver->Batches[1].Texture, font->Pages[last]->Texture);
	EXPECT_EQ(Driver->Batches[1].Positions.size(), 2u);
	EXPECT_NE(Driver->Batches[0].Texture, Driver->Batches[1].Texture);
	// Pen order survives the split: the second glyph of the last page is
	// the fourth character, 9 + 8 pixels after the 'a'.
	EXPECT_EQ(Driver->Batches[1].Positions[0].X, 0 + font->glyphOf(lastPageChar).Offset.X);
	EXPECT_EQ(Driver->Batches[1].Positions[1].X, 16 + 9 + 9 + font->glyphOf(lastPageChar).Offset.X);
}

struct SColourCase
{
	const char* Name;
	bool Transparency;
	u32 Given;
	u32 Drawn;
};

class FontTransparencyTest : public FontFixture, public ::testing::WithParamInterface<SColourCase>
{
};

TEST_P(FontTransparencyTest, AlphaReachesTheDriver)
{
	const SColourCase& c = GetParam();
	CDropper<CTestFont> font(makeFont());
	ASSERT_TRUE(font.get());
	font->Transparency = c.Transparency;
	const core::recti clip(1, 2, 30, 40);
	font->draw(L"a\x4E2D", core::recti(0, 0, 100, 20), video::SColor(c.Given), false, false, &clip);
	ASSERT_EQ(Driver->Batches.size(), 1u);
	EXPECT_EQ(Driver->Batches[0].Color.color, c.Drawn);
	EXPECT_TRUE(Driver->Batches[0].UseAlpha);
	EXPECT_TRUE(Driver->Batches[0].HasClip);
	EXPECT_EQ(Driver->Batches[0].Clip, clip);
}

INSTANTIATE_TEST_SUITE_P(Colours, FontTransparencyTest, ::testing::Values(
	SColourCase{"keepsAlpha", true, 0x80102030, 0x80102030},
	SColourCase{"opaque", false, 0x80102030, 0xFF102030},
	SColourCase{"transparentKept", true, 0x00FFFFFF, 0x00FFFFFF}),
	[](const ::testing::TestParamInfo<SColourCase>& info) { return std::string(info.param.Name); });

struct SBreakCase
{
	const char* Name;
	const wchar_t* Text;
	s32 Breaks;
};

class FontLineBreakTest : public FontDrawTest, public ::testing::WithParamInterface<SBreakCase>
{
};

TEST_P(FontLineBreakTest, NextLineStartsAtTheLeftEdge)
{
	const SBreakCase& c = GetParam();
	const std::vector<core::vector2di> positions = drawOne(c.Text, core::recti(10, 20, 200, 120));
	// Only 'a' and 'b' are drawn: CR and LF (shown by the face's
	// replacement glyph) never reach the page.
	ASSERT_EQ(positions.size(), 2u);
	const gui::SGUITTGlyph& a = Font->glyphOf(L'a');
	const gui::SGUITTGlyph& b = Font->glyphOf(L'b');
	EXPECT_EQ(positions[0], core::vector2di(10 + a.Offset.X, 20 + 15 - a.Offset.Y));
	EXPECT_EQ(positions[1], core::vector2di(10 + b.Offset.X, 20 + 15 * c.Breaks + 15 - b.Offset.Y));
	EXPECT_EQ(Font->getDimension(c.Text).Height, static_cast<u32>(20 * (c.Breaks + 1)));
}

INSTANTIATE_TEST_SUITE_P(Texts, FontLineBreakTest, ::testing::Values(
	SBreakCase{"crlf", L"a\r\nb", 1},
	SBreakCase{"cr", L"a\rb", 1},
	SBreakCase{"lf", L"a\nb", 1},
	SBreakCase{"lfcr", L"a\n\rb", 2},
	SBreakCase{"crcrlf", L"a\r\r\nb", 2}),
	[](const ::testing::TestParamInfo<SBreakCase>& info) { return std::string(info.param.Name); });

TEST_F(FontDrawTest, CentringPutsEveryLineAtTheSameX)
{
	const wchar_t* text = L"ab\nabcdef";
	const core::dimension2du size = Font->getDimension(text);
	ASSERT_EQ(size.Height, 40u);
	const core::recti box(10, 10, 211, 91); // 201 × 81
	const std::vector<core::vector2di> positions = drawOne(text, box, true, true);
	ASSERT_EQ(positions.size(), 8u);
	const s32 left = 10 + ((201 - static_cast<s32>(size.Width)) >> 1);
	const s32 top = 10 + ((81 - 40) >> 1);
	const gui::SGUITTGlyph& a = Font->glyphOf(L'a');
	EXPECT_EQ(positions[0], core::vector2di(left + a.Offset.X, top + 15 - a.Offset.Y));
	EXPECT_EQ(positions[2], core::vector2di(left + a.Offset.X, top + 30 - a.Offset.Y));

	// A box narrower than the text moves the pen left of it.
	const std::vector<core::vector2di> narrow = drawOne(L"abcdef", core::recti(50, 0, 51, 20), true, false);
	ASSERT_EQ(narrow.size(), 6u);
	EXPECT_EQ(narrow[0].X, 50 + ((1 - static_cast<s32>(Font->getDimension(L"abcdef").Width)) >> 1) + a.Offset.X);
}

TEST_F(FontDrawTest, InvisibleCharactersAdvanceWithoutBeingDrawn)
{
	const gui::SGUITTGlyph& b = Font->glyphOf(L'b');
	std::vector<core::vector2di> positions = drawOne(L"a b", core::recti(0, 0, 100, 20));
	ASSERT_EQ(positions.size(), 2u);
	EXPECT_EQ(positions[1].X, 9 + 4 + b.Offset.X);
	EXPECT_TRUE(Font->glyphOf(L' ').Loaded);

	Font->setInvisibleCharacters(L"a");
	positions = drawOne(L"a b", core::recti(0, 0, 100, 20));
	ASSERT_EQ(positions.size(), 2u); // the blank (empty) and the b
	EXPECT_EQ(positions[0].X, 9);
	EXPECT_EQ(positions[1].X, 9 + 4 + b.Offset.X);

	// An invisible line feed is no line break: it advances like a character.
	Font->setInvisibleCharacters(core::ustring16(L"\n"));
	positions = drawOne(L"a\nb", core::recti(0, 0, 100, 20));
	ASSERT_EQ(positions.size(), 2u);
	EXPECT_EQ(positions[1].Y, positions[0].Y + Font->glyphOf(L'a').Offset.Y - b.Offset.Y);
	EXPECT_EQ(positions[1].X, 9 + Font->getCharWidth(10) + b.Offset.X);
}

TEST_F(FontDrawTest, KerningMovesThePenOfPairs)
{
	Font->setKerningWidth(3);
	Font->setKerningHeight(2);
	const std::vector<core::vector2di> positions = drawOne(L"ab\na", core::recti(0, 0, 100, 20));
	ASSERT_EQ(positions.size(), 3u);
	const gui::SGUITTGlyph& a = Font->glyphOf(L'a');
	const gui::SGUITTGlyph& b = Font->glyphOf(L'b');
	EXPECT_EQ(positions[0], core::vector2di(a.Offset.X, 15 - a.Offset.Y));
	EXPECT_EQ(positions[1], core::vector2di(9 + 3 + b.Offset.X, 2 + 15 - b.Offset.Y));
	// After a line break there is no previous character, so no kerning.
	EXPECT_EQ(positions[2], core::vector2di(a.Offset.X, 2 + 15 + 15 - a.Offset.Y));
	EXPECT_EQ(Font->getDimension(L"ab").Width, 9u + 3u + static_cast<u32>(Font->getCharWidth(L'b')));
}

TEST_F(FontDrawTest, EmptyTextDrawsNothing)
{
	Driver->clearRecords();
	Font->draw(L"", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0), true, true);
	EXPECT_TRUE(Driver->Batches.empty());
	Font->draw(L"   ", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	EXPECT_TRUE(Driver->Batches.empty());
}

struct SDimensionCase
{
	const char* Name;
	const wchar_t* Text;
	u32 Width;
	u32 Height;
};

class FontDimensionTest : public FontDrawTest, public ::testing::WithParamInterface<SDimensionCase>
{
};

TEST_P(FontDimensionTest, MeasuresWidestLineAndLineCount)
{
	const SDimensionCase& c = GetParam();
	EXPECT_EQ(Font->getDimension(c.Text), core::dimension2du(c.Width, c.Height));
	EXPECT_EQ(Font->getDimension(core::ustring16(c.Text)), core::dimension2du(c.Width, c.Height));
}

// Line height 20: the tallest of g (19), j (19) and _ (18), plus one.
// Advances: a 9, b 9, blank 4, CJK 16; CR and LF have none of their own.
INSTANTIATE_TEST_SUITE_P(Texts, FontDimensionTest, ::testing::Values(
	SDimensionCase{"empty", L"", 0, 20},
	SDimensionCase{"one", L"a", 9, 20},
	SDimensionCase{"blankMeasured", L"a b", 22, 20},
	SDimensionCase{"cjk", L"\x5F00\x59CB\x5E27:", 48 + 4, 20},
	SDimensionCase{"widestLine", L"a\r\nabb\rb", 27, 60},
	SDimensionCase{"trailingBreak", L"ab\n", 18, 40},
	SDimensionCase{"astralIsOneCharacter", L"\x1F600", 16, 20}),
	[](const ::testing::TestParamInfo<SDimensionCase>& info) { return std::string(info.param.Name); });

TEST_F(FontDrawTest, CharacterHeightsAndWidths)
{
	EXPECT_EQ(Font->getCharHeight(L'g'), 19);
	EXPECT_EQ(Font->getCharHeight(L'j'), 19);
	EXPECT_EQ(Font->getCharHeight(L'_'), 18);
	EXPECT_EQ(Font->getCharWidth(L'a'), 9);
	EXPECT_EQ(Font->getCharWidth(L' '), 4);
	EXPECT_EQ(Font->getCharWidth(0x4E2D), 16);
}

struct SHitCase
{
	const char* Name;
	const wchar_t* Text;
	s32 X;
	s32 Index;
};

class FontHitTest : public FontDrawTest, public ::testing::WithParamInterface<SHitCase>
{
};

TEST_P(FontHitTest, CharacterFromPos)
{
	const SHitCase& c = GetParam();
	EXPECT_EQ(Font->getCharacterFromPos(c.Text, c.X), c.Index);
	EXPECT_EQ(Font->getCharacterFromPos(core::ustring16(c.Text), c.X), c.Index);
}

INSTANTIATE_TEST_SUITE_P(Texts, FontHitTest, ::testing::Values(
	SHitCase{"zero", L"ab", 0, 0},
	SHitCase{"negative", L"ab", -5, 0},
	SHitCase{"endOfFirst", L"ab", 9, 0},
	SHitCase{"startOfSecond", L"ab", 10, 1},
	SHitCase{"endOfText", L"ab", 18, 1},
	SHitCase{"pastEnd", L"ab", 19, -1},
	SHitCase{"emptyText", L"", 0, -1},
	// An astral character is one code point (two UTF-16 units).
	SHitCase{"afterAstral", L"\x1F600" L"a", 17, 1}),
	[](const ::testing::TestParamInfo<SHitCase>& info) { return std::string(info.param.Name); });

TEST_F(FontDrawTest, PagesLeaveTheDriverWithTheFont)
{
	Font->draw(L"ab", core::recti(0, 0, 100, 20), video::SColor(255, 0, 0, 0));
	const video::ITexture* texture = Font->Pages[0]->Texture;
	ASSERT_TRUE(texture);
	const u32 textures = Driver->getTextureCount();
	Driver->clearRecords();
	Font.reset();
	ASSERT_EQ(Driver->Textures.size(), 1u);
	EXPECT_FALSE(Driver->Textures[0].Added);
	EXPECT_EQ(Driver->Textures[0].Texture, texture);
	EXPECT_EQ(Driver->getTextureCount(), textures - 1);
}

} // namespace
