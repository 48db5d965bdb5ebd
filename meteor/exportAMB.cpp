// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

bool COstrel::exportAMB() { return false; }

} // namespace irr
