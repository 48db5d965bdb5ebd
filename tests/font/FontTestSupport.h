// Shared pieces of the font tests: a driver that records the calls the font
// makes, an Irrlicht device with a GUI environment over that driver, a font
// subclass that shows the font's cache, and per-test temporary folders.
#pragma once

#include "font/CGUITTFont.h"
#include "font/CGUITTGlyphPage.h"
#include "CDelegatingDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace irr
{
namespace gui
{
// Exported by the engine library; lets a test put a GUI environment over a
// driver of its own.
IGUIEnvironment* createGUIEnvironment(io::IFileSystem* fs, video::IVideoDriver* driver, IOSOperator* op);
} // namespace gui
} // namespace irr

namespace fonttest
{

using namespace irr;

inline io::path fontPath()
{
	return io::path(HALVEX_PLUGINS_DIR) + "/VelmarFont.ttc";
}

// Drops the held reference when it goes out of scope.
template <class T>
class CDropper
{
public:
	explicit CDropper(T* object = 0) : Object(object) {}
	~CDropper() { reset(); }
	void reset(T* object = 0)
	{
		if (Object)
			Object->drop();
		Object = object;
	}
	T* get() const { return Object; }
	T* operator->() const { return Object; }
	T& operator*() const { return *Object; }
	T* release()
	{
		T* o = Object;
		Object = 0;
		return o;
	}

private:
	CDropper(const CDropper&);
	CDropper& operator=(const CDropper&);
	T* Object;
};

struct SBatch
{
	const video::ITexture* Texture;
	std::vector<core::vector2di> Positions;
	std::vector<core::recti> Rects;
	bool HasClip;
	core::recti Clip;
	video::SColor Color;
	bool UseAlpha;
};

struct STextureEvent
{
	bool Added;
	std::string Name;
	const video::ITexture* Texture;
	bool MipMaps;
	bool Always32;
	bool Always16;
	core::dimension2du Size;
};

class CRecordingDriver : public video::CDelegatingDriver
{
public:
	explicit CRecordingDriver(video::IVideoDriver* inner)
		: CDelegatingDriver(inner), MaxTexture(0, 0), UseMaxTexture(false), MaterialSets(0) {}

	using CDelegatingDriver::addTexture;
	using CDelegatingDriver::draw2DImageBatch;

	video::ITexture* addTexture(const io::path& name, video::IImage* image, void* mipmapData = 0) override
	{
		video::ITexture* t = Inner->addTexture(name, image, mipmapData);
		STextureEvent e;
		e.Added = true;
		e.Name = name.c_str();
		e.Texture = t;
		e.MipMaps = Inner->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS);
		e.Always32 = Inner->getTextureCreationFlag(video::ETCF_ALWAYS_32_BIT);
		e.Always16 = Inner->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT);
		e.Size = image ? image->getDimension() : core::dimension2du(0, 0);
		Textures.push_back(e);
		return t;
	}

	void removeTexture(video::ITexture* texture) override
	{
		STextureEvent e;
		e.Added = false;
		e.Name = texture ? texture->getName().getPath().c_str() : "";
		e.Texture = texture;
		e.MipMaps = e.Always32 = e.Always16 = false;
		e.Size = core::dimension2du(0, 0);
		Textures.push_back(e);
		Inner->removeTexture(texture);
	}

	void setMaterial(const video::SMaterial& material) override
	{
		++MaterialSets;
		LastMaterialSet = Textures.size();
		Inner->setMaterial(material);
	}

	void draw2DImageBatch(const video::ITexture* texture, const core::array<core::position2d<s32> >& positions,
		const core::array<core::rect<s32> >& sourceRects, const core::rect<s32>* clipRect = 0,
		video::SColor color = video::SColor(255, 255, 255, 255), bool useAlphaChannelOfTexture = false) override
	{
		SBatch b;
		b.Texture = texture;
		for (u32 i = 0; i < positions.size(); ++i)
			b.Positions.push_back(positions[i]);
		for (u32 i = 0; i < sourceRects.size(); ++i)
			b.Rects.push_back(sourceRects[i]);
		b.HasClip = clipRect != 0;
		if (clipRect)
			b.Clip = *clipRect;
		b.Color = color;
		b.UseAlpha = useAlphaChannelOfTexture;
		Batches.push_back(b);
		Inner->draw2DImageBatch(texture, positions, sourceRects, clipRect, color, useAlphaChannelOfTexture);
	}

	core::dimension2du getMaxTextureSize() const override
	{
		return UseMaxTexture ? MaxTexture : Inner->getMaxTextureSize();
	}

	// The null driver supports neither; a test may claim both.
	bool queryFeature(video::E_VIDEO_DRIVER_FEATURE feature) const override
	{
		if (feature == video::EVDF_TEXTURE_NPOT)
			return AnyTextureSize;
		if (feature == video::EVDF_TEXTURE_NSQUARE)
			return AnyTextureSize;
		return Inner->queryFeature(feature);
	}

	void clearRecords()
	{
		Batches.clear();
		Textures.clear();
		MaterialSets = 0;
	}

	u32 countTextures(bool added) const
	{
		u32 n = 0;
		for (size_t i = 0; i < Textures.size(); ++i)
			n += Textures[i].Added == added ? 1 : 0;
		return n;
	}

	core::dimension2du MaxTexture;
	bool UseMaxTexture;
	bool AnyTextureSize = false;
	std::vector<SBatch> Batches;
	std::vector<STextureEvent> Textures;
	u32 MaterialSets;
	size_t LastMaterialSet = 0;
};

