#include <Message.h>

#include <gtest/gtest.h>

namespace {

TEST(Message, Int32FieldsInBothFormsAndOfOneTypeEach)
{
	BMessage message(0);
	ASSERT_EQ(message.AddInt32("Kalvex:color", 5), B_OK);
	ASSERT_EQ(message.AddInt32("Kalvex:color", 8), B_OK);
	int32 value = -1;
	EXPECT_EQ(message.FindInt32("Kalvex:color", 1, &value), B_OK);
	EXPECT_EQ(value, 8);
	EXPECT_EQ(message.FindInt32("Kalvex:color"), 5);
	EXPECT_EQ(message.FindInt32("Kalvex:color", 1), 8);

	// A missing field or item: an error, or 0 from the value form.
	value = 77;
	EXPECT_EQ(message.FindInt32("missing", &value), B_NAME_NOT_FOUND);
	EXPECT_EQ(value, 77);
	EXPECT_EQ(message.FindInt32("missing"), 0);
	EXPECT_EQ(message.FindInt32("Kalvex:color", 2, &value), B_BAD_INDEX);
	EXPECT_EQ(message.FindInt32("Kalvex:color", 2), 0);

	message.AddPoint("where", BPoint(3.5f, -2));
	EXPECT_EQ(message.FindInt32("where", &value), B_BAD_TYPE);
	EXPECT_EQ(message.AddInt32("where", 1), B_BAD_TYPE);
	BPoint where;
	EXPECT_EQ(message.FindPoint("where", &where), B_OK);
	EXPECT_EQ(where, BPoint(3.5f, -2));
	EXPECT_EQ(message.AddInt32("", 1), B_BAD_VALUE);
	EXPECT_EQ(message.AddInt32(nullptr, 1), B_BAD_VALUE);
}

TEST(Message, DropInformationTravelsWithCopies)
{
	BMessage message(0);
	EXPECT_FALSE(message.WasDropped());
	message._SetDropInfo(BPoint(120, 300), BPoint(10, 10));
	BMessage copy(message);
	EXPECT_TRUE(copy.WasDropped());
	BPoint offset;
	EXPECT_EQ(copy.DropPoint(&offset), BPoint(120, 300));
	EXPECT_EQ(offset, BPoint(10, 10));
}

} // namespace
