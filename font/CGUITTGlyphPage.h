// A glyph page of the TrueType GUI font: a software image cut into square
// cells of the font's pixel size, mirrored in one driver texture.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace gui
{

class CGUITTGlyphPage
{
public:
	//! \p driver is not owned; \p name is the page texture's name.
	CGUITTGlyphPage(video::IVideoDriver* driver, const io::path& name);

	//! Drops the image; removes the texture from the driver (or drops it
	//! when there is no driver).
	~CGUITTGlyphPage();

	//! Rebuilds Texture from the whole of Image: without mip maps, 16-bit
	//! for 1-bit pages, 32-bit otherwise. The driver's texture creation
	//! flags are restored afterwards. Clears Dirty.
	void updateTexture();

	//! Software image with the page pixels; the page holds one reference.
	video::IImage* Image;
	//! Driver texture made from Image by updateTexture (null before).
	video::ITexture* Texture;
	//! Cells still free.
	u32 FreeSlots;
	//! Cells used; also the number of the next cell.
	u32 UsedSlots;
	//! Image changed since Texture was made.
	bool Dirty;
	//! Screen positions collected by one draw call.
	core::array<core::vector2di> RenderPositions;
	//! Page rectangles of one draw call, parallel to RenderPositions.
	core::array<core::recti> RenderSourceRects;
	//! Not owned.
	video::IVideoDriver* Driver;
	//! Name under which the texture is registered with the driver.
	io::path PageName;

private:
	CGUITTGlyphPage(const CGUITTGlyphPage&);
	CGUITTGlyphPage& operator=(const CGUITTGlyphPage&);
};

} // namespace gui
} // namespace irr
