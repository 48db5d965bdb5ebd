// Reports IGame's errors to the 3ds Max debug output; they never reach the
// export log.
#pragma once

#include "IGame/IGame.h"

namespace irr
{

class CExportErrorCallback : public IGameErrorCallBack
{
public:
	virtual ~CExportErrorCallback() {}
	virtual void ErrorProc(IGameError error);
};

} // namespace irr
