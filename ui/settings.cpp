#include "core/COstrel.h"

#include "core/TextUtil.h"
#include "ui/CXMLWriterUTF8.h"

namespace irr
{

namespace
{

const c8* const KeyMergeAction = "MergeAction";
const c8* const KeyUseObjectSpace = "UseObjectSpace";
const c8* const KeyExportSelected = "ExportSelected";
const c8* const KeyFPS = "FPS";
const c8* const KeyStartFrame = "StartFrame";
const c8* const KeyEndFrame = "EndFrame";
const c8* const KeyExportType = "ExportType";
const c8* const KeyCoordType = "CoordType";

} // namespace

bool COstrel::loadSettings()
{
	if (!Device)
		return false;
	io::IFileSystem* fs = Device->getFileSystem();

	io::IReadFile* file = fs->createAndOpenFile(toFilePath(Params.SettingsPath));
	if (!file)
		return false;
	if (file->getSize() <= 0)
	{
		file->drop();
		return false;
	}
	io::IXMLReader* reader = fs->createXMLReader(file);
	if (!reader)
	{
		file->drop();
		return false;
	}

	// The engine's reader takes the file as 8-bit text and does not decode
	// UTF-8; the keys and values are ASCII, so only the comments suffer.
	while (reader->read())
	{
		const io::EXML_NODE type = reader->getNodeType();
		if (type != io::EXN_ELEMENT && type != io::EXN_ELEMENT_END)
			continue;
		const core::stringw name = reader->getNodeName();
		if (type == io::EXN_ELEMENT_END && name == L"GameConfig")
			continue;
		if (name != L"attributes")
			continue;

		// The block reader consumes everything up to and including the
		// block's closing tag.
		io::IAttributes* attrs = fs->createEmptyAttributes(0);
		attrs->read(reader, false, 0);
		readSettingsAttributes(attrs);
		attrs->drop();
	}

	reader->drop();
	file->drop();
	return true;
}

bool COstrel::saveSettings()
{
	if (!Device)
		return false;
	io::IFileSystem* fs = Device->getFileSystem();

	io::IWriteFile* file = fs->createAndWriteFile(toFilePath(Params.SettingsPath), false);
	if (!file)
		return false;
	io::CXMLWriterUTF8* writer = new io::CXMLWriterUTF8(file);

	const core::stringw author = core::stringw(L"Game Config File, Date: 2010-09-10, Author: ")
		+ widenBytes(HalvexAuthor);
	writer->writeComment(author.c_str());
	writer->writeComment(L"此文件可手动修改，但请慎重。");
	writer->writeLineBreak();
	writer->writeXMLHeader();
	writer->writeElement(L"GameConfig", false);
	writer->writeLineBreak();

	io::IAttributes* attrs = fs->createEmptyAttributes(Device->getVideoDriver());
	writeSettingsAttributes(attrs);
	if (attrs->getAttributeCount() > 0)
		attrs->write(writer, false, 0);
	attrs->drop();

	writer->writeLineBreak();
	writer->writeClosingTag(L"GameConfig");
	writer->writeLineBreak();

	writer->drop();
	file->drop();
	return true;
}

void COstrel::readSettingsAttributes(io::IAttributes* attrs)
{
	if (!attrs)
		return;
	// A missing key yields false or 0, not the previous value.
	MergeAction = attrs->getAttributeAsBool(KeyMergeAction);
	UseObjectSpace = attrs->getAttributeAsBool(KeyUseObjectSpace);
	ExportSelected = attrs->getAttributeAsBool(KeyExportSelected);
	FPS = attrs->getAttributeAsInt(KeyFPS);
	StartFrame = attrs->getAttributeAsInt(KeyStartFrame);
	EndFrame = attrs->getAttributeAsInt(KeyEndFrame);
	ExportType = attrs->getAttributeAsInt(KeyExportType);
	CoordType = attrs->getAttributeAsInt(KeyCoordType);
}

void COstrel::writeSettingsAttributes(io::IAttributes* attrs)
{
	if (!attrs)
		return;
	attrs->addBool(KeyMergeAction, MergeAction);
	attrs->addBool(KeyUseObjectSpace, UseObjectSpace);
	attrs->addBool(KeyExportSelected, ExportSelected);
	attrs->addInt(KeyFPS, FPS);
	attrs->addInt(KeyStartFrame, StartFrame);
	attrs->addInt(KeyEndFrame, EndFrame);
	attrs->addInt(KeyExportType, ExportType);
	attrs->addInt(KeyCoordType, CoordType);
}

} // namespace irr
