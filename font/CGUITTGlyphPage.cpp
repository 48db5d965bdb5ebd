#include "font/CGUITTGlyphPage.h"

namespace irr
{
namespace gui
{

CGUITTGlyphPage::CGUITTGlyphPage(video::IVideoDriver* driver, const io::path& name)
	: Image(0), Texture(0), FreeSlots(0), UsedSlots(0), Dirty(false), Driver(driver), PageName(name)
{
}

CGUITTGlyphPage::~CGUITTGlyphPage()
{
	if (Image)
		Image->drop();
	if (Texture)
	{
		// The driver's cache holds the texture's reference; removing it
		// from the cache releases it.
		if (Driver)
			Driver->removeTexture(Texture);
		else
			Texture->drop();
	}
}

void CGUITTGlyphPage::updateTexture()
{
	Dirty = false;
	if (!Driver || !Image)
		return;

	const bool flag16 = Driver->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT);
	const bool flag32 = Driver->getTextureCreationFlag(video::ETCF_ALWAYS_32_BIT);
	const bool flagMipMaps = Driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS);

	Driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
	const bool mono = Image->getColorFormat() == video::ECF_A1R5G5B5;
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, mono);
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, !mono);

	if (Texture)
	{
		// The driver's current material may still refer to the old
		// texture; switch to a neutral one before the texture goes.
		Driver->setMaterial(video::SMaterial());
		Driver->removeTexture(Texture);
	}
	Texture = Driver->addTexture(PageName, Image);

	Driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, flagMipMaps);
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, flag32);
	Driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, flag16);
}

} // namespace gui
} // namespace irr
