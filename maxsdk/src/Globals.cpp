// Process-wide state of the substitute: what a running 3ds Max holds.
#include "SubstituteScene.h"
#include "Utf8.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

namespace
{

maxsub::Scene* g_scene = nullptr;
Interface* g_core = nullptr;
IGameErrorCallBack* g_errorCallback = nullptr;
IGameError g_lastError = 0;
std::wstring g_lastErrorText;
maxsub::ConversionManager g_noSceneConversion;

} // namespace

namespace maxsub
{

void setCurrentScene(Scene* scene) { g_scene = scene; }
Scene* currentScene() { return g_scene; }
void setCoreInterface(Interface* iface) { g_core = iface; }
IGameErrorCallBack* errorCallback() { return g_errorCallback; }

void raiseError(IGameError code, const std::wstring& text)
{
	g_lastError = code;
	g_lastErrorText = text;
	if (g_errorCallback)
		g_errorCallback->ErrorProc(code);
}

ScopedCurrentScene::ScopedCurrentScene(Scene& scene, Interface* host)
	: PreviousScene(g_scene), PreviousHost(g_core), HostSet(host != nullptr)
{
	g_scene = &scene;
	if (host)
		g_core = host;
}

ScopedCurrentScene::~ScopedCurrentScene()
{
	g_scene = PreviousScene;
	if (HostSet)
		g_core = PreviousHost;
}

} // namespace maxsub

// ---- SDK ----------------------------------------------------------------------

void* MaxHeapOperators::operator new(std::size_t size) { return ::operator new(size); }
void MaxHeapOperators::operator delete(void* p) noexcept { ::operator delete(p); }
void* MaxHeapOperators::operator new[](std::size_t size) { return ::operator new[](size); }
void MaxHeapOperators::operator delete[](void* p) noexcept { ::operator delete[](p); }

Interface* GetCOREInterface() { return g_core; }

int GetTicksPerFrame() { return g_scene ? g_scene->ticksPerFrame() : TICKS_PER_SECOND / 30; }

int GetFrameRate() { return g_scene ? g_scene->frameRate() : 30; }

void DebugPrint(const MCHAR* format, ...)
{
	if (!format)
		return;
	// The SDK's wide formats follow the Windows convention: %s and %c take
	// wide arguments. Here the C library wants %ls and %lc for that.
	std::wstring fmt;
	for (const MCHAR* p = format; *p; ++p)
	{
		fmt += *p;
		if (*p != L'%')
			continue;
		++p;
		if (*p == L'%')
		{
			fmt += *p;
			continue;
		}
		while (*p && std::wcschr(L"-+ #0123456789.*", *p))
			fmt += *p++;
		if (*p == L's' || *p == L'c')
			fmt += L'l';
		if (!*p)
			break;
		fmt += *p;
	}
	std::vector<wchar_t> buffer(1024);
	for (;;)
	{
		va_list args;
		va_start(args, format);
		const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), args);
		va_end(args);
		if (n >= 0)
			break;
		if (buffer.size() > (1u << 20))
			return;
		buffer.resize(buffer.size() * 4);
	}
	const std::string text = maxsub::toUtf8(buffer.data());
	std::fputs(text.c_str(), stderr);
}

// ---- IGame globals ----------------------------------------------------------------

IGameScene* GetIGameInterface()
{
	if (!g_scene)
		maxsub::raiseError(10, L"no scene is open");
	return g_scene;
}

float GetIGameVersion() { return IGAME_VERSION_NUMBER; }

IGameConversionManager* GetConversionManager()
{
	return g_scene ? &g_scene->conversion() : &g_noSceneConversion;
}

void SetErrorCallBack(IGameErrorCallBack* callback) { g_errorCallback = callback; }

IGameError GetLastIGameError() { return g_lastError; }

const MCHAR* GetLastIGameErrorText() { return g_lastErrorText.c_str(); }
