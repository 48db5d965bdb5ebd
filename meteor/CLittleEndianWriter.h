// Buffered binary output in little-endian byte order to an engine write file.
//
// Every value is taken apart with shifts, so the bytes on disk are the same
// on any host. The writer collects bytes in a small buffer and hands them to
// the file in blocks; call flush (or let the destructor do it) before
// anything else writes to the same file. The file is borrowed, not dropped.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace io
{

class CLittleEndianWriter
{
public:
	explicit CLittleEndianWriter(IWriteFile* file);
	~CLittleEndianWriter();

	void writeU8(u8 value);
	void writeU32(u32 value);
	void writeS32(s32 value) { writeU32(static_cast<u32>(value)); }
	// IEEE single precision, the bit pattern in little-endian order.
	void writeF32(f32 value);
	void writeBytes(const void* data, u32 size);
	// A 32-bit byte count followed by the bytes, no terminator.
	void writeString(const core::stringc& text);

	// Hands the collected bytes to the file.
	void flush();

private:
	CLittleEndianWriter(const CLittleEndianWriter&);
	CLittleEndianWriter& operator=(const CLittleEndianWriter&);

	enum { BufferSize = 32768 };
	IWriteFile* File;
	u32 Used;
	u8 Buffer[BufferSize];
};

} // namespace io
} // namespace irr
