// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

bool COstrel::exportSKC() { return false; }

} // namespace irr
