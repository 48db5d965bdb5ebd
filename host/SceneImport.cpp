// Placeholder until the Assimp import lands.
#include "host/SceneImport.h"

namespace halvex
{

std::unique_ptr<maxsub::Scene> importScene(const std::string& path,
	const SImportOptions& options, std::string& error)
{
	(void)options;
	error = path + ": scene import is not available yet";
	return nullptr;
}

} // namespace halvex
