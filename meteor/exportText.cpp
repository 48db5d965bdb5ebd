// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

bool COstrel::exportANT() { return false; }
bool COstrel::exportGMC() { return false; }

} // namespace irr
