// A small Unicode string held as UTF-16 units, for the places where the
// system is defined over UTF-16 while wchar_t holds UTF-32 on this platform.
//
// Contract of every constructor (the text is "cleaned" once, on entry):
// - wide text (32-bit wchar_t) is taken as code points; a value above U+FFFF
//   becomes a surrogate pair, while surrogate values found in the wide text
//   are taken as UTF-16 units (so a high/low pair stored in two wchar_t
//   stays one character);
// - a leading U+FEFF (byte-order mark) is dropped; a leading U+FFFE (a
//   byte-order mark of the other byte order) is dropped and every following
//   unit is byte-swapped;
// - unpaired surrogates, the noncharacters U+FDD0 to U+FDEF and wide values
//   above U+10FFFF become U+FFFD.
// The stored units are therefore always well-formed UTF-16.
//
// Iteration is by code point: a surrogate pair yields one value, and a
// surrogate unit in the last position ends the text (the iterator never
// reads past the last unit).
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace core
{

typedef u8 uchar8_t;
typedef u16 uchar16_t;
typedef u32 uchar32_t;

class ustring16
{
public:
	//! Replacement character written for anything that is not valid text.
	static const uchar32_t REPLACEMENT = 0xFFFD;

	//! Walks the string by code point; dereferencing gives a uchar32_t.
	class const_iterator
	{
	public:
		const_iterator() : Str(0), Pos(0) {}
		const_iterator(const ustring16* str, u32 pos) : Str(str), Pos(pos) { settle(); }

		uchar32_t operator*() const
		{
			if (!Str || Pos >= Str->size_raw())
				return 0;
			const uchar16_t u = Str->Units[Pos];
			if (isHighSurrogate(u) && Pos + 1 < Str->size_raw() && isLowSurrogate(Str->Units[Pos + 1]))
				return 0x10000 + ((static_cast<uchar32_t>(u) - 0xD800) << 10) + (Str->Units[Pos + 1] - 0xDC00);
			if (isSurrogate(u))
				return REPLACEMENT;
			return u;
		}

		const_iterator& operator++()
		{
			if (!Str || Pos >= Str->size_raw())
				return *this;
			const uchar16_t u = Str->Units[Pos];
			if (isHighSurrogate(u) && Pos + 1 < Str->size_raw() && isLowSurrogate(Str->Units[Pos + 1]))
				Pos += 2;
			else
				++Pos;
			settle();
			return *this;
		}

		const_iterator operator++(int)
		{
			const_iterator old(*this);
			++(*this);
			return old;
		}

		bool operator==(const const_iterator& other) const { return Str == other.Str && Pos == other.Pos; }
		bool operator!=(const const_iterator& other) const { return !(*this == other); }

		//! Position in UTF-16 units.
		u32 getPos() const { return Pos; }

		//! True when the iterator stands at the end of the text.
		bool atEnd() const { return !Str || Pos >= Str->size_raw(); }

	private:
		// A surrogate alone in the last position cannot start a character.
		void settle()
		{
			if (Str && Pos + 1 == Str->size_raw() && isSurrogate(Str->Units[Pos]))
				Pos = Str->size_raw();
			if (Str && Pos > Str->size_raw())
				Pos = Str->size_raw();
		}

		const ustring16* Str;
		u32 Pos;
	};

	ustring16() { Units.push_back(0); }

	//! Zero-terminated wide text (null: empty).
	ustring16(const wchar_t* text) { assignWide(text, text ? length(text) : 0); }

	//! The first \p count wide characters of \p text (zeros included).
	ustring16(const wchar_t* text, u32 count) { assignWide(text, text ? count : 0); }

	ustring16(const core::stringw& text) { assignWide(text.c_str(), text.size()); }

	//! \p count UTF-16 units (zeros included).
	ustring16(const uchar16_t* units, u32 count)
	{
		core::array<uchar16_t> raw;
		raw.reallocate(count);
		for (u32 i = 0; units && i < count; ++i)
			raw.push_back(units[i]);
		assignUnits(raw);
	}

	//! Zero-terminated UTF-16 units (null: empty).
	explicit ustring16(const uchar16_t* units)
	{
		core::array<uchar16_t> raw;
		for (; units && *units; ++units)
			raw.push_back(*units);
		assignUnits(raw);
	}

	//! Number of code points.
	u32 size() const
	{
		u32 n = 0;
		for (const_iterator it = begin(); it != end(); ++it)
			++n;
		return n;
	}

	//! Number of UTF-16 units (without the terminating zero).
	u32 size_raw() const { return Units.size() - 1; }

	bool empty() const { return size_raw() == 0; }

	//! The units, zero-terminated.
	const uchar16_t* c_str() const { return Units.const_pointer(); }

	const_iterator begin() const { return const_iterator(this, 0); }
	const_iterator end() const { return const_iterator(this, size_raw()); }

	//! Index (in code points) of the first occurrence of \p codePoint, or -1.
	s32 find(uchar32_t codePoint) const
	{
		s32 index = 0;
		for (const_iterator it = begin(); it != end(); ++it, ++index)
			if (*it == codePoint)
				return index;
		return -1;
	}

	bool contains(uchar32_t codePoint) const { return find(codePoint) >= 0; }

	//! Appends one code point (cleaned like the constructors' input).
	ustring16& append(uchar32_t codePoint)
	{
		Units.erase(Units.size() - 1);
		appendCodePoint(codePoint);
		Units.push_back(0);
		return *this;
	}

	bool operator==(const ustring16& other) const
	{
		if (size_raw() != other.size_raw())
			return false;
		for (u32 i = 0; i < size_raw(); ++i)
			if (Units[i] != other.Units[i])
				return false;
		return true;
	}
	bool operator!=(const ustring16& other) const { return !(*this == other); }

	//! Orders by code point (for UTF-16 that differs from unit order only
	//! above U+E000 against surrogate pairs).
	bool operator<(const ustring16& other) const
	{
		const_iterator a = begin(), b = other.begin();
		for (; a != end() && b != other.end(); ++a, ++b)
			if (*a != *b)
				return *a < *b;
		return a == end() && b != other.end();
	}

	//! The text as UTF-8 bytes in an 8-bit string, optionally headed by the
	//! UTF-8 byte-order mark EF BB BF. size() of the result counts bytes.
	core::stringc toUTF8_s(bool addBOM = false) const
	{
		core::stringc out;
		out.reserve(size_raw() * 3 + 4);
		if (addBOM)
			appendUTF8(out, 0xFEFF);
		for (const_iterator it = begin(); it != end(); ++it)
			appendUTF8(out, *it);
		return out;
	}

	//! The text as wide (UTF-32) characters.
	core::stringw toWCHAR_s() const
	{
		core::stringw out;
		for (const_iterator it = begin(); it != end(); ++it)
			out.append(static_cast<wchar_t>(*it));
		return out;
	}

	static bool isSurrogate(uchar32_t u) { return u >= 0xD800 && u <= 0xDFFF; }
	static bool isHighSurrogate(uchar32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
	static bool isLowSurrogate(uchar32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

	//! Appends one code point as UTF-8 (1 to 4 bytes).
	static void appendUTF8(core::stringc& out, uchar32_t c)
	{
		if (c < 0x80)
			out.append(static_cast<c8>(c));
		else if (c < 0x800)
		{
			out.append(static_cast<c8>(0xC0 | (c >> 6)));
			out.append(static_cast<c8>(0x80 | (c & 0x3F)));
		}
		else if (c < 0x10000)
		{
			out.append(static_cast<c8>(0xE0 | (c >> 12)));
			out.append(static_cast<c8>(0x80 | ((c >> 6) & 0x3F)));
			out.append(static_cast<c8>(0x80 | (c & 0x3F)));
		}
		else
		{
			out.append(static_cast<c8>(0xF0 | (c >> 18)));
			out.append(static_cast<c8>(0x80 | ((c >> 12) & 0x3F)));
			out.append(static_cast<c8>(0x80 | ((c >> 6) & 0x3F)));
			out.append(static_cast<c8>(0x80 | (c & 0x3F)));
		}
	}

private:
	static u32 length(const wchar_t* text)
	{
		u32 n = 0;
		while (text[n])
			++n;
		return n;
	}

	// Wide values become UTF-16 units first so that the byte-order and
	// surrogate rules apply to wide and UTF-16 input alike.
	void assignWide(const wchar_t* text, u32 count)
	{
		core::array<uchar16_t> raw;
		raw.reallocate(count + 1);
		for (u32 i = 0; i < count; ++i)
		{
			const uchar32_t c = static_cast<uchar32_t>(text[i]);
			if (c > 0x10FFFF)
				raw.push_back(static_cast<uchar16_t>(REPLACEMENT));
			else if (c >= 0x10000)
			{
				raw.push_back(static_cast<uchar16_t>(0xD800 + ((c - 0x10000) >> 10)));
				raw.push_back(static_cast<uchar16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
			}
			else
				raw.push_back(static_cast<uchar16_t>(c));
		}
		assignUnits(raw);
	}

	void assignUnits(const core::array<uchar16_t>& raw)
	{
		Units.clear();
		Units.reallocate(raw.size() + 1);
		u32 i = 0;
		bool swap = false;
		if (raw.size() > 0 && raw[0] == 0xFEFF)
			i = 1;
		else if (raw.size() > 0 && raw[0] == 0xFFFE)
		{
			i = 1;
			swap = true;
		}
		for (; i < raw.size(); ++i)
		{
			const uchar16_t u = swap ? swapBytes(raw[i]) : raw[i];
			if (isHighSurrogate(u) && i + 1 < raw.size())
			{
				const uchar16_t next = swap ? swapBytes(raw[i + 1]) : raw[i + 1];
				if (isLowSurrogate(next))
				{
					Units.push_back(u);
					Units.push_back(next);
					++i;
					continue;
				}
			}
			appendCodePoint(u);
		}
		Units.push_back(0);
	}

	// Appends one code point as units, replacing what may not be stored.
	void appendCodePoint(uchar32_t c)
	{
		if (isSurrogate(c) || (c >= 0xFDD0 && c <= 0xFDEF) || c > 0x10FFFF)
			c = REPLACEMENT;
		if (c >= 0x10000)
		{
			Units.push_back(static_cast<uchar16_t>(0xD800 + ((c - 0x10000) >> 10)));
			Units.push_back(static_cast<uchar16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
		}
		else
			Units.push_back(static_cast<uchar16_t>(c));
	}

	static uchar16_t swapBytes(uchar16_t u) { return static_cast<uchar16_t>((u >> 8) | (u << 8)); }

	// Always ends with one terminating zero that size_raw() does not count.
	core::array<uchar16_t> Units;
};

} // namespace core
} // namespace irr
