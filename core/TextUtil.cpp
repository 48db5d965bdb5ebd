#include "core/TextUtil.h"

#include "engine/irrUString.h"

namespace irr
{

core::stringc narrowLowByte(const wchar_t* text)
{
	core::stringc out;
	if (!text)
		return out;
	for (; *text; ++text)
	{
		const u32 c = static_cast<u32>(*text);
		if (c > 0xFFFF && c <= 0x10FFFF)
		{
			const u32 v = c - 0x10000;
			out.append(static_cast<c8>((0xD800 + (v >> 10)) & 0xFF));
			out.append(static_cast<c8>((0xDC00 + (v & 0x3FF)) & 0xFF));
		}
		else
			out.append(static_cast<c8>(c & 0xFF));
	}
	return out;
}

io::path toFilePath(const core::stringw& path)
{
	io::path out;
	for (u32 i = 0; i < path.size(); ++i)
	{
		u32 c = static_cast<u32>(path[i]);
		if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
			c = 0xFFFD;
		core::ustring16::appendUTF8(out, c);
	}
	return out;
}

core::stringw widenBytes(const c8* text)
{
	core::stringw out;
	if (!text)
		return out;
	for (; *text; ++text)
		out.append(static_cast<wchar_t>(static_cast<unsigned char>(*text)));
	return out;
}

} // namespace irr
