#include "meteor/CLittleEndianWriter.h"

#include <cstring>

namespace irr
{
namespace io
{

CLittleEndianWriter::CLittleEndianWriter(IWriteFile* file)
	: File(file), Used(0)
{
}

CLittleEndianWriter::~CLittleEndianWriter()
{
	flush();
}

void CLittleEndianWriter::writeU8(u8 value)
{
	if (Used == BufferSize)
		flush();
	Buffer[Used++] = value;
}

void CLittleEndianWriter::writeU32(u32 value)
{
	if (BufferSize - Used < 4)
		flush();
	Buffer[Used++] = static_cast<u8>(value);
	Buffer[Used++] = static_cast<u8>(value >> 8);
	Buffer[Used++] = static_cast<u8>(value >> 16);
	Buffer[Used++] = static_cast<u8>(value >> 24);
}

void CLittleEndianWriter::writeF32(f32 value)
{
	u32 bits;
	std::memcpy(&bits, &value, sizeof(bits));
	writeU32(bits);
}

void CLittleEndianWriter::writeBytes(const void* data, u32 size)
{
	const u8* bytes = static_cast<const u8*>(data);
	while (size)
	{
		if (Used == BufferSize)
			flush();
		const u32 part = core::min_(size, static_cast<u32>(BufferSize - Used));
		std::memcpy(Buffer + Used, bytes, part);
		Used += part;
		bytes += part;
		size -= part;
	}
}

void CLittleEndianWriter::writeString(const core::stringc& text)
{
	writeU32(text.size());
	writeBytes(text.c_str(), text.size());
}

void CLittleEndianWriter::flush()
{
	if (Used && File)
		File->write(Buffer, Used);
	Used = 0;
}

} // namespace io
} // namespace irr
