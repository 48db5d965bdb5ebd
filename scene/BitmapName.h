// File names of bitmap texture maps, as the exported files carry them.
#pragma once

#include <irrlicht.h>

#include "max.h"

namespace irr
{

// The text after the last '/' or '\' of a wide bitmap path. A path without
// separator, or whose only separator is its first character, is returned
// whole. A null path gives an empty name.
core::stringw bitmapFileName(const MCHAR* path);

} // namespace irr
