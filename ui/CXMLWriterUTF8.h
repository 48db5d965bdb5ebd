// XML writer for engine write files, encoding everything as UTF-8.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace io
{

// Implements the engine's IXMLWriter over an IWriteFile. Names and texts
// arrive as wide strings and are written as UTF-8 (surrogate pairs become
// one 4-byte sequence, unpaired surrogates and U+FDD0..U+FDEF become U+FFFD,
// a byte-order mark at the head of a string is dropped). Texts, attribute
// values and comments are escaped (& < > and the double quote); names are not.
//
// Output goes straight to the file, piece by piece, without terminating
// zeros. No operation writes a line break by itself except writeXMLHeader.
// A null file makes every operation a no-op; a null name, text or comment
// makes that one operation a no-op. The writer holds a reference to the
// file for its lifetime.
class CXMLWriterUTF8 : public IXMLWriter
{
public:
	explicit CXMLWriterUTF8(IWriteFile* file);
	virtual ~CXMLWriterUTF8();

	// The UTF-8 byte-order mark, <?xml version="1.0"?> and a line break.
	virtual void writeXMLHeader();

	// Indentation by tabs at the current depth, "<name", the attribute
	// pairs whose name and value are both given, then " />" for an empty
	// element or ">" (one level deeper) otherwise.
	virtual void writeElement(const wchar_t* name, bool empty = false,
		const wchar_t* attr1Name = 0, const wchar_t* attr1Value = 0,
		const wchar_t* attr2Name = 0, const wchar_t* attr2Value = 0,
		const wchar_t* attr3Name = 0, const wchar_t* attr3Value = 0,
		const wchar_t* attr4Name = 0, const wchar_t* attr4Value = 0,
		const wchar_t* attr5Name = 0, const wchar_t* attr5Value = 0);

	// The pairs at positions below the size of both arrays.
	virtual void writeElement(const wchar_t* name, bool empty,
		core::array<core::stringw>& names, core::array<core::stringw>& values);

	virtual void writeComment(const wchar_t* comment);

	// One level up; tabs only when the depth stays positive and the last
	// thing written was not text (so "<a>text</a>" stays on one line).
	virtual void writeClosingTag(const wchar_t* name);

	virtual void writeText(const wchar_t* text);

	// CR LF.
	virtual void writeLineBreak();

	// One blank, name="escaped value".
	void writeAttribute(const wchar_t* name, const wchar_t* value);

private:
	void writeBytes(const c8* bytes, u32 count);
	void writeASCII(const c8* text);
	void writeConverted(const wchar_t* text);
	void writeIndent();

	IWriteFile* File;
	s32 IndentLevel;
	bool LastWasText;
};

} // namespace io
} // namespace irr
