// UTF-8 form of this platform's wide (UTF-32) text; invalid code points and
// surrogates become U+FFFD.
#pragma once

#include <string>

namespace maxsub
{

inline std::string toUtf8(const wchar_t* text)
{
	std::string out;
	for (const wchar_t* p = text; p && *p; ++p)
	{
		unsigned c = (unsigned)*p;
		if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
			c = 0xFFFD;
		if (c < 0x80)
			out += (char)c;
		else if (c < 0x800)
		{
			out += (char)(0xC0 | (c >> 6));
			out += (char)(0x80 | (c & 0x3F));
		}
		else if (c < 0x10000)
		{
			out += (char)(0xE0 | (c >> 12));
			out += (char)(0x80 | ((c >> 6) & 0x3F));
			out += (char)(0x80 | (c & 0x3F));
		}
		else
		{
			out += (char)(0xF0 | (c >> 18));
			out += (char)(0x80 | ((c >> 12) & 0x3F));
			out += (char)(0x80 | ((c >> 6) & 0x3F));
			out += (char)(0x80 | (c & 0x3F));
		}
	}
	return out;
}

} // namespace maxsub
