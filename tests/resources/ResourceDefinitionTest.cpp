// The text definition: every kind of resource, and faults reported with the
// file and line at fault.

#include "ResourceDefinition.h"

#include <private/ResourceFormat.h>

#include <gtest/gtest.h>

#include <sstream>

using namespace BPrivate;

namespace {

bool
Parse(const std::string& text, ResourceDefinition& definition)
{
	std::istringstream input(text);
	return definition.Parse(input, "test.rdef");
}

} // namespace


TEST(ResourceDefinition, ReadsEveryKind)
{
	ResourceDefinition definition;
	ASSERT_TRUE(
		Parse("# comment\n"
			  "resource MIMS 1 \"BEOS:APP_SIG\" string \"a \\\"b\\\" # c\"\n"
			  "resource APPF 1 \"BEOS:APP_FLAGS\" uint32 0x5   # trailing\n"
			  "resource MSGG 1 \"\" message 0x5F515251\n"
			  "resource APPV 1 \"BEOS:APP_VERSION\" version\n"
			  "    app 1 2 3 5 7 \"short\" \"long\"\n"
			  "end\n"
			  "resource ICON -3 \"i\" icon 2\n"
			  "    colors\n"
			  "        a 0\n"
			  "        b 63\n"
			  "    pixels\n"
			  "        ab\n"
			  "        ba\n"
			  "end\n",
			definition))
		<< definition.ErrorText();
	const std::vector<ResourceItem>& items = definition.Items();
	ASSERT_EQ(items.size(), 5u);
	EXPECT_EQ(items[0].type, type_code('MIMS'));
	EXPECT_EQ(std::string(items[0].data.begin(), items[0].data.end()),
		std::string("a \"b\" # c", 10));
	EXPECT_EQ(items[1].data, std::vector<uint8>({ 5, 0, 0, 0 }));
	EXPECT_EQ(items[2].name, "");
	EXPECT_EQ(ReadLE32(&items[2].data[12]), 0x5F515251u);
	EXPECT_EQ(ReadLE32(&items[2].data[4]), 0x12000001u + 0x5152515Fu);
	ASSERT_EQ(items[3].data.size(), 340u);
	EXPECT_EQ(ReadLE32(&items[3].data[12]), 5u);
	EXPECT_STREQ(reinterpret_cast<const char*>(&items[3].data[20]), "short");
	EXPECT_STREQ(reinterpret_cast<const char*>(&items[3].data[84]), "long");
	EXPECT_EQ(items[4].id, -3);
	EXPECT_EQ(items[4].data, std::vector<uint8>({ 0, 63, 63, 0 }));
}


TEST(ResourceDefinition, ReportsTheLineAtFault)
{
	struct Case {
		const char* text;
		const char* expected;
	};
	const Case cases[] = {
		{ "\nfoo\n", "test.rdef:2: expected 'resource'" },
		{ "resource MIM 1 \"n\" uint32 0\n",
			"test.rdef:1: type 'MIM' is not four characters" },
		{ "resource MIMS x \"n\" uint32 0\n", "id 'x'" },
		{ "resource MIMS 1 n uint32 0\n", "double quotes" },
		{ "resource MIMS 1 \"n\" uint32 0x100000000\n", "kind 'uint32'" },
		{ "resource MIMS 1 \"n\" string \"open\n", "not closed" },
		{ "resource APPF 1 \"n\" uint32 0\nresource APPF 1 \"m\" uint32 1\n",
			"test.rdef:2: resource APPF 1 is defined twice" },
		{ "resource APPV 1 \"n\" version\n  system 0 0 0 0 0 \"\" \"\"\nend\n",
			"test.rdef:2: expected 'app'" },
		{ "resource APPV 1 \"n\" version\n  app 0 0 0 0 0 \"\" \"\"\n",
			"not closed with 'end'" },
		{ "resource ICON 1 \"n\" icon 2\n colors\n a 0\n pixels\n ab\n "
		  "aa\nend\n",
			"test.rdef:5: symbol 'b'" },
		{ "resource ICON 1 \"n\" icon 2\n colors\n a 0\n pixels\n aa\nend\n",
			"test.rdef:6: icon has 1 rows" },
		{ "resource ICON 1 \"n\" icon 2\n colors\n a 256\nend\n", "0 to 255" },
		{ "# nothing\n", "defines no resources" },
	};
	for (const Case& c : cases) {
		ResourceDefinition definition;
		EXPECT_FALSE(Parse(c.text, definition)) << c.text;
		EXPECT_NE(definition.ErrorText().find(c.expected), std::string::npos)
			<< c.text << " gave: " << definition.ErrorText();
	}
}
