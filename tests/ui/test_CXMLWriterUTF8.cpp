#include <gtest/gtest.h>

#include <string>

#include "ui/CXMLWriterUTF8.h"

using namespace irr;

namespace
{

// A write file that keeps its bytes in memory.
class CMemoryWriteFile : public io::IWriteFile
{
public:
	s32 write(const void* buffer, u32 sizeToWrite) override
	{
		Bytes.append(static_cast<const char*>(buffer), sizeToWrite);
		++Writes;
		return static_cast<s32>(sizeToWrite);
	}
	bool seek(long, bool) override { return false; }
	long getPos() const override { return static_cast<long>(Bytes.size()); }
	const io::path& getFileName() const override { return Name; }

	std::string Bytes;
	s32 Writes = 0;
	io::path Name = "memory";
};

struct XMLWriterTest : testing::Test
{
	void SetUp() override { Writer = new io::CXMLWriterUTF8(&File); }
	void TearDown() override
	{
		Writer->drop();
		EXPECT_EQ(File.getReferenceCount(), 1);  // the writer gave its reference back
	}

	CMemoryWriteFile File;
	io::CXMLWriterUTF8* Writer = nullptr;
};

struct STextCase
{
	std::wstring Text;
	std::string Bytes;
};

} // namespace

TEST_F(XMLWriterTest, TextIsEscapedAndEncodedAsUTF8)
{
	const wchar_t loneHigh[] = { 0xD800, L'x', 0 };
	const wchar_t loneLow[] = { 0xDC00, 0 };
	const wchar_t pairUnits[] = { 0xD83D, 0xDE00, 0 };  // a pair stored unit by unit
	const STextCase cases[] = {
		{ L"a<b & \"c\"", "a&lt;b &amp; &quot;c&quot;" },
		{ L"it's > 1", "it's &gt; 1" },
		{ L"&amp;", "&amp;amp;" },
		{ L"\x00E9", "\xC3\xA9" },
		{ L"\x4E2D", "\xE4\xB8\xAD" },
		{ L"\x0001F600", "\xF0\x9F\x98\x80" },
		{ pairUnits, "\xF0\x9F\x98\x80" },
		{ loneHigh, "\xEF\xBF\xBD" "x" },
		{ loneLow, "\xEF\xBF\xBD" },
		{ L"\xFDD0\xFDEF\xFDF0", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xB7\xB0" },
		{ L"\xFEFFok", "ok" },                  // a leading byte-order mark goes
		{ L"o\xFEFFk", "o\xEF\xBB\xBFk" },      // elsewhere it stays
		{ L"", "" },
	};
	for (const STextCase& c : cases)
	{
		SCOPED_TRACE(testing::PrintToString(c.Text));
		File.Bytes.clear();
		Writer->writeText(c.Text.c_str());
		EXPECT_EQ(File.Bytes, c.Bytes);
	}
}

TEST_F(XMLWriterTest, HeaderIsByteOrderMarkDeclarationAndLineBreak)
{
	Writer->writeXMLHeader();
	EXPECT_EQ(File.Bytes, std::string("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"));
}

TEST_F(XMLWriterTest, NestedElementExample)
{
	Writer->writeElement(L"a", false);
	Writer->writeLineBreak();
	Writer->writeElement(L"b", true, L"k", L"v");
	EXPECT_EQ(File.Bytes, std::string("<a>\r\n\t<b k=\"v\" />"));
}

TEST_F(XMLWriterTest, ClosingTagIndentsByDepthUnlessTextCameLast)
{
	Writer->writeElement(L"a", false);
	Writer->writeLineBreak();
	Writer->writeElement(L"b", false);
	Writer->writeText(L"t");
	Writer->writeClosingTag(L"b");           // right behind the text
	Writer->writeLineBreak();
	Writer->writeElement(L"c", false);
	Writer->writeLineBreak();
	Writer->writeClosingTag(L"c");           // depth 1 again: one tab
	Writer->writeLineBreak();
	Writer->writeClosingTag(L"a");           // depth 0: no tabs
	EXPECT_EQ(File.Bytes, std::string("<a>\r\n\t<b>t</b>\r\n\t<c>\r\n\t</c>\r\n</a>"));

	// Unbalanced closing tags take the depth below zero and write no tabs;
	// a new element then starts without indentation.
	File.Bytes.clear();
	Writer->writeClosingTag(L"x");
	Writer->writeClosingTag(L"y");
	Writer->writeElement(L"z", true);
	EXPECT_EQ(File.Bytes, std::string("</x></y><z />"));
}

TEST_F(XMLWriterTest, AttributesAreEscapedNamesAreNot)
{
	Writer->writeElement(L"e<\x4E2D", true, L"n&", L"<\"'>", nullptr, L"skipped", L"only-name", nullptr,
		L"k4", L"4", L"k5", L"5");
	EXPECT_EQ(File.Bytes, std::string("<e<\xE4\xB8\xAD n&=\"&lt;&quot;'&gt;\" k4=\"4\" k5=\"5\" />"));
}

TEST_F(XMLWriterTest, ArrayFormWritesPairsUpToTheShorterArray)
{
	core::array<core::stringw> names;
	core::array<core::stringw> values;
	names.push_back(L"a");
	names.push_back(L"b");
	names.push_back(L"c");
	values.push_back(L"1");
	values.push_back(L"\x00E9");
	Writer->writeElement(L"e", false, names, values);
	Writer->writeElement(L"f", true, names, values);
	EXPECT_EQ(File.Bytes, std::string("<e a=\"1\" b=\"\xC3\xA9\">\t<f a=\"1\" b=\"\xC3\xA9\" />"));
}

TEST_F(XMLWriterTest, CommentIsEscapedAndCountsAsText)
{
	Writer->writeElement(L"a", false);
	Writer->writeElement(L"b", false);
	Writer->writeComment(L"x<y \x4E2D");
	Writer->writeClosingTag(L"b");
	EXPECT_EQ(File.Bytes, std::string("<a>\t<b><!--x&lt;y \xE4\xB8\xAD--></b>"));
}

TEST_F(XMLWriterTest, NullArgumentsWriteNothing)
{
	Writer->writeElement(L"a", false);
	File.Bytes.clear();
	Writer->writeElement(nullptr, false);
	Writer->writeElement(nullptr, true, L"k", L"v");
	core::array<core::stringw> names;
	Writer->writeElement(nullptr, false, names, names);
	Writer->writeText(nullptr);
	Writer->writeComment(nullptr);
	Writer->writeClosingTag(nullptr);
	Writer->writeAttribute(nullptr, L"v");
	Writer->writeAttribute(L"k", nullptr);
	EXPECT_EQ(File.Bytes, "");
	// The depth did not move: a new element is still one level in.
	Writer->writeElement(L"b", true);
	EXPECT_EQ(File.Bytes, "\t<b />");
}

TEST(XMLWriterNullFile, WritesNothingAndDoesNotFail)
{
	io::CXMLWriterUTF8* writer = new io::CXMLWriterUTF8(nullptr);
	writer->writeXMLHeader();
	writer->writeElement(L"a", false, L"k", L"v");
	core::array<core::stringw> names;
	names.push_back(L"n");
	writer->writeElement(L"b", true, names, names);
	writer->writeComment(L"c");
	writer->writeText(L"t");
	writer->writeAttribute(L"k", L"v");
	writer->writeClosingTag(L"a");
	writer->writeLineBreak();
	EXPECT_EQ(writer->getReferenceCount(), 1);
	writer->drop();
}

TEST(XMLWriterFile, HoldsAReferenceToItsFile)
{
	CMemoryWriteFile* file = new CMemoryWriteFile;
	io::CXMLWriterUTF8* writer = new io::CXMLWriterUTF8(file);
	EXPECT_EQ(file->getReferenceCount(), 2);
	file->drop();                          // the writer keeps it alive
	writer->writeText(L"still here");
	EXPECT_EQ(file->Bytes, "still here");
	EXPECT_EQ(file->getReferenceCount(), 1);
	writer->drop();
}
