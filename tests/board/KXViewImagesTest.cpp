// The pictures are decoded once per start: the view takes over what the
// start-up check decoded instead of reading the files again.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "KXView.h"

namespace fs = std::filesystem;

TEST(ViewImages, TheViewTakesThePicturesTheStartUpCheckDecoded)
{
	fs::path source = fs::current_path();
	fs::path folder =
		fs::temp_directory_path() / ("kx-images-" + std::to_string(getpid()));
	fs::create_directories(folder);
	fs::copy(source / "bmp", folder / "bmp");
	ASSERT_EQ(chdir(folder.c_str()), 0);

	EXPECT_EQ(KXView::MissingImage(), nullptr);
	// Read again, the files would now give nothing.
	fs::remove_all(folder / "bmp");
	KXView* view = new KXView();
	EXPECT_NE(view->boardBitmap, nullptr);
	for (int32 i = 0; i < kPegColorCount; i++)
		EXPECT_NE(view->pegBitmaps[i], nullptr) << "peg " << i;
	// The next view reads the files itself: nothing is handed over twice.
	KXView* second = new KXView();
	EXPECT_EQ(second->boardBitmap, nullptr);

	delete second;
	delete view;
	ASSERT_EQ(chdir(source.c_str()), 0);
	fs::remove_all(folder);
}
