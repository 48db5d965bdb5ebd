// Placeholder until this part lands.
#include "core/COstrel.h"

namespace irr
{

bool COstrel::loadSettings() { return false; }
bool COstrel::saveSettings() { return false; }
void COstrel::readSettingsAttributes(io::IAttributes* attrs) {}
void COstrel::writeSettingsAttributes(io::IAttributes* attrs) {}

} // namespace irr
