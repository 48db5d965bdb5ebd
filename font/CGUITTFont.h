// TrueType font for the engine's GUI, rasterised by FreeType.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace gui
{

class CGUITTFont : public IGUIFont
{
public:
	// The only way to make a font; null when the file cannot be used.
	static CGUITTFont* create(IGUIEnvironment* env, const io::path& filename);
};

} // namespace gui
} // namespace irr
