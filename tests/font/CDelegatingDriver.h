// A video driver that forwards every call to another driver, so that a test
// can override the few calls it wants to observe.
// Generated from the installed IVideoDriver.h by gen_delegating_driver.py.
#pragma once

#include <irrlicht.h>

namespace irr
{
namespace video
{

// The interface still declares deprecated operations; they are forwarded too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

class CDelegatingDriver : public IVideoDriver
{
public:
	explicit CDelegatingDriver(IVideoDriver* inner) : Inner(inner) { Inner->grab(); }
	~CDelegatingDriver() override { Inner->drop(); }

	bool beginScene(bool backBuffer=true, bool zBuffer=true, SColor color=SColor(255,0,0,0), const SExposedVideoData& videoData=SExposedVideoData(), core::rect<s32>* sourceRect=0) override { return Inner->beginScene(backBuffer, zBuffer, color, videoData, sourceRect); }
	bool endScene() override { return Inner->endScene(); }
	bool queryFeature(E_VIDEO_DRIVER_FEATURE feature) const override { return Inner->queryFeature(feature); }
	void disableFeature(E_VIDEO_DRIVER_FEATURE feature, bool flag=true) override { Inner->disableFeature(feature, flag); }
	const io::IAttributes& getDriverAttributes() const override { return Inner->getDriverAttributes(); }
	bool checkDriverReset() override { return Inner->checkDriverReset(); }
	void setTransform(E_TRANSFORMATION_STATE state, const core::matrix4& mat) override { Inner->setTransform(state, mat); }
	const core::matrix4& getTransform(E_TRANSFORMATION_STATE state) const override { return Inner->getTransform(state); }
	u32 getImageLoaderCount() const override { return Inner->getImageLoaderCount(); }
	IImageLoader* getImageLoader(u32 n) override { return Inner->getImageLoader(n); }
	u32 getImageWriterCount() const override { return Inner->getImageWriterCount(); }
	IImageWriter* getImageWriter(u32 n) override { return Inner->getImageWriter(n); }
	void setMaterial(const SMaterial& material) override { Inner->setMaterial(material); }
	ITexture* getTexture(const io::path& filename) override { return Inner->getTexture(filename); }
	ITexture* getTexture(io::IReadFile* file) override { return Inner->getTexture(file); }
	ITexture* getTextureByIndex(u32 index) override { return Inner->getTextureByIndex(index); }
	u32 getTextureCount() const override { return Inner->getTextureCount(); }
	void renameTexture(ITexture* texture, const io::path& newName) override { Inner->renameTexture(texture, newName); }
	ITexture* addTexture(const core::dimension2d<u32>& size, const io::path& name, ECOLOR_FORMAT format = ECF_A8R8G8B8) override { return Inner->addTexture(size, name, format); }
	ITexture* addTexture(const io::path& name, IImage* image, void* mipmapData=0) override { return Inner->addTexture(name, image, mipmapData); }
	ITexture* addRenderTargetTexture(const core::dimension2d<u32>& size, const io::path& name = "rt", const ECOLOR_FORMAT format = ECF_UNKNOWN) override { return Inner->addRenderTargetTexture(size, name, format); }
	void removeTexture(ITexture* texture) override { Inner->removeTexture(texture); }
	void removeAllTextures() override { Inner->removeAllTextures(); }
	void removeHardwareBuffer(const scene::IMeshBuffer* mb) override { Inner->removeHardwareBuffer(mb); }
	void removeAllHardwareBuffers() override { Inner->removeAllHardwareBuffers(); }
	void addOcclusionQuery(scene::ISceneNode* node, const scene::IMesh* mesh=0) override { Inner->addOcclusionQuery(node, mesh); }
	void removeOcclusionQuery(scene::ISceneNode* node) override { Inner->removeOcclusionQuery(node); }
	void removeAllOcclusionQueries() override { Inner->removeAllOcclusionQueries(); }
	void runOcclusionQuery(scene::ISceneNode* node, bool visible=false) override { Inner->runOcclusionQuery(node, visible); }
	void runAllOcclusionQueries(bool visible=false) override { Inner->runAllOcclusionQueries(visible); }
	void updateOcclusionQuery(scene::ISceneNode* node, bool block=true) override { Inner->updateOcclusionQuery(node, block); }
	void updateAllOcclusionQueries(bool block=true) override { Inner->updateAllOcclusionQueries(block); }
	u32 getOcclusionQueryResult(scene::ISceneNode* node) const override { return Inner->getOcclusionQueryResult(node); }
	void makeColorKeyTexture(video::ITexture* texture, video::SColor color, bool zeroTexels = false) const override { Inner->makeColorKeyTexture(texture, color, zeroTexels); }
	void makeColorKeyTexture(video::ITexture* texture, core::position2d<s32> colorKeyPixelPos, bool zeroTexels = false) const override { Inner->makeColorKeyTexture(texture, colorKeyPixelPos, zeroTexels); }
	void makeNormalMapTexture(video::ITexture* texture, f32 amplitude=1.0f) const override { Inner->makeNormalMapTexture(texture, amplitude); }
	bool setRenderTarget(video::ITexture* texture, bool clearBackBuffer=true, bool clearZBuffer=true, SColor color=video::SColor(0,0,0,0)) override { return Inner->setRenderTarget(texture, clearBackBuffer, clearZBuffer, color); }
	bool setRenderTarget(E_RENDER_TARGET target, bool clearTarget=true, bool clearZBuffer=true, SColor color=video::SColor(0,0,0,0)) override { return Inner->setRenderTarget(target, clearTarget, clearZBuffer, color); }
	bool setRenderTarget(const core::array<video::IRenderTarget>& texture, bool clearBackBuffer=true, bool clearZBuffer=true, SColor color=video::SColor(0,0,0,0)) override { return Inner->setRenderTarget(texture, clearBackBuffer, clearZBuffer, color); }
	void setViewPort(const core::rect<s32>& area) override { Inner->setViewPort(area); }
	const core::rect<s32>& getViewPort() const override { return Inner->getViewPort(); }
	void drawVertexPrimitiveList(const void* vertices, u32 vertexCount, const void* indexList, u32 primCount, E_VERTEX_TYPE vType=EVT_STANDARD, scene::E_PRIMITIVE_TYPE pType=scene::EPT_TRIANGLES, E_INDEX_TYPE iType=EIT_16BIT) override { Inner->drawVertexPrimitiveList(vertices, vertexCount, indexList, primCount, vType, pType, iType); }
	void draw2DVertexPrimitiveList(const void* vertices, u32 vertexCount, const void* indexList, u32 primCount, E_VERTEX_TYPE vType=EVT_STANDARD, scene::E_PRIMITIVE_TYPE pType=scene::EPT_TRIANGLES, E_INDEX_TYPE iType=EIT_16BIT) override { Inner->draw2DVertexPrimitiveList(vertices, vertexCount, indexList, primCount, vType, pType, iType); }
	void draw3DLine(const core::vector3df& start, const core::vector3df& end, SColor color = SColor(255,255,255,255)) override { Inner->draw3DLine(start, end, color); }
	void draw3DTriangle(const core::triangle3df& triangle, SColor color = SColor(255,255,255,255)) override { Inner->draw3DTriangle(triangle, color); }
	void draw3DBox(const core::aabbox3d<f32>& box, SColor color = SColor(255,255,255,255)) override { Inner->draw3DBox(box, color); }
	void draw2DImage(const video::ITexture* texture, const core::position2d<s32>& destPos) override { Inner->draw2DImage(texture, destPos); }
	void draw2DImage(const video::ITexture* texture, const core::position2d<s32>& destPos, const core::rect<s32>& sourceRect, const core::rect<s32>* clipRect =0, SColor color=SColor(255,255,255,255), bool useAlphaChannelOfTexture=false) override { Inner->draw2DImage(texture, destPos, sourceRect, clipRect, color, useAlphaChannelOfTexture); }
	void draw2DImageBatch(const video::ITexture* texture, const core::position2d<s32>& pos, const core::array<core::rect<s32> >& sourceRects, const core::array<s32>& indices, s32 kerningWidth=0, const core::rect<s32>* clipRect=0, SColor color=SColor(255,255,255,255), bool useAlphaChannelOfTexture=false) override { Inner->draw2DImageBatch(texture, pos, sourceRects, indices, kerningWidth, clipRect, color, useAlphaChannelOfTexture); }
	void draw2DImageBatch(const video::ITexture* texture, const core::array<core::position2d<s32> >& positions, const core::array<core::rect<s32> >& sourceRects, const core::rect<s32>* clipRect=0, SColor color=SColor(255,255,255,255), bool useAlphaChannelOfTexture=false) override { Inner->draw2DImageBatch(texture, positions, sourceRects, clipRect, color, useAlphaChannelOfTexture); }
	void draw2DImage(const video::ITexture* texture, const core::rect<s32>& destRect, const core::rect<s32>& sourceRect, const core::rect<s32>* clipRect =0, const video::SColor * const colors=0, bool useAlphaChannelOfTexture=false) override { Inner->draw2DImage(texture, destRect, sourceRect, clipRect, colors, useAlphaChannelOfTexture); }
	void draw2DRectangle(SColor color, const core::rect<s32>& pos, const core::rect<s32>* clip =0) override { Inner->draw2DRectangle(color, pos, clip); }
	void draw2DRectangle(const core::rect<s32>& pos, SColor colorLeftUp, SColor colorRightUp, SColor colorLeftDown, SColor colorRightDown, const core::rect<s32>* clip =0) override { Inner->draw2DRectangle(pos, colorLeftUp, colorRightUp, colorLeftDown, colorRightDown, clip); }
	void draw2DRectangleOutline(const core::recti& pos, SColor color=SColor(255,255,255,255)) override { Inner->draw2DRectangleOutline(pos, color); }
	void draw2DLine(const core::position2d<s32>& start, const core::position2d<s32>& end, SColor color=SColor(255,255,255,255)) override { Inner->draw2DLine(start, end, color); }
	void drawPixel(u32 x, u32 y, const SColor& color) override { Inner->drawPixel(x, y, color); }
	void draw2DPolygon(core::position2d<s32> center, f32 radius, video::SColor color=SColor(100,255,255,255), s32 vertexCount=10) override { Inner->draw2DPolygon(center, radius, color, vertexCount); }
	void drawStencilShadowVolume(const core::array<core::vector3df>& triangles, bool zfail=true, u32 debugDataVisible=0) override { Inner->drawStencilShadowVolume(triangles, zfail, debugDataVisible); }
	void drawStencilShadow(bool clearStencilBuffer=false, video::SColor leftUpEdge = video::SColor(255,0,0,0), video::SColor rightUpEdge = video::SColor(255,0,0,0), video::SColor leftDownEdge = video::SColor(255,0,0,0), video::SColor rightDownEdge = video::SColor(255,0,0,0)) override { Inner->drawStencilShadow(clearStencilBuffer, leftUpEdge, rightUpEdge, leftDownEdge, rightDownEdge); }
	void drawMeshBuffer(const scene::IMeshBuffer* mb) override { Inner->drawMeshBuffer(mb); }
	void drawMeshBufferNormals(const scene::IMeshBuffer* mb, f32 length=10.f, SColor color=0xffffffff) override { Inner->drawMeshBufferNormals(mb, length, color); }
	void setFog(SColor color=SColor(0,255,255,255), E_FOG_TYPE fogType=EFT_FOG_LINEAR, f32 start=50.0f, f32 end=100.0f, f32 density=0.01f, bool pixelFog=false, bool rangeFog=false) override { Inner->setFog(color, fogType, start, end, density, pixelFog, rangeFog); }
	void getFog(SColor& color, E_FOG_TYPE& fogType, f32& start, f32& end, f32& density, bool& pixelFog, bool& rangeFog) override { Inner->getFog(color, fogType, start, end, density, pixelFog, rangeFog); }
	ECOLOR_FORMAT getColorFormat() const override { return Inner->getColorFormat(); }
	const core::dimension2d<u32>& getScreenSize() const override { return Inner->getScreenSize(); }
	const core::dimension2d<u32>& getCurrentRenderTargetSize() const override { return Inner->getCurrentRenderTargetSize(); }
	s32 getFPS() const override { return Inner->getFPS(); }
	u32 getPrimitiveCountDrawn(u32 mode =0) const override { return Inner->getPrimitiveCountDrawn(mode); }
	void deleteAllDynamicLights() override { Inner->deleteAllDynamicLights(); }
	s32 addDynamicLight(const SLight& light) override { return Inner->addDynamicLight(light); }
	u32 getMaximalDynamicLightAmount() const override { return Inner->getMaximalDynamicLightAmount(); }
	u32 getDynamicLightCount() const override { return Inner->getDynamicLightCount(); }
	const SLight& getDynamicLight(u32 idx) const override { return Inner->getDynamicLight(idx); }
	void turnLightOn(s32 lightIndex, bool turnOn) override { Inner->turnLightOn(lightIndex, turnOn); }
	const wchar_t* getName() const override { return Inner->getName(); }
	void addExternalImageLoader(IImageLoader* loader) override { Inner->addExternalImageLoader(loader); }
	void addExternalImageWriter(IImageWriter* writer) override { Inner->addExternalImageWriter(writer); }
	u32 getMaximalPrimitiveCount() const override { return Inner->getMaximalPrimitiveCount(); }
	void setTextureCreationFlag(E_TEXTURE_CREATION_FLAG flag, bool enabled=true) override { Inner->setTextureCreationFlag(flag, enabled); }
	bool getTextureCreationFlag(E_TEXTURE_CREATION_FLAG flag) const override { return Inner->getTextureCreationFlag(flag); }
	IImage* createImageFromFile(const io::path& filename) override { return Inner->createImageFromFile(filename); }
	IImage* createImageFromFile(io::IReadFile* file) override { return Inner->createImageFromFile(file); }
	bool writeImageToFile(IImage* image, const io::path& filename, u32 param = 0) override { return Inner->writeImageToFile(image, filename, param); }
	bool writeImageToFile(IImage* image, io::IWriteFile* file, u32 param =0) override { return Inner->writeImageToFile(image, file, param); }
	IImage* createImageFromData(ECOLOR_FORMAT format, const core::dimension2d<u32>& size, void *data, bool ownForeignMemory=false, bool deleteMemory = true) override { return Inner->createImageFromData(format, size, data, ownForeignMemory, deleteMemory); }
	IImage* createImage(ECOLOR_FORMAT format, const core::dimension2d<u32>& size) override { return Inner->createImage(format, size); }
	IImage* createImage(ECOLOR_FORMAT format, IImage *imageToCopy) override { return Inner->createImage(format, imageToCopy); }
	IImage* createImage(IImage* imageToCopy, const core::position2d<s32>& pos, const core::dimension2d<u32>& size) override { return Inner->createImage(imageToCopy, pos, size); }
	IImage* createImage(ITexture* texture, const core::position2d<s32>& pos, const core::dimension2d<u32>& size) override { return Inner->createImage(texture, pos, size); }
	void OnResize(const core::dimension2d<u32>& size) override { Inner->OnResize(size); }
	s32 addMaterialRenderer(IMaterialRenderer* renderer, const c8* name =0) override { return Inner->addMaterialRenderer(renderer, name); }
	IMaterialRenderer* getMaterialRenderer(u32 idx) override { return Inner->getMaterialRenderer(idx); }
	u32 getMaterialRendererCount() const override { return Inner->getMaterialRendererCount(); }
	const c8* getMaterialRendererName(u32 idx) const override { return Inner->getMaterialRendererName(idx); }
	void setMaterialRendererName(s32 idx, const c8* name) override { Inner->setMaterialRendererName(idx, name); }
	io::IAttributes* createAttributesFromMaterial(const video::SMaterial& material, io::SAttributeReadWriteOptions* options=0) override { return Inner->createAttributesFromMaterial(material, options); }
	void fillMaterialStructureFromAttributes(video::SMaterial& outMaterial, io::IAttributes* attributes) override { Inner->fillMaterialStructureFromAttributes(outMaterial, attributes); }
	const SExposedVideoData& getExposedVideoData() override { return Inner->getExposedVideoData(); }
	E_DRIVER_TYPE getDriverType() const override { return Inner->getDriverType(); }
	IGPUProgrammingServices* getGPUProgrammingServices() override { return Inner->getGPUProgrammingServices(); }
	scene::IMeshManipulator* getMeshManipulator() override { return Inner->getMeshManipulator(); }
	void clearZBuffer() override { Inner->clearZBuffer(); }
	IImage* createScreenShot(video::ECOLOR_FORMAT format=video::ECF_UNKNOWN, video::E_RENDER_TARGET target=video::ERT_FRAME_BUFFER) override { return Inner->createScreenShot(format, target); }
	video::ITexture* findTexture(const io::path& filename) override { return Inner->findTexture(filename); }
	bool setClipPlane(u32 index, const core::plane3df& plane, bool enable=false) override { return Inner->setClipPlane(index, plane, enable); }
	void enableClipPlane(u32 index, bool enable) override { Inner->enableClipPlane(index, enable); }
	void setMinHardwareBufferVertexCount(u32 count) override { Inner->setMinHardwareBufferVertexCount(count); }
	SOverrideMaterial& getOverrideMaterial() override { return Inner->getOverrideMaterial(); }
	SMaterial& getMaterial2D() override { return Inner->getMaterial2D(); }
	void enableMaterial2D(bool enable=true) override { Inner->enableMaterial2D(enable); }
	core::stringc getVendorInfo() override { return Inner->getVendorInfo(); }
	void setAmbientLight(const SColorf& color) override { Inner->setAmbientLight(color); }
	void setAllowZWriteOnTransparent(bool flag) override { Inner->setAllowZWriteOnTransparent(flag); }
	core::dimension2du getMaxTextureSize() const override { return Inner->getMaxTextureSize(); }
	void convertColor(const void* sP, ECOLOR_FORMAT sF, s32 sN, void* dP, ECOLOR_FORMAT dF) const override { Inner->convertColor(sP, sF, sN, dP, dF); }

protected:
	IVideoDriver* Inner;
};

#pragma GCC diagnostic pop

} // namespace video
} // namespace irr
