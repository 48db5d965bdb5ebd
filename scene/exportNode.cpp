// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

void COstrel::exportMaterial(IGameMaterial* material, s32 id) {}
void COstrel::exportNode(IGameNode* node) {}

} // namespace irr
