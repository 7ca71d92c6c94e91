#include <Message.h>
#include <Rect.h>

#include <gtest/gtest.h>

namespace {

TEST(Message, Int32FieldsInBothForms)
{
	BMessage message(0);
	EXPECT_EQ(message.what, 0u);
	ASSERT_EQ(message.AddInt32("Kalvex:color", 5), B_OK);
	ASSERT_EQ(message.AddInt32("Kalvex:color", 8), B_OK);

	int32 value = -1;
	EXPECT_EQ(message.FindInt32("Kalvex:color", &value), B_OK);
	EXPECT_EQ(value, 5);
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
}

TEST(Message, FieldTypesDoNotMix)
{
	BMessage message('test');
	message.AddPoint("where", BPoint(3.5f, -2));
	int32 value;
	EXPECT_EQ(message.FindInt32("where", &value), B_BAD_TYPE);
	EXPECT_EQ(message.AddInt32("where", 1), B_BAD_TYPE);
	BPoint where;
	EXPECT_EQ(message.FindPoint("where", &where), B_OK);
	EXPECT_EQ(where, BPoint(3.5f, -2));
	EXPECT_EQ(message.AddInt32("", 1), B_BAD_VALUE);
	EXPECT_EQ(message.AddInt32(nullptr, 1), B_BAD_VALUE);
}

TEST(Message, CopiesAreIndependent)
{
	BMessage original(4);
	original.AddInt32("a", 1);
	original.AddString("name", "peg");
	BMessage copy(original);
	copy.ReplaceInt32("a", 2);
	copy.what = 9;
	EXPECT_EQ(original.FindInt32("a"), 1);
	EXPECT_EQ(copy.FindInt32("a"), 2);
	EXPECT_EQ(original.what, 4u);
	const char* name = nullptr;
	ASSERT_EQ(copy.FindString("name", &name), B_OK);
	EXPECT_STREQ(name, "peg");

	BMessage assigned;
	assigned = original;
	EXPECT_EQ(assigned.what, 4u);
	EXPECT_EQ(assigned.CountNames(), 2);
}

TEST(Message, DropInformation)
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

TEST(Rect, EdgesAreInside)
{
	BRect hole(8, 1, 24, 17);
	EXPECT_EQ(hole.IntegerWidth() + 1, 17);
	EXPECT_EQ(hole.IntegerHeight() + 1, 17);
	EXPECT_TRUE(hole.Contains(BPoint(8, 1)));
	EXPECT_TRUE(hole.Contains(BPoint(24, 17)));
	EXPECT_FALSE(hole.Contains(BPoint(24.01f, 17)));
	EXPECT_FALSE(hole.Contains(BPoint(7.99f, 1)));
	// Neighbours at a pitch of 16 share one line of pixels.
	BRect next(24, 1, 40, 17);
	EXPECT_TRUE(hole.Intersects(next));
	EXPECT_EQ((hole & next), BRect(24, 1, 24, 17));
	EXPECT_FALSE(BRect().IsValid());
	EXPECT_EQ((BRect() | hole), hole);
	EXPECT_EQ((hole | BRect(0, 0, 2, 2)), BRect(0, 0, 24, 17));
}

} // namespace
