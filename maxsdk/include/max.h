// The 3ds Max SDK names the exporter uses, declared for this platform.
//
// This is not the SDK: it declares what the exporter and its plug-in need,
// with the meaning they rely on, and is implemented by the substitute scene
// in maxsdk/src. Times are ticks (4800 per second).
#pragma once

#include "MaxWindows.h"

#include <cstddef>
#include <vector>

typedef wchar_t MCHAR;
#define _M(x) L##x

typedef int TimeValue;
#define TICKS_PER_SECOND 4800
#define TIME_NegInfinity ((TimeValue)0x80000000)
#define TIME_PosInfinity ((TimeValue)0x7fffffff)

typedef ULONG SClass_ID;
#define SCENE_EXPORT_CLASS_ID 0xA20

// Directory id of GetDir: the 3ds Max root directory.
#define APP_MAXROOT_DIR 20

// SDK version of 3ds Max 2015: release 17000, API 44, SDK revision 0.
#define VERSION_3DSMAX 0x42682C00

// Option bit of DoExport: export only the selected nodes.
#define SCENE_EXPORT_SELECTED (1 << 0)

// Objects the SDK hands out are allocated through these operators.
class MaxHeapOperators {
public:
	static void* operator new(std::size_t size);
	static void operator delete(void* p) noexcept;
	static void* operator new[](std::size_t size);
	static void operator delete[](void* p) noexcept;
};

class Point3 : public MaxHeapOperators {
public:
	float x, y, z;
	Point3() : x(0), y(0), z(0) {}
	Point3(float X, float Y, float Z) : x(X), y(Y), z(Z) {}
	float& operator[](int i) { return (&x)[i]; }
	float operator[](int i) const { return (&x)[i]; }
	bool operator==(const Point3& o) const { return x == o.x && y == o.y && z == o.z; }
};

class Point2 : public MaxHeapOperators {
public:
	float x, y;
	Point2() : x(0), y(0) {}
	Point2(float X, float Y) : x(X), y(Y) {}
};

// A unit quaternion, components x, y, z, w.
class Quat : public MaxHeapOperators {
public:
	float x, y, z, w;
	Quat() : x(0), y(0), z(0), w(1) {}
	Quat(float X, float Y, float Z, float W) : x(X), y(Y), z(Z), w(W) {}
};

class Interval : public MaxHeapOperators {
public:
	Interval() : StartTime(0), EndTime(0) {}
	Interval(TimeValue s, TimeValue e) : StartTime(s), EndTime(e) {}
	TimeValue Start() const { return StartTime; }
	TimeValue End() const { return EndTime; }
	void Set(TimeValue s, TimeValue e) { StartTime = s; EndTime = e; }
private:
	TimeValue StartTime, EndTime;
};

class Class_ID : public MaxHeapOperators {
public:
	Class_ID() : a(0), b(0) {}
	Class_ID(ULONG aa, ULONG bb) : a(aa), b(bb) {}
	ULONG PartA() const { return a; }
	ULONG PartB() const { return b; }
	bool operator==(const Class_ID& o) const { return a == o.a && b == o.b; }
private:
	ULONG a, b;
};

// A counted list, as the SDK returns for map channels.
template <class T>
class Tab : public MaxHeapOperators {
public:
	int Count() const { return (int)Items.size(); }
	T& operator[](int i) { return Items[(std::size_t)i]; }
	const T& operator[](int i) const { return Items[(std::size_t)i]; }
	void Append(const T& v) { Items.push_back(v); }
	void SetCount(int n) { Items.resize((std::size_t)n); }
private:
	std::vector<T> Items;
};

// The application as a plug-in sees it.
class Interface : public MaxHeapOperators {
public:
	virtual ~Interface() {}
	// Directory by id; APP_MAXROOT_DIR (20) is the root directory.
	virtual const MCHAR* GetDir(int which) = 0;
	// The animation range in ticks.
	virtual Interval GetAnimRange() = 0;
	virtual HWND GetMAXHWnd() = 0;
};

// The export interface handed to DoExport; the exporter only passes it on.
class ExpInterface : public MaxHeapOperators {
public:
	virtual ~ExpInterface() {}
};

class ClassDesc : public MaxHeapOperators {
public:
	virtual ~ClassDesc() {}
	virtual int IsPublic() = 0;
	virtual void* Create(BOOL loading = FALSE) = 0;
	virtual const MCHAR* ClassName() = 0;
	virtual SClass_ID SuperClassID() = 0;
	virtual Class_ID ClassID() = 0;
	virtual const MCHAR* Category() = 0;
	virtual const MCHAR* InternalName() { return nullptr; }
	virtual HINSTANCE HInstance() { return nullptr; }
	virtual int NumActionTables() { return 0; }
};

class ClassDesc2 : public ClassDesc {
public:
	virtual const MCHAR* GetRsrcString(long id) { (void)id; return nullptr; }
};

class SceneExport : public MaxHeapOperators {
public:
	SceneExport() {}
	virtual ~SceneExport() {}
	virtual int ExtCount() = 0;
	virtual const MCHAR* Ext(int n) = 0;
	virtual const MCHAR* LongDesc() = 0;
	virtual const MCHAR* ShortDesc() = 0;
	virtual const MCHAR* AuthorName() = 0;
	virtual const MCHAR* CopyrightMessage() = 0;
	virtual const MCHAR* OtherMessage1() = 0;
	virtual const MCHAR* OtherMessage2() = 0;
	virtual unsigned int Version() = 0;
	virtual void ShowAbout(HWND hWnd) = 0;
	virtual int DoExport(const MCHAR* name, ExpInterface* ei, Interface* i,
		BOOL suppressPrompts = FALSE, DWORD options = 0) = 0;
	virtual BOOL SupportsOptions(int ext, DWORD options) { (void)ext; (void)options; return FALSE; }
};

// The application interface of the running host (set by the host).
Interface* GetCOREInterface();
int GetTicksPerFrame();
int GetFrameRate();

// Debug output; goes to standard error on this platform.
void DebugPrint(const MCHAR* format, ...);
