// TrueType font for the engine's GUI, rasterised by FreeType.
//
// A font opens face 0 of a font file at 16 pixels. Fonts made from the same
// file name share one face (file read once into memory); the FreeType
// library is started by the first font and shut down when the last shared
// face goes. All of this process-wide state is unguarded: fonts are made,
// used and destroyed on one thread only.
//
// Glyphs are rasterised lazily, in batches of neighbouring code points
// around the first miss, onto glyph pages (software images mirrored in
// driver textures). Glyph indices are 1-based in every interface of the
// font; 0 means "no glyph".
#pragma once

#include <irrlicht.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "engine/irrUString.h"

namespace irr
{
namespace gui
{

class CGUITTGlyphPage;

//! A FreeType face shared by all fonts made from one file name.
struct SGUITTFace : public virtual IReferenceCounted
{
	SGUITTFace() : Face(0), Buffer(0), BufferSize(0) {}
	//! Closes the face, then frees the file contents it was read from.
	virtual ~SGUITTFace();

	//! Face 0 of the file.
	FT_Face Face;
	//! The whole font file (owned); FreeType reads the face from it.
	FT_Byte* Buffer;
	//! Number of bytes in Buffer.
	FT_Long BufferSize;
};

//! One record per glyph of the face. Only Loaded is meaningful until the
//! glyph is loaded; the other fields must not be read while it is false.
struct SGUITTGlyph
{
	SGUITTGlyph() : Loaded(false), Page(0)
	{
		Advance.x = 0;
		Advance.y = 0;
	}

	//! Rasterises glyph \p glyphIndex of \p face at \p size pixels and
	//! places it on the last page of \p pages (opening a new page when that
	//! one is full). Does nothing when already loaded; stays unloaded when
	//! FreeType fails, the bitmap is neither 1-bit nor 8-bit grey, or no
	//! page can hold a cell.
	void load(u32 glyphIndex, FT_Face face, video::IVideoDriver* driver, u32 size,
		core::dimension2du maxPageSize, core::array<CGUITTGlyphPage*>& pages,
		bool hinting, bool autoHinting, bool monochrome);

	//! The glyph has been rasterised and placed on a page.
	bool Loaded;
	//! Index of its page in the font's pages.
	u32 Page;
	//! The glyph's rectangle on the page image (size of the FreeType bitmap).
	core::recti SourceRect;
	//! x = bitmap_left, y = bitmap_top (pixels).
	core::vector2di Offset;
	//! Pen advance in 26.6 fixed point.
	FT_Vector Advance;
};

class CGUITTFont : public IGUIFont
{
public:
	//! The only way the system makes a font; null when FreeType cannot be
	//! started or the file cannot be used. The caller owns the reference.
	static CGUITTFont* create(IGUIEnvironment* env, const io::path& filename);

	//! A font without a face; load() gives it one. Grabs the environment's
	//! video driver.
	explicit CGUITTFont(IGUIEnvironment* env);

	//! Unloads every glyph, deletes the pages, releases the shared face
	//! (and FreeType with the last face) and drops the driver.
	virtual ~CGUITTFont();

	//! Opens face 0 of \p filename (shared with other fonts of that name)
	//! at 16 pixels and preloads the glyphs of code points 0 to 126.
	//! False, with nothing changed, when there is no environment or driver,
	//! the name is empty, the font already has a face, or the file cannot
	//! be read or is not a font.
	bool load(const io::path& filename);

	//! Marks every glyph unloaded and deletes every page.
	void reset();

	//! 1-based glyph index of \p codePoint, or of U+FFFD when the face does
	//! not map it; 0 when neither is mapped. A miss loads the batch of
	//! BatchSize code points around \p codePoint; a glyph that the batch
	//! did not cover (the replacement glyph) is loaded on its own. The
	//! returned glyph may still be unloaded when FreeType could not render
	//! it; readers of records check Loaded.
	u32 getGlyphIndex(u32 codePoint) const;

	//! Kerning of the pair (previousLetter, thisLetter) in pixels, plus the
	//! font's kerning width and height; (0, 0) when either is 0.
	core::vector2di getKerning(u32 thisLetter, u32 previousLetter) const;

	//! Pen advance of a code point in pixels.
	s32 getCharWidth(u32 codePoint) const;
	//! Height of a code point from the top of the line, in pixels.
	s32 getCharHeight(u32 codePoint) const;

	// IGUIFont

	//! Draws with one image batch per glyph page used by the text. CR LF,
	//! a lone CR and LF break the line (when the face gives them a glyph);
	//! characters in the invisible set advance the pen without being drawn.
	virtual void draw(const core::stringw& text, const core::rect<s32>& position,
		video::SColor color, bool hcenter = false, bool vcenter = false,
		const core::rect<s32>* clip = 0);
	virtual core::dimension2d<u32> getDimension(const wchar_t* text) const;
	virtual s32 getCharacterFromPos(const wchar_t* text, s32 pixel_x) const;
	virtual void setKerningWidth(s32 kerning);
	virtual void setKerningHeight(s32 kerning);
	virtual s32 getKerningWidth(const wchar_t* thisLetter = 0, const wchar_t* previousLetter = 0) const;
	virtual s32 getKerningHeight() const;
	virtual void setInvisibleCharacters(const wchar_t* s);

	// The same on UTF-16 text.

	virtual core::dimension2d<u32> getDimension(const core::ustring16& text) const;
	virtual s32 getCharacterFromPos(const core::ustring16& text, s32 pixel_x) const;
	//! x of getKerning for two code points.
	virtual s32 getKerningWidth(u32 thisLetter, u32 previousLetter) const;
	virtual void setInvisibleCharacters(const core::ustring16& s);

	//! True while the process-wide FreeType library is initialised.
	static bool isLibraryReady();
	//! Number of fonts sharing the face of \p filename (0: none open).
	static s32 getSharedFaceUsers(const io::path& filename);
	//! Number of file names with an open shared face.
	static u32 getSharedFaceCount();

protected:
	//! Ascender of the sized face in whole pixels (truncated).
	s32 getAscender() const;
	//! The record of a 1-based glyph index when it is loaded, else null.
	const SGUITTGlyph* getLoadedGlyph(u32 glyphIndex) const;
	void loadGlyph(u32 glyphIndex) const;

	IGUIEnvironment* Environment;
	video::IVideoDriver* Driver;
	io::path FontFile;
	FT_Face Face;
	FT_Size_Metrics Metrics;
	bool Monochrome;
	bool Transparency;
	bool Hinting;
	bool AutoHinting;
	u32 PixelSize;
	u32 BatchSize;
	//! Upper bound for page textures; 0 × 0 asks the driver.
	core::dimension2du MaxPageSize;
	// The glyph cache fills in during const measuring calls.
	mutable core::array<CGUITTGlyphPage*> Pages;
	//! Record i describes glyph index i + 1.
	mutable core::array<SGUITTGlyph> Glyphs;
	s32 KerningWidth;
	s32 KerningHeight;
	core::ustring16 Invisible;

private:
	CGUITTFont(const CGUITTFont&);
	CGUITTFont& operator=(const CGUITTFont&);

	// Which pages one draw call uses, by page index.
	core::array<bool> UsedPages;
};

} // namespace gui
} // namespace irr
