#include "scene/BitmapName.h"

namespace irr
{

core::stringw bitmapFileName(const MCHAR* path)
{
	const core::stringw full(path ? path : L"");
	for (s32 i = static_cast<s32>(full.size()) - 1; i > 0; --i)
	{
		if (full[i] == L'/' || full[i] == L'\\')
			return full.subString(i + 1, static_cast<s32>(full.size()) - i - 1);
	}
	// No separator, or one only in the first place (\wood.dds): the whole path.
	return full;
}

} // namespace irr
