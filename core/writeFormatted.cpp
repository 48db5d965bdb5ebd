#include "core/COstrel.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace irr
{

namespace
{

// The files always use '.' as decimal separator, whatever locale the host
// process has set: format under the "C" locale of this thread.
class CLocaleScope
{
public:
	CLocaleScope() : Previous(0)
	{
		static locale_t cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
		if (cLocale)
			Previous = uselocale(cLocale);
	}
	~CLocaleScope()
	{
		if (Previous)
			uselocale(Previous);
	}
private:
	locale_t Previous;
};

} // namespace

void COstrel::writeFormatted(io::IWriteFile* file, const c8* format, ...)
{
	if (!format || !file)
		return;

	CLocaleScope cLocale;
	c8 buffer[1024];
	va_list args;
	va_start(args, format);
	const int needed = vsnprintf(buffer, sizeof(buffer), format, args);
	va_end(args);
	if (needed <= 0)
		return;
	if (static_cast<size_t>(needed) < sizeof(buffer))
	{
		file->write(buffer, static_cast<u32>(needed));
		return;
	}

	// Longer than the usual buffer (very long names): format again, whole.
	std::vector<c8> large(static_cast<size_t>(needed) + 1);
	va_start(args, format);
	vsnprintf(large.data(), large.size(), format, args);
	va_end(args);
	file->write(large.data(), static_cast<u32>(needed));
}

} // namespace irr
