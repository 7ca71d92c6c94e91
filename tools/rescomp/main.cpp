// kx-rescomp: compiles a text resource definition into a resource block and
// writes it as a resource file, attaches it to an executable, or renders the
// definition's icons as PNG pictures.

#include "ColorMap.h"
#include "ElfAppender.h"
#include "IconPng.h"
#include "ResourceDefinition.h"
#include "ResourceWriter.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

using namespace BPrivate;

namespace {

const type_code kLargeIconType = 'ICON';
const type_code kMiniIconType = 'MICN';

void
Usage()
{
	fprintf(stderr,
		"usage: kx-rescomp DEFINITION [--output FILE.rsrc] [--attach "
		"EXECUTABLE]\n"
		"                  [--png FOLDER --cmap COLORMAP]\n"
		"  --output  write the resources as a resource file\n"
		"  --attach  put the resources into an ELF executable, replacing\n"
		"            resources attached earlier\n"
		"  --png     render the icons as kalvex-SIZE.png, SIZE 16 to 256\n");
}

bool
WriteResourceFile(
	const char* path, const std::vector<uint8>& block, std::string* error)
{
	static const char kHeader[4] = { 'R', 'S', 0, 0 };
	std::ofstream	  output(path, std::ios::binary | std::ios::trunc);
	output.write(kHeader, sizeof(kHeader));
	output.write(reinterpret_cast<const char*>(block.data()),
		std::streamsize(block.size()));
	output.close();
	if (!output) {
		*error = std::string(path)
			+ ": could not be written; check that its "
			  "folder exists and is writable";
		return false;
	}
	return true;
}

bool
WriteIcons(const char* folder, const char* cmapPath,
	const std::vector<ResourceItem>& items, std::string* error)
{
	// Each size comes from the icon it is a whole multiple of.
	struct Rendering {
		int32	  size;
		type_code source;
		int32	  sourceSize;
	};
	static const Rendering kRenderings[] = {
		{ 16, kMiniIconType, 16 },
		{ 32, kLargeIconType, 32 },
		{ 48, kMiniIconType, 16 },
		{ 64, kLargeIconType, 32 },
		{ 128, kLargeIconType, 32 },
		{ 256, kLargeIconType, 32 },
	};
	ColorMap colors;
	if (!colors.Load(cmapPath, error))
		return false;
	for (const Rendering& rendering : kRenderings) {
		const ResourceItem* icon = nullptr;
		for (const ResourceItem& item : items) {
			if (item.type == rendering.source
				&& item.data.size()
					== size_t(rendering.sourceSize * rendering.sourceSize))
				icon = &item;
		}
		if (icon == nullptr) {
			*error = "the definition has no "
				+ std::to_string(rendering.sourceSize)
				+ " pixel icon to render";
			return false;
		}
		std::string path = std::string(folder) + "/kalvex-"
			+ std::to_string(rendering.size) + ".png";
		if (!WriteIconPng(path.c_str(), icon->data, rendering.sourceSize,
				rendering.size / rendering.sourceSize, colors, error))
			return false;
	}
	return true;
}

} // namespace


int
main(int argc, char** argv)
{
	const char* definition = nullptr;
	const char* output = nullptr;
	const char* attach = nullptr;
	const char* pngFolder = nullptr;
	const char* cmap = nullptr;
	for (int i = 1; i < argc; i++) {
		const char** option = nullptr;
		if (strcmp(argv[i], "--output") == 0)
			option = &output;
		else if (strcmp(argv[i], "--attach") == 0)
			option = &attach;
		else if (strcmp(argv[i], "--png") == 0)
			option = &pngFolder;
		else if (strcmp(argv[i], "--cmap") == 0)
			option = &cmap;
		else if (argv[i][0] != '-' && definition == nullptr)
			definition = argv[i];
		else {
			Usage();
			return 2;
		}
		if (option != nullptr) {
			if (i + 1 >= argc) {
				Usage();
				return 2;
			}
			*option = argv[++i];
		}
	}
	if (definition == nullptr
		|| (output == nullptr && attach == nullptr && pngFolder == nullptr)
		|| (pngFolder != nullptr && cmap == nullptr)) {
		Usage();
		return 2;
	}

	ResourceDefinition resources;
	if (!resources.ParseFile(definition)) {
		fprintf(stderr, "kx-rescomp: %s\n", resources.ErrorText().c_str());
		return 1;
	}
	std::string error = ResourceItemsProblem(resources.Items());
	if (!error.empty()) {
		fprintf(stderr, "kx-rescomp: %s: %s\n", definition, error.c_str());
		return 1;
	}
	std::vector<uint8> block = BuildResourceBlock(resources.Items());
	if ((output != nullptr && !WriteResourceFile(output, block, &error))
		|| (attach != nullptr
			&& !AttachResourceBlockToFile(attach, block, &error))
		|| (pngFolder != nullptr
			&& !WriteIcons(pngFolder, cmap, resources.Items(), &error))) {
		fprintf(stderr, "kx-rescomp: %s\n", error.c_str());
		return 1;
	}
	return 0;
}
