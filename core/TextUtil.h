// Conversions between the wide text of the scene and the 8-bit text of files.
//
// wchar_t holds UTF-32 on this platform while the system is defined over
// UTF-16 units, so narrowing goes through UTF-16: a character above U+FFFF
// becomes a surrogate pair and each unit keeps its low byte.
#pragma once

#include <irrlicht.h>

namespace irr
{

// Low byte of each UTF-16 unit of a zero-terminated wide text (null: empty).
core::stringc narrowLowByte(const wchar_t* text);
inline core::stringc narrowLowByte(const core::stringw& text) { return narrowLowByte(text.c_str()); }

// UTF-8 form of a wide file path, for the engine's 8-bit file system.
io::path toFilePath(const core::stringw& path);

// Widens an 8-bit literal byte by byte.
core::stringw widenBytes(const c8* text);

} // namespace irr
