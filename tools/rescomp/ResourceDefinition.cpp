#include "ResourceDefinition.h"

#include <private/ResourceFormat.h>

#include <cstdlib>
#include <fstream>
#include <map>

namespace BPrivate {

namespace {

const size_t kVersionRecordSize = 340;
const size_t kShortInfoSize = 64;
const size_t kLongInfoSize = 256;

// Splits a line into words; a word in double quotes may hold spaces and the
// escapes \" and \\, and a '#' outside quotes starts a comment.
bool
Tokenize(const std::string& line, std::vector<std::string>& tokens)
{
	tokens.clear();
	size_t i = 0;
	while (i < line.size()) {
		char c = line[i];
		if (c == ' ' || c == '\t' || c == '\r') {
			i++;
		} else if (c == '#') {
			break;
		} else if (c == '"') {
			// Quoted words keep a leading quote so that "" stays a word.
			std::string word = "\"";
			for (i++; i < line.size() && line[i] != '"'; i++) {
				if (line[i] == '\\' && i + 1 < line.size())
					i++;
				word += line[i];
			}
			if (i >= line.size())
				return false;
			i++;
			tokens.push_back(word);
		} else {
			size_t start = i;
			while (i < line.size() && line[i] != ' ' && line[i] != '\t'
				&& line[i] != '\r' && line[i] != '#')
				i++;
			tokens.push_back(line.substr(start, i - start));
		}
	}
	return true;
}

bool
IsQuoted(const std::string& token)
{
	return !token.empty() && token[0] == '"';
}

bool
ParseNumber(const std::string& token, int64 min, int64 max, int64* value)
{
	if (token.empty() || IsQuoted(token))
		return false;
	char*	  end = nullptr;
	long long number = strtoll(token.c_str(), &end, 0);
	if (*end != '\0' || number < min || number > max)
		return false;
	*value = number;
	return true;
}

bool
ParseTypeCode(const std::string& token, type_code* type)
{
	if (token.size() != 4)
		return false;
	*type = 0;
	for (char c : token)
		*type = (*type << 8) | uint8(c);
	return true;
}

} // namespace


std::vector<uint8>
FlattenEmptyMessage(uint32 what)
{
	// Header (magic, checksum, size, what, flags) and the end-of-fields byte.
	const uint32	   kMagic = 0x464F4231;
	const uint32	   kSize = 18;
	const uint8		   kValidFlag = 0x01;
	std::vector<uint8> bytes(kSize, 0);
	WriteLE32(&bytes[0], kMagic);
	WriteLE32(&bytes[8], kSize);
	WriteLE32(&bytes[12], what);
	bytes[16] = kValidFlag;
	WriteLE32(&bytes[4], InfoTableChecksum(&bytes[8], 9));
	return bytes;
}


std::vector<uint8>
VersionRecord(const uint32 numbers[5], const std::string& shortInfo,
	const std::string& longInfo)
{
	std::vector<uint8> record(kVersionRecordSize, 0);
	for (int i = 0; i < 5; i++)
		WriteLE32(&record[4 * i], numbers[i]);
	// Texts are cut so that their terminating zero always fits.
	shortInfo.copy(reinterpret_cast<char*>(&record[20]), kShortInfoSize - 1);
	longInfo.copy(reinterpret_cast<char*>(&record[84]), kLongInfoSize - 1);
	return record;
}


bool
ResourceDefinition::ParseFile(const char* path)
{
	std::ifstream input(path);
	if (!input) {
		fSource = path;
		fLine = 0;
		return _Fail("cannot be opened; check the path");
	}
	return Parse(input, path);
}


bool
ResourceDefinition::Parse(std::istream& input, const char* source)
{
	fSource = source;
	fLine = 0;
	fError.clear();
	fItems.clear();
	std::vector<std::string> tokens;
	while (_NextLine(input, tokens)) {
		if (tokens[0] != "resource")
			return _Fail("expected 'resource', found '" + tokens[0] + "'");
		if (!_ParseResource(input, tokens))
			return false;
	}
	if (!fError.empty())
		return false;
	if (fItems.empty())
		return _Fail("defines no resources");
	return true;
}


bool
ResourceDefinition::_ParseResource(
	std::istream& input, const std::vector<std::string>& tokens)
{
	// resource TYPE ID "NAME" KIND [VALUE]
	if (tokens.size() < 5)
		return _Fail("a resource needs a type, an id, a name and a kind");
	ResourceItem item;
	int64		 id = 0;
	if (!ParseTypeCode(tokens[1], &item.type))
		return _Fail("type '" + tokens[1] + "' is not four characters");
	if (!ParseNumber(tokens[2], INT32_MIN, INT32_MAX, &id))
		return _Fail("id '" + tokens[2] + "' is not a 32-bit number");
	if (!IsQuoted(tokens[3]))
		return _Fail("the name must be in double quotes");
	item.id = int32(id);
	item.name = tokens[3].substr(1);

	const std::string& kind = tokens[4];
	int64			   value = 0;
	if (kind == "string" && tokens.size() == 6 && IsQuoted(tokens[5])) {
		const std::string text = tokens[5].substr(1);
		item.data.assign(text.begin(), text.end());
		item.data.push_back(0);
	} else if (kind == "uint32" && tokens.size() == 6
		&& ParseNumber(tokens[5], 0, UINT32_MAX, &value)) {
		item.data.resize(4);
		WriteLE32(item.data.data(), uint32(value));
	} else if (kind == "message" && tokens.size() == 6
		&& ParseNumber(tokens[5], 0, UINT32_MAX, &value)) {
		item.data = FlattenEmptyMessage(uint32(value));
	} else if (kind == "version" && tokens.size() == 5) {
		if (!_ParseVersion(input, item))
			return false;
	} else if (kind == "icon" && tokens.size() == 6
		&& ParseNumber(tokens[5], 1, 256, &value)) {
		if (!_ParseIcon(input, int32(value), item))
			return false;
	} else {
		return _Fail("kind '" + kind + "' with "
			+ std::to_string(tokens.size() - 5)
			+ " value(s) is not one of: string \"TEXT\", "
			  "uint32 N, message WHAT, version, icon SIZE");
	}
	for (const ResourceItem& other : fItems) {
		if (other.type == item.type && other.id == item.id)
			return _Fail("resource " + tokens[1] + " " + tokens[2]
				+ " is defined twice");
	}
	fItems.push_back(std::move(item));
	return true;
}


bool
ResourceDefinition::_ParseVersion(std::istream& input, ResourceItem& item)
{
	// "app" then optionally "system": major middle minor variety internal
	// "short info" "long info"; each line is one record, "end" closes.
	static const char* const kKinds[2] = { "app", "system" };
	std::vector<std::string> tokens;
	int						 records = 0;
	while (_NextLine(input, tokens)) {
		if (tokens[0] == "end")
			return records > 0 || _Fail("a version needs an 'app' record");
		if (records == 2 || tokens[0] != kKinds[records])
			return _Fail(std::string("expected '")
				+ (records == 2 ? "end" : kKinds[records]) + "', found '"
				+ tokens[0] + "'");
		if (tokens.size() != 8 || !IsQuoted(tokens[6]) || !IsQuoted(tokens[7]))
			return _Fail("a version record is: major middle minor variety "
						 "internal \"short info\" \"long info\"");
		uint32 numbers[5];
		for (int i = 0; i < 5; i++) {
			int64 value = 0;
			if (!ParseNumber(tokens[1 + i], 0, UINT32_MAX, &value))
				return _Fail("'" + tokens[1 + i] + "' is not a 32-bit number");
			numbers[i] = uint32(value);
		}
		std::vector<uint8> record =
			VersionRecord(numbers, tokens[6].substr(1), tokens[7].substr(1));
		item.data.insert(item.data.end(), record.begin(), record.end());
		records++;
	}
	return _Fail("the version is not closed with 'end'");
}


bool
ResourceDefinition::_ParseIcon(
	std::istream& input, int32 size, ResourceItem& item)
{
	// "colors" lists SYMBOL INDEX pairs, "pixels" gives `size` rows of
	// `size` symbols each, "end" closes.
	std::map<char, uint8>	 colors;
	std::vector<std::string> tokens;
	bool					 inPixels = false;
	int32					 rows = 0;
	while (_NextLine(input, tokens)) {
		if (tokens[0] == "end") {
			if (rows != size)
				return _Fail("icon has " + std::to_string(rows)
					+ " rows of "
					  "pixels, expected "
					+ std::to_string(size));
			return true;
		}
		if (tokens[0] == "colors" || tokens[0] == "pixels") {
			inPixels = tokens[0] == "pixels";
			continue;
		}
		if (!inPixels) {
			int64 index = 0;
			if (tokens.size() != 2 || tokens[0].size() != 1
				|| !ParseNumber(tokens[1], 0, 255, &index))
				return _Fail("a colour is a single symbol and a colour map "
							 "index from 0 to 255");
			if (colors.count(tokens[0][0]) != 0)
				return _Fail("symbol '" + tokens[0] + "' is given twice");
			colors[tokens[0][0]] = uint8(index);
			continue;
		}
		if (tokens.size() != 1 || int32(tokens[0].size()) != size)
			return _Fail("a row of pixels must be " + std::to_string(size)
				+ " symbols without spaces");
		if (rows == size)
			return _Fail(
				"icon has more than " + std::to_string(size) + " rows");
		for (char symbol : tokens[0]) {
			auto found = colors.find(symbol);
			if (found == colors.end())
				return _Fail(std::string("symbol '") + symbol
					+ "' is not among the icon's colors");
			item.data.push_back(found->second);
		}
		rows++;
	}
	return _Fail("the icon is not closed with 'end'");
}


bool
ResourceDefinition::_NextLine(
	std::istream& input, std::vector<std::string>& tokens)
{
	std::string line;
	while (std::getline(input, line)) {
		fLine++;
		if (!Tokenize(line, tokens))
			return _Fail("a quoted text is not closed");
		if (!tokens.empty())
			return true;
	}
	return false;
}


bool
ResourceDefinition::_Fail(const std::string& why)
{
	// Keep the first fault: later ones follow from it.
	if (fError.empty())
		fError = fSource + ":" + std::to_string(fLine) + ": " + why;
	return false;
}

} // namespace BPrivate
