// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

s32 COstrel::run() { Result = 2; preparePaths(); return Result; }
void COstrel::buildOptionsGUI(gui::IGUIEnvironment* env) {}

} // namespace irr