// Counts how often a file of the given name is opened through the file
// system; serves nothing, so the file system goes on to the real file.
class COpenCounter : public io::IFileArchive
{
public:
	COpenCounter(io::IFileSystem* fs, const io::path& watched)
		: Watched(watched), Opens(0), Files(fs->createEmptyFileList("", false, false)) {}
	~COpenCounter() override { Files->drop(); }

	io::IReadFile* createAndOpenFile(const io::path& filename) override
	{
		if (filename == Watched)
			++Opens;
		return 0;
	}
	io::IReadFile* createAndOpenFile(u32) override { return 0; }
	const io::IFileList* getFileList() const override { return Files; }

	io::path Watched;
	u32 Opens;

private:
	io::IFileList* Files;
};

// Shows the font's cache and fixed settings to the tests.
class CTestFont : public gui::CGUITTFont
{
public:
	explicit CTestFont(gui::IGUIEnvironment* env) : CGUITTFont(env) {}

	using CGUITTFont::BatchSize;
	using CGUITTFont::Face;
	using CGUITTFont::Glyphs;
	using CGUITTFont::MaxPageSize;
	using CGUITTFont::Metrics;
	using CGUITTFont::Pages;
	using CGUITTFont::PixelSize;
	using CGUITTFont::Transparency;
	using CGUITTFont::getAscender;

	const gui::SGUITTGlyph& glyphOf(u32 codePoint) { return Glyphs[getGlyphIndex(codePoint) - 1]; }
	u32 loadedCount() const
	{
		u32 n = 0;
		for (u32 i = 0; i < Glyphs.size(); ++i)
			n += Glyphs[i].Loaded ? 1 : 0;
		return n;
	}
};

// A null-driver device (no display needed) with a GUI environment whose
// video driver is a recording wrapper around the device's driver.
class FontFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_EQ(gui::CGUITTFont::getSharedFaceCount(), 0u) << "a previous test leaked a font";
		SIrrlichtCreationParameters p;
		p.DriverType = video::EDT_NULL;
		p.WindowSize = core::dimension2du(445, 200);
		p.LoggingLevel = ELL_NONE;
		Device = createDeviceEx(p);
		ASSERT_TRUE(Device);
		Driver = new CRecordingDriver(Device->getVideoDriver());
		Env = gui::createGUIEnvironment(Device->getFileSystem(), Driver, 0);
		ASSERT_TRUE(Env);
		Driver->clearRecords();
		TempDir = makeTempDir();
	}

	void TearDown() override
	{
		if (Env)
			Env->drop();
		if (Driver)
			Driver->drop();
		if (Device)
			Device->drop();
		EXPECT_EQ(gui::CGUITTFont::getSharedFaceCount(), 0u);
	}

	// A font made like create() does, with the settings a test wants
	// applied before load.
	CTestFont* makeFont(core::dimension2du maxPageSize = core::dimension2du(0, 0), const io::path& file = fontPath())
	{
		CTestFont* font = new CTestFont(Env);
		font->MaxPageSize = maxPageSize;
		if (!font->load(file))
		{
			font->drop();
			return 0;
		}
		return font;
	}

	static std::string makeTempDir()
	{
		const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
		std::string name = std::string(info->test_suite_name()) + "_" + info->name();
		for (size_t i = 0; i < name.size(); ++i)
			if (name[i] == '/')
				name[i] = '_';
		const std::string dir = ::testing::TempDir() + "halvex_font_" + name;
		std::error_code error;
		std::filesystem::remove_all(dir, error);
		std::filesystem::create_directories(dir, error);
		if (error)
			ADD_FAILURE() << "cannot make " << dir << ": " << error.message();
		return dir;
	}

	IrrlichtDevice* Device = 0;
	CRecordingDriver* Driver = 0;
	gui::IGUIEnvironment* Env = 0;
	std::string TempDir;
};

} // namespace fonttest
