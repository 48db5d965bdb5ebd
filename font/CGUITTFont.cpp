#include "font/CGUITTFont.h"
#include "font/CGUITTGlyphPage.h"

namespace irr
{
namespace gui
{

namespace
{

// Process-wide FreeType state, shared by every font (one thread only).
FT_Library FreeTypeLibrary = 0;
bool LibraryReady = false;
core::map<io::path, SGUITTFace*> SharedFaces;

// FreeType load flags, spelled out as the font uses them.
const FT_Int32 LoadRender = 0x4;
const FT_Int32 LoadNoHinting = 0x2;
const FT_Int32 LoadNoAutoHint = 0x8000;
const FT_Int32 LoadMonochrome = 0x21002;

// Texture-creation size limit used when the driver reports none.
const u32 FallbackPageLimit = 2048;

u32 pageSideForPixelSize(u32 size)
{
	if (size <= 20)
		return 512;
	if (size <= 51)
		return 1024;
	if (size <= 102)
		return 2048;
	if (size <= 204)
		return 4096;
	return 8192;
}

// Builds the software image of one rendered glyph: white, with the coverage
// as alpha. Null for pixel modes the font does not handle.
video::IImage* makeGlyphImage(const FT_Bitmap& bits, video::IVideoDriver* driver)
{
	const core::dimension2du wanted(bits.width + 1, bits.rows + 1);
	if (bits.pixel_mode == FT_PIXEL_MODE_MONO)
	{
		const core::dimension2du size = wanted.getOptimalSize(true, true);
		video::IImage* image = driver->createImage(video::ECF_A1R5G5B5, size);
		if (!image)
			return 0;
		image->fill(video::SColor(0, 255, 255, 255));
		u16* pixels = static_cast<u16*>(image->lock());
		const u32 stride = image->getPitch() / 2;
		for (u32 y = 0; y < bits.rows; ++y)
		{
			const u8* row = bits.buffer + static_cast<s32>(y) * bits.pitch;
			for (u32 x = 0; x < bits.width; ++x)
				if (row[x / 8] & (0x80 >> (x % 8)))
					pixels[y * stride + x] = 0xFFFF;
		}
		image->unlock();
		return image;
	}
	if (bits.pixel_mode == FT_PIXEL_MODE_GRAY)
	{
		const core::dimension2du size = wanted.getOptimalSize(
			!driver->queryFeature(video::EVDF_TEXTURE_NPOT),
			!driver->queryFeature(video::EVDF_TEXTURE_NSQUARE));
		video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, size);
		if (!image)
			return 0;
		image->fill(video::SColor(0, 255, 255, 255));
		u32* pixels = static_cast<u32*>(image->lock());
		const u32 stride = image->getPitch() / 4;
		const f32 grays = static_cast<f32>(bits.num_grays);
		for (u32 y = 0; y < bits.rows; ++y)
		{
			const u8* row = bits.buffer + static_cast<s32>(y) * bits.pitch;
			for (u32 x = 0; x < bits.width; ++x)
			{
				const u32 alpha = static_cast<u32>(static_cast<f32>(row[x]) / grays * 255.0f);
				pixels[y * stride + x] |= alpha << 24;
			}
		}
		image->unlock();
		return image;
	}
	return 0;
}

// Opens a page for the next glyph; null when the size limit leaves no room
// for a single cell or the driver cannot make the image.
CGUITTGlyphPage* openPage(core::array<CGUITTGlyphPage*>& pages, FT_Face face,
	video::IVideoDriver* driver, u32 size, core::dimension2du limit, bool mono)
{
	if (limit.Width == 0 || limit.Height == 0)
		limit = driver->getMaxTextureSize();
	if (limit.Width == 0 || limit.Height == 0)
		limit.set(FallbackPageLimit, FallbackPageLimit);

	const u32 side = pageSideForPixelSize(size);
	core::dimension2du pageSize(side, side);
	if (side > limit.Width || side > limit.Height)
		pageSize = limit;

	// A page narrower or lower than one cell could hold no glyph at all:
	// every glyph would then open another empty page.
	const u32 cells = (pageSize.Height / size) * (pageSize.Width / size);
	if (cells == 0)
		return 0;

	video::IImage* image = driver->createImage(
		mono ? video::ECF_A1R5G5B5 : video::ECF_A8R8G8B8, pageSize);
	if (!image)
		return 0;
	image->fill(video::SColor(0, 255, 255, 255));

	io::path name("TTFontGlyphPage_");
	if (face->family_name)
		name += face->family_name;
	name += ".";
	if (face->style_name)
		name += face->style_name;
	name += ".";
	name += io::path(size);
	name += "_";
	name += io::path(pages.size());

	CGUITTGlyphPage* page = new CGUITTGlyphPage(driver, name);
	page->Image = image;
	page->FreeSlots = cells;
	pages.push_back(page);
	return page;
}

bool startLibrary()
{
	if (!LibraryReady)
	{
		if (FT_Init_FreeType(&FreeTypeLibrary))
			return false;
		LibraryReady = true;
	}
	return true;
}

} // namespace

SGUITTFace::~SGUITTFace()
{
	if (Face)
		FT_Done_Face(Face);
	delete[] Buffer;
}

void SGUITTGlyph::load(u32 glyphIndex, FT_Face face, video::IVideoDriver* driver, u32 size,
	core::dimension2du maxPageSize, core::array<CGUITTGlyphPage*>& pages,
	bool hinting, bool autoHinting, bool monochrome)
{
	if (Loaded || !face || !driver || size == 0)
		return;

	// The face may be shared with a font of another size.
	FT_Set_Pixel_Sizes(face, 0, size);

	FT_Int32 flags = LoadRender;
	if (!hinting)
		flags |= LoadNoHinting;
	if (!autoHinting)
		flags |= LoadNoAutoHint;
	if (monochrome)
		flags |= LoadMonochrome;
	if (FT_Load_Glyph(face, glyphIndex, flags))
		return;

	const FT_GlyphSlot slot = face->glyph;
	const FT_Bitmap& bits = slot->bitmap;
	video::IImage* image = makeGlyphImage(bits, driver);
	if (!image)
		return;
	const bool mono = bits.pixel_mode == FT_PIXEL_MODE_MONO;

	CGUITTGlyphPage* page = pages.empty() ? 0 : pages.getLast();
	if (!page || page->FreeSlots == 0)
		page = openPage(pages, face, driver, size, maxPageSize, mono);
	if (!page)
	{
		image->drop();
		return;
	}

	const u32 columns = page->Image->getDimension().Width / size;
	const s32 x = static_cast<s32>((page->UsedSlots % columns) * size);
	const s32 y = static_cast<s32>((page->UsedSlots / columns) * size);

	// A bitmap may be larger than its cell: the copy then spills into the
	// cells to the right and below, which later glyphs overwrite.
	image->copyTo(page->Image, core::position2di(x, y));
	image->drop();

	SourceRect = core::recti(x, y, x + static_cast<s32>(bits.width), y + static_cast<s32>(bits.rows));
	Offset.set(slot->bitmap_left, slot->bitmap_top);
	Advance = slot->advance;
	page->Dirty = true;
	++page->UsedSlots;
	--page->FreeSlots;
	Page = pages.size() - 1;
	Loaded = true;
}

CGUITTFont* CGUITTFont::create(IGUIEnvironment* env, const io::path& filename)
{
	if (!startLibrary())
		return 0;

	CGUITTFont* font = new CGUITTFont(env);
	if (!font->load(filename))
	{
		font->drop();
		return 0;
	}
	return font;
}

CGUITTFont::CGUITTFont(IGUIEnvironment* env)
	: Environment(env), Driver(0), Face(0), Monochrome(false), Transparency(true),
	  Hinting(true), AutoHinting(true), PixelSize(16), BatchSize(100),
	  MaxPageSize(0, 0), KerningWidth(0), KerningHeight(0), Invisible(L" ")
{
	Metrics = FT_Size_Metrics();
	if (Environment)
		Driver = Environment->getVideoDriver();
	if (Driver)
		Driver->grab();
}

CGUITTFont::~CGUITTFont()
{
	reset();
	Glyphs.clear();

	// Only a font that opened its face holds a reference to it: a font whose
	// load failed may carry the name of a face another font still uses.
	core::map<io::path, SGUITTFace*>::Node* node = Face ? SharedFaces.find(FontFile) : 0;
	if (node)
	{
		SGUITTFace* shared = node->getValue();
		if (shared->getReferenceCount() == 1)
			SharedFaces.remove(FontFile);
		shared->drop();
		if (SharedFaces.empty() && LibraryReady)
		{
			FT_Done_FreeType(FreeTypeLibrary);
			FreeTypeLibrary = 0;
			LibraryReady = false;
		}
	}

	if (Driver)
		Driver->drop();
}

bool CGUITTFont::load(const io::path& filename)
{
	if (!Environment || !Driver || filename.size() == 0 || Face)
		return false;
	// A font constructed directly (not through create) starts FreeType here.
	if (!startLibrary())
		return false;

	PixelSize = 16;
	io::IFileSystem* fileSystem = Environment->getFileSystem();
	FontFile = filename;

	SGUITTFace* shared = 0;
	core::map<io::path, SGUITTFace*>::Node* node = SharedFaces.find(filename);
	if (node)
	{
		shared = node->getValue();
		shared->grab();
	}
	else
	{
		shared = new SGUITTFace();
		SharedFaces.insert(filename, shared);

		bool opened = false;
		if (fileSystem)
		{
			io::IReadFile* file = fileSystem->createAndOpenFile(filename);
			if (file)
			{
				const long size = file->getSize();
				if (size > 0)
				{
					shared->Buffer = new FT_Byte[size];
					shared->BufferSize = size;
					// A short read would hand FreeType a half-filled buffer.
					opened = file->read(shared->Buffer, static_cast<u32>(size)) == static_cast<s32>(size)
						&& !FT_New_Memory_Face(FreeTypeLibrary, shared->Buffer, shared->BufferSize, 0, &shared->Face);
				}
				file->drop();
			}
		}
		else
			opened = !FT_New_Face(FreeTypeLibrary, filename.c_str(), 0, &shared->Face);

		if (!opened)
		{
			SharedFaces.remove(filename);
			shared->drop();
			return false;
		}
	}

	Face = shared->Face;
	FT_Set_Pixel_Sizes(Face, PixelSize, 0);
	Metrics = Face->size->metrics;

	Glyphs.set_used(0);
	Glyphs.reallocate(static_cast<u32>(Face->num_glyphs));
	for (FT_Long i = 0; i < Face->num_glyphs; ++i)
		Glyphs.push_back(SGUITTGlyph());

	// Batches start at code point 0 when they are asked for it: this loads
	// everything from 0 to 126 the face maps.
	const u32 batch = BatchSize;
	BatchSize = 127;
	getGlyphIndex(0);
	BatchSize = batch;
	return true;
}

void CGUITTFont::reset()
{
	for (u32 i = 0; i < Glyphs.size(); ++i)
		Glyphs[i].Loaded = false;
	for (u32 i = 0; i < Pages.size(); ++i)
		delete Pages[i];
	Pages.clear();
}

void CGUITTFont::loadGlyph(u32 glyphIndex) const
{
	if (glyphIndex == 0 || glyphIndex > Glyphs.size())
		return;
	Glyphs[glyphIndex - 1].load(glyphIndex, Face, Driver, PixelSize, MaxPageSize, Pages,
		Hinting, AutoHinting, Monochrome);
}

u32 CGUITTFont::getGlyphIndex(u32 codePoint) const
{
	if (!Face)
		return 0;
	u32 g = FT_Get_Char_Index(Face, codePoint);
	if (g == 0)
		g = FT_Get_Char_Index(Face, 0xFFFD);
	if (g > Glyphs.size())
		return 0;
	if (g != 0 && Glyphs[g - 1].Loaded)
		return g;

	const u32 half = BatchSize / 2;
	const u32 start = codePoint > half ? codePoint - half : 0;
	const u32 end = start + (BatchSize > 0 ? BatchSize : 1);
	for (u32 cp = start; cp < end; ++cp)
	{
		const u32 i = FT_Get_Char_Index(Face, cp);
		if (i != 0 && i <= Glyphs.size() && !Glyphs[i - 1].Loaded)
			loadGlyph(i);
	}

	// The replacement glyph lies outside the batch of an unmapped character.
	if (g != 0 && !Glyphs[g - 1].Loaded)
		loadGlyph(g);
	return g;
}

const SGUITTGlyph* CGUITTFont::getLoadedGlyph(u32 glyphIndex) const
{
	if (glyphIndex == 0 || glyphIndex > Glyphs.size() || !Glyphs[glyphIndex - 1].Loaded)
		return 0;
	return &Glyphs[glyphIndex - 1];
}

s32 CGUITTFont::getAscender() const
{
	return static_cast<s32>(Metrics.ascender / 64);
}

core::vector2di CGUITTFont::getKerning(u32 thisLetter, u32 previousLetter) const
{
	if (!Face || thisLetter == 0 || previousLetter == 0)
		return core::vector2di(0, 0);

	FT_Set_Pixel_Sizes(Face, 0, PixelSize);
	core::vector2di k(KerningWidth, KerningHeight);
	if (FT_HAS_KERNING(Face))
	{
		const u32 a = getGlyphIndex(thisLetter);
		const u32 b = getGlyphIndex(previousLetter);
		FT_Vector v;
		v.x = 0;
		v.y = 0;
		FT_Get_Kerning(Face, b, a, FT_KERNING_DEFAULT, &v);
		if (FT_IS_SCALABLE(Face))
		{
			k.X += static_cast<s32>(v.x / 64);
			k.Y += static_cast<s32>(v.y / 64);
		}
		else
		{
			k.X += static_cast<s32>(v.x);
			k.Y += static_cast<s32>(v.y);
		}
	}
	return k;
}

s32 CGUITTFont::getCharWidth(u32 codePoint) const
{
	const SGUITTGlyph* glyph = getLoadedGlyph(getGlyphIndex(codePoint));
	if (glyph)
		return static_cast<s32>(glyph->Advance.x / 64);
	return codePoint >= 0x2000 ? getAscender() : getAscender() / 2;
}

s32 CGUITTFont::getCharHeight(u32 codePoint) const
{
	const SGUITTGlyph* glyph = getLoadedGlyph(getGlyphIndex(codePoint));
	if (glyph)
		return getAscender() - glyph->Offset.Y + glyph->SourceRect.getHeight();
	return getAscender() / 2;
}

void CGUITTFont::draw(const core::stringw& text, const core::rect<s32>& position,
	video::SColor color, bool hcenter, bool vcenter, const core::rect<s32>* clip)
{
	if (!Driver)
		return;

	for (u32 i = 0; i < Pages.size(); ++i)
	{
		Pages[i]->RenderPositions.set_used(0);
		Pages[i]->RenderSourceRects.set_used(0);
	}

	const core::ustring16 utext(text);
	core::position2di pen = position.UpperLeftCorner;
	core::dimension2d<u32> textSize(0, 0);
	if (hcenter || vcenter)
	{
		textSize = getDimension(utext);
		if (hcenter)
			pen.X += (position.getWidth() - static_cast<s32>(textSize.Width)) >> 1;
		if (vcenter)
			pen.Y += (position.getHeight() - static_cast<s32>(textSize.Height)) >> 1;
	}
	const s32 lineStart = hcenter
		? position.UpperLeftCorner.X + ((position.getWidth() - static_cast<s32>(textSize.Width)) >> 1)
		: position.UpperLeftCorner.X;
	const s32 ascender = getAscender();

	UsedPages.set_used(0);
	u32 previous = 0;
	for (core::ustring16::const_iterator it = utext.begin(); it != utext.end(); ++it)
	{
		const u32 c = *it;
		const u32 n = getGlyphIndex(c);
		bool lineBreak = false;
		if (n != 0 && !Invisible.contains(c))
		{
			if (c == 13 || c == 10)
			{
				if (c == 13)
				{
					core::ustring16::const_iterator next = it;
					++next;
					if (next != utext.end() && *next == 10)
						it = next;
				}
				lineBreak = true;
				previous = 0;
				pen.Y += ascender;
				pen.X = lineStart;
			}
			else
			{
				pen += getKerning(c, previous);
				// A glyph FreeType could not render has nothing to show;
				// it still advances the pen below.
				const SGUITTGlyph* glyph = getLoadedGlyph(n);
				if (glyph && glyph->Page < Pages.size())
				{
					CGUITTGlyphPage* page = Pages[glyph->Page];
					page->RenderPositions.push_back(core::vector2di(
						pen.X + glyph->Offset.X, pen.Y + ascender - glyph->Offset.Y));
					page->RenderSourceRects.push_back(glyph->SourceRect);
					while (UsedPages.size() <= glyph->Page)
						UsedPages.push_back(false);
					UsedPages[glyph->Page] = true;
				}
			}
		}
		if (!lineBreak)
		{
			pen.X += getCharWidth(c);
			previous = c;
		}
	}

	for (u32 i = 0; i < Pages.size(); ++i)
		if (Pages[i]->Dirty)
			Pages[i]->updateTexture();

	for (u32 i = 0; i < UsedPages.size(); ++i)
	{
		if (!UsedPages[i])
			continue;
		CGUITTGlyphPage* page = Pages[i];
		if (!page->Texture)
			continue;
		if (!Transparency)
			color.setAlpha(255);
		Driver->draw2DImageBatch(page->Texture, page->RenderPositions, page->RenderSourceRects,
			clip, color, true);
	}
	UsedPages.set_used(0);
}

core::dimension2d<u32> CGUITTFont::getDimension(const wchar_t* text) const
{
	return getDimension(core::ustring16(text));
}

core::dimension2d<u32> CGUITTFont::getDimension(const core::ustring16& text) const
{
	const s32 hg = getCharHeight(0x67) + 1;
	const s32 hj = getCharHeight(0x6A) + 1;
	const s32 hu = getCharHeight(0x5F) + 1;
	const s32 h = core::max_(hg, hj, hu);

	s32 width = 0;
	s32 height = h;
	s32 lineWidth = 0;
	u32 previous = 0;
	for (core::ustring16::const_iterator it = text.begin(); it != text.end(); ++it)
	{
		u32 p = *it;
		bool lineBreak = false;
		if (p == 13)
		{
			core::ustring16::const_iterator next = it;
			++next;
			if (next != text.end() && *next == 10)
			{
				it = next;
				p = 10;
			}
			lineBreak = true;
		}
		else if (p == 10)
			lineBreak = true;

		lineWidth += getKerning(p, previous).X;
		previous = p;
		if (lineBreak)
		{
			height += h;
			previous = 0;
			width = core::max_(width, lineWidth);
			lineWidth = 0;
		}
		else
			lineWidth += getCharWidth(p);
	}
	width = core::max_(width, lineWidth);
	// Negative kerning could drive a width below zero; the size is unsigned.
	return core::dimension2d<u32>(static_cast<u32>(core::max_(width, 0)), static_cast<u32>(core::max_(height, 0)));
}

s32 CGUITTFont::getCharacterFromPos(const wchar_t* text, s32 pixel_x) const
{
	return getCharacterFromPos(core::ustring16(text), pixel_x);
}

s32 CGUITTFont::getCharacterFromPos(const core::ustring16& text, s32 pixel_x) const
{
	s32 x = 0;
	s32 index = 0;
	u32 previous = 0;
	for (core::ustring16::const_iterator it = text.begin(); it != text.end(); ++it)
	{
		const u32 c = *it;
		x += getCharWidth(c);
		x += getKerning(c, previous).X;
		if (x >= pixel_x)
			return index;
		previous = c;
		++index;
	}
	return -1;
}

void CGUITTFont::setKerningWidth(s32 kerning)
{
	KerningWidth = kerning;
}

void CGUITTFont::setKerningHeight(s32 kerning)
{
	KerningHeight = kerning;
}

s32 CGUITTFont::getKerningWidth(const wchar_t* thisLetter, const wchar_t* previousLetter) const
{
	if (!Face)
		return KerningWidth;
	if (!thisLetter || !previousLetter)
		return 0;
	return getKerningWidth(static_cast<u32>(*thisLetter), static_cast<u32>(*previousLetter));
}

s32 CGUITTFont::getKerningWidth(u32 thisLetter, u32 previousLetter) const
{
	return getKerning(thisLetter, previousLetter).X;
}

s32 CGUITTFont::getKerningHeight() const
{
	return KerningHeight;
}

void CGUITTFont::setInvisibleCharacters(const wchar_t* s)
{
	Invisible = core::ustring16(s);
}

void CGUITTFont::setInvisibleCharacters(const core::ustring16& s)
{
	Invisible = s;
}

bool CGUITTFont::isLibraryReady()
{
	return LibraryReady;
}

s32 CGUITTFont::getSharedFaceUsers(const io::path& filename)
{
	core::map<io::path, SGUITTFace*>::Node* node = SharedFaces.find(filename);
	return node ? node->getValue()->getReferenceCount() : 0;
}

u32 CGUITTFont::getSharedFaceCount()
{
	return SharedFaces.size();
}

} // namespace gui
} // namespace irr
