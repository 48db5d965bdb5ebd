// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

void COstrel::readWindowOptions(gui::IGUIEnvironment* env) {}

} // namespace irr
