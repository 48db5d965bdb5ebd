// Pieces shared by the Meteor and Zenthra writers.
#pragma once

#include "core/COstrel.h"

namespace irr
{

// The download page named in the header of the skin and skeleton files.
extern const c8* const HalvexDownloadPage;

// "# Export by " followed by the author's contact address.
core::stringc exportByLine();

// Drops a reference-counted engine object when it leaves the scope.
template <class T>
class CDropGuard
{
public:
	explicit CDropGuard(T* object) : Object(object) {}
	~CDropGuard() { if (Object) Object->drop(); }
	T* get() const { return Object; }
	T* operator->() const { return Object; }
	explicit operator bool() const { return Object != 0; }
private:
	CDropGuard(const CDropGuard&);
	CDropGuard& operator=(const CDropGuard&);
	T* Object;
};

// Writes the scene description (.des) that declares the single object
// "mBody" of a geometry file at the origin. The text geometry's form has the
// extra line "# just make fun" after the first one.
void writeSceneDescription(io::IWriteFile* file, bool textForm);

} // namespace irr
