#ifndef _KX_RESOURCE_DEFINITION_H
#define _KX_RESOURCE_DEFINITION_H

// Reads the text definition of an application's resources: one
// "resource TYPE ID "NAME" KIND ..." entry per resource, in index order,
// where KIND says how the data is written out (a string, a 32-bit word, an
// empty message, version records or an icon drawn as text).

#include <private/ResourceFile.h>

#include <istream>
#include <string>
#include <vector>

namespace BPrivate {

class ResourceDefinition {
public:
	// Parses `input`; `source` names it in error texts. Returns false and
	// sets the text of ErrorText() at the first fault.
	bool Parse(std::istream& input, const char* source);
	bool ParseFile(const char* path);

	const std::vector<ResourceItem>&
	Items() const
	{
		return fItems;
	}
	const std::string&
	ErrorText() const
	{
		return fError;
	}

private:
	bool _ParseResource(
		std::istream& input, const std::vector<std::string>& tokens);
	bool _ParseVersion(std::istream& input, ResourceItem& item);
	bool _ParseIcon(std::istream& input, int32 size, ResourceItem& item);
	bool _NextLine(std::istream& input, std::vector<std::string>& tokens);
	bool _Fail(const std::string& why);

	std::string				  fSource;
	int32					  fLine = 0;
	std::string				  fError;
	std::vector<ResourceItem> fItems;
};

// The data of the resource kinds, also used by the tests.
std::vector<uint8> FlattenEmptyMessage(uint32 what);
std::vector<uint8> VersionRecord(const uint32 numbers[5],
	const std::string& shortInfo, const std::string& longInfo);

} // namespace BPrivate

#endif
