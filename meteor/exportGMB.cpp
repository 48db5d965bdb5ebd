// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

bool COstrel::exportGMB() { return false; }

} // namespace irr
