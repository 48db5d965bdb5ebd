// Placeholder until the TrueType font lands: no font is ever created.
#include "font/CGUITTFont.h"

namespace irr
{
namespace gui
{

CGUITTFont* CGUITTFont::create(IGUIEnvironment* env, const io::path& filename)
{
	(void)env;
	(void)filename;
	return 0;
}

} // namespace gui
} // namespace irr
