// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

void COstrel::exportMesh(IGameMesh* mesh) {}

} // namespace irr
