#include "engine/irrUString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using irr::core::ustring16;
using irr::core::uchar16_t;

namespace
{

std::string hexBytes(const irr::core::stringc& s)
{
	static const char digits[] = "0123456789ABCDEF";
	std::string out;
	for (irr::u32 i = 0; i < s.size(); ++i)
	{
		const unsigned char b = static_cast<unsigned char>(s[i]);
		if (!out.empty())
			out += ' ';
		out += digits[b >> 4];
		out += digits[b & 15];
	}
	return out;
}

std::vector<irr::u32> codePoints(const ustring16& s)
{
	std::vector<irr::u32> out;
	for (ustring16::const_iterator it = s.begin(); it != s.end(); ++it)
		out.push_back(*it);
	return out;
}

struct SWideCase
{
	const char* Name;
	std::vector<wchar_t> Text;
	const char* Utf8;
	irr::u32 CodePoints;
};

class WideToUTF8 : public ::testing::TestWithParam<SWideCase>
{
};

TEST_P(WideToUTF8, GivesExpectedBytes)
{
	const SWideCase& c = GetParam();
	const ustring16 s(c.Text.data(), static_cast<irr::u32>(c.Text.size()));
	EXPECT_EQ(hexBytes(s.toUTF8_s()), c.Utf8);
	EXPECT_EQ(s.size(), c.CodePoints);
}

INSTANTIATE_TEST_SUITE_P(Table, WideToUTF8, ::testing::Values(
	SWideCase{"ascii", {L'a', L'<', 0x7F}, "61 3C 7F", 3},
	SWideCase{"latin", {0xE9}, "C3 A9", 1},
	SWideCase{"twoByteTop", {0x7FF}, "DF BF", 1},
	SWideCase{"cjk", {0x4E2D}, "E4 B8 AD", 1},
	SWideCase{"astral", {0x1F600}, "F0 9F 98 80", 1},
	SWideCase{"topOfUnicode", {0x10FFFF}, "F4 8F BF BF", 1},
	SWideCase{"beyondUnicode", {0x110000}, "EF BF BD", 1},
	SWideCase{"loneHigh", {0xD800, L'x'}, "EF BF BD 78", 2},
	SWideCase{"loneLow", {L'x', 0xDC00, L'y'}, "78 EF BF BD 79", 3},
	// A surrogate pair stored in two wide characters stays one character.
	SWideCase{"pairInWide", {0xD83D, 0xDE00}, "F0 9F 98 80", 1},
	SWideCase{"trailingHigh", {L'a', 0xDBFF}, "61 EF BF BD", 2},
	SWideCase{"nonCharFirst", {0xFDD0}, "EF BF BD", 1},
	SWideCase{"nonCharLast", {0xFDEF}, "EF BF BD", 1},
	SWideCase{"besideNonChars", {0xFDCF, 0xFDF0}, "EF B7 8F EF B7 B0", 2},
	SWideCase{"bomDropped", {0xFEFF, L'a'}, "61", 1},
	SWideCase{"onlyLeadingBomDropped", {L'a', 0xFEFF}, "61 EF BB BF", 2},
	SWideCase{"swappedBom", {0xFFFE, 0x2D4E, 0x6100}, "E4 B8 AD 61", 2},
	SWideCase{"empty", {}, "", 0}),
	[](const ::testing::TestParamInfo<SWideCase>& info) { return std::string(info.param.Name); });

TEST(UString16, Utf8ByteOrderMarkOnRequest)
{
	const ustring16 s(L"a");
	EXPECT_EQ(hexBytes(s.toUTF8_s(true)), "EF BB BF 61");
	EXPECT_EQ(hexBytes(ustring16().toUTF8_s(true)), "EF BB BF");
}

TEST(UString16, Utf16UnitsWithPairsAndSwap)
{
	const uchar16_t units[] = {0xD83D, 0xDE00, 0x4E2D, 0xDC00};
	const ustring16 s(units, 4);
	EXPECT_EQ(s.size_raw(), 4u);
	EXPECT_EQ(codePoints(s), (std::vector<irr::u32>{0x1F600, 0x4E2D, 0xFFFD}));

	// Swapped order: the pair's units arrive byte-swapped too.
	const uchar16_t swapped[] = {0xFFFE, 0x3DD8, 0x00DE, 0x6100};
	const ustring16 t(swapped, 4);
	EXPECT_EQ(codePoints(t), (std::vector<irr::u32>{0x1F600, 0x61}));

	const uchar16_t zeroTerminated[] = {0xFEFF, 0x41, 0x42, 0};
	EXPECT_EQ(codePoints(ustring16(zeroTerminated)), (std::vector<irr::u32>{0x41, 0x42}));
}

TEST(UString16, IteratesByCodePointAndPeeks)
{
	const wchar_t text[] = {L'a', 0x1F600, L'\r', L'\n', 0};
	const ustring16 s(text);
	EXPECT_EQ(s.size(), 4u);
	EXPECT_EQ(s.size_raw(), 5u);
	ustring16::const_iterator it = s.begin();
	EXPECT_EQ(*it, 0x61u);
	ustring16::const_iterator next = it;
	++next;
	EXPECT_EQ(*next, 0x1F600u);
	EXPECT_EQ(next.getPos(), 1u);
	++next;
	EXPECT_EQ(next.getPos(), 3u);
	EXPECT_EQ(*next, 13u);
	++next;
	++next;
	EXPECT_TRUE(next == s.end());
	EXPECT_TRUE(next.atEnd());
	EXPECT_EQ(*next, 0u);
	++next; // stepping past the end stays at the end
	EXPECT_TRUE(next == s.end());
	EXPECT_EQ(s.toWCHAR_s(), irr::core::stringw(text));
}

TEST(UString16, FindCompareAndAppend)
{
	ustring16 s(L" \x4E2D");
	EXPECT_EQ(s.find(0x20), 0);
	EXPECT_EQ(s.find(0x4E2D), 1);
	EXPECT_EQ(s.find(0x41), -1);
	EXPECT_TRUE(s.contains(0x20));
	s.append(0x1F600).append(0xD800).append(0xFDE0);
	EXPECT_EQ(codePoints(s), (std::vector<irr::u32>{0x20, 0x4E2D, 0x1F600, 0xFFFD, 0xFFFD}));
	EXPECT_EQ(s.find(0xFFFD), 3);

	EXPECT_TRUE(ustring16(L"ab") == ustring16(L"\xFEFF" L"ab"));
	EXPECT_TRUE(ustring16(L"ab") != ustring16(L"abc"));
	EXPECT_TRUE(ustring16(L"ab") < ustring16(L"abc"));
	EXPECT_FALSE(ustring16(L"abc") < ustring16(L"ab"));
	// By code point: U+FFFD sorts below U+1F600 although its unit is larger.
	EXPECT_TRUE(ustring16(L"\xFFFD") < ustring16(L"\x1F600"));
	EXPECT_TRUE(ustring16(static_cast<const wchar_t*>(0)).empty());
}

} // namespace
