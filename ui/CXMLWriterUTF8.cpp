#include "ui/CXMLWriterUTF8.h"

#include <cstring>

#include "engine/irrUString.h"

namespace irr
{
namespace io
{

namespace
{

struct SEscape
{
	wchar_t Character;
	const wchar_t* Replacement;
};

// Looked up in this order; ended by a zero character.
const SEscape EscapeTable[] = {
	{ L'&', L"&amp;" },
	{ L'<', L"&lt;" },
	{ L'>', L"&gt;" },
	{ L'"', L"&quot;" },
	{ 0, 0 }
};

} // namespace

CXMLWriterUTF8::CXMLWriterUTF8(IWriteFile* file)
	: File(file), IndentLevel(0), LastWasText(false)
{
	if (File)
		File->grab();
}

CXMLWriterUTF8::~CXMLWriterUTF8()
{
	if (File)
		File->drop();
}

void CXMLWriterUTF8::writeBytes(const c8* bytes, u32 count)
{
	if (count)
		File->write(bytes, count);
}

void CXMLWriterUTF8::writeASCII(const c8* text)
{
	writeBytes(text, static_cast<u32>(std::strlen(text)));
}

void CXMLWriterUTF8::writeConverted(const wchar_t* text)
{
	const core::stringc utf8 = core::ustring16(text).toUTF8_s(false);
	writeBytes(utf8.c_str(), utf8.size());
}

void CXMLWriterUTF8::writeIndent()
{
	for (s32 i = 0; i < IndentLevel; ++i)
		writeBytes("\t", 1);
}

void CXMLWriterUTF8::writeXMLHeader()
{
	if (!File)
		return;
	writeBytes("\xEF\xBB\xBF", 3);
	writeASCII("<?xml version=\"1.0\"?>");
	writeLineBreak();
	LastWasText = false;
}

void CXMLWriterUTF8::writeElement(const wchar_t* name, bool empty,
	const wchar_t* attr1Name, const wchar_t* attr1Value,
	const wchar_t* attr2Name, const wchar_t* attr2Value,
	const wchar_t* attr3Name, const wchar_t* attr3Value,
	const wchar_t* attr4Name, const wchar_t* attr4Value,
	const wchar_t* attr5Name, const wchar_t* attr5Value)
{
	if (!File || !name)
		return;

	writeIndent();
	writeBytes("<", 1);
	writeConverted(name);

	writeAttribute(attr1Name, attr1Value);
	writeAttribute(attr2Name, attr2Value);
	writeAttribute(attr3Name, attr3Value);
	writeAttribute(attr4Name, attr4Value);
	writeAttribute(attr5Name, attr5Value);

	if (empty)
		writeASCII(" />");
	else
	{
		writeBytes(">", 1);
		++IndentLevel;
	}
	LastWasText = false;
}

void CXMLWriterUTF8::writeElement(const wchar_t* name, bool empty,
	core::array<core::stringw>& names, core::array<core::stringw>& values)
{
	if (!File || !name)
		return;

	writeIndent();
	writeBytes("<", 1);
	writeConverted(name);

	for (u32 i = 0; i < names.size() && i < values.size(); ++i)
		writeAttribute(names[i].c_str(), values[i].c_str());

	if (empty)
		writeASCII(" />");
	else
	{
		writeBytes(">", 1);
		++IndentLevel;
	}
	LastWasText = false;
}

void CXMLWriterUTF8::writeAttribute(const wchar_t* name, const wchar_t* value)
{
	if (!File || !name || !value)
		return;
	writeBytes(" ", 1);
	writeConverted(name);
	writeASCII("=\"");
	writeText(value);
	writeBytes("\"", 1);
}

void CXMLWriterUTF8::writeComment(const wchar_t* comment)
{
	if (!File || !comment)
		return;
	writeASCII("<!--");
	writeText(comment);
	writeASCII("-->");
}

void CXMLWriterUTF8::writeClosingTag(const wchar_t* name)
{
	if (!File || !name)
		return;
	--IndentLevel;
	if (IndentLevel > 0 && !LastWasText)
		writeIndent();
	writeASCII("</");
	writeConverted(name);
	writeBytes(">", 1);
	LastWasText = false;
}

void CXMLWriterUTF8::writeText(const wchar_t* text)
{
	if (!File || !text)
		return;

	core::stringw escaped;
	for (const wchar_t* c = text; *c; ++c)
	{
		const SEscape* e = EscapeTable;
		while (e->Character && e->Character != *c)
			++e;
		if (e->Character)
			escaped += e->Replacement;
		else
			escaped.append(*c);
	}

	writeConverted(escaped.c_str());
	LastWasText = true;
}

void CXMLWriterUTF8::writeLineBreak()
{
	if (!File)
		return;
	writeBytes("\r\n", 2);
}

} // namespace io
} // namespace irr
