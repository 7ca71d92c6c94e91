#include "GraphicsTestSupport.h"

#include "Watchdog.h"
#include "interface/FontFace.h"

#include <Font.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

const rgb_color kPaper = { 255, 255, 255, 255 };
const rgb_color kInk = { 0, 0, 0, 255 };

// Drawing and measuring text needs an installed face.
class FontTest : public testing::Test {
protected:
	void
	SetUp() override
	{
		if (be_plain_font->Face() == nullptr)
			GTEST_SKIP() << "no sans-serif font installed";
	}
};

} // namespace


TEST_F(FontTest, WidthsGrowWithTextAndSizeBoldIsWiderAndKernedPairsCloser)
{
	BFont plain(be_plain_font);
	EXPECT_GT(plain.StringWidth("WW"), plain.StringWidth("W"));
	EXPECT_EQ(plain.StringWidth(""), 0);
	EXPECT_EQ(plain.StringWidth(nullptr), 0);
	EXPECT_GT(
		be_bold_font->StringWidth("CPU Play"), plain.StringWidth("CPU Play"));

	BFont large(be_plain_font);
	large.SetSize(24);
	EXPECT_GT(large.StringWidth("Quit"), plain.StringWidth("Quit"));
	// Text that begins and ends alike has the same ink at its ends, so the
	// differences below are the advances alone: three of A and three of V,
	// which A-V and V-A pairs shorten.
	auto more = [&large](const char* longer, const char* shorter) {
		return large.StringWidth(longer) - large.StringWidth(shorter);
	};
	EXPECT_LT(more("AVAVAVAV", "AV"), more("AAAA", "A") + more("VVVV", "V"));

	font_height height;
	plain.GetHeight(&height);
	EXPECT_GT(height.ascent, 0);
	EXPECT_GT(height.descent, 0);
	EXPECT_GE(height.leading, 0);
	EXPECT_LE(height.ascent + height.descent, 2 * plain.Size());
}

TEST_F(FontTest, TextDrawsAntiAliasedInsideItsBoundsAndClipAndBlends)
{
	const char* text = "Give Up";
	BFont		font(be_plain_font);
	font_height height;
	font.GetHeight(&height);
	int32		 width = (int32)font.StringWidth(text);
	const BPoint baseline(5, 20);
	Canvas		 canvas(100, 40, kPaper);
	canvas.Painter().DrawString(
		text, baseline, font, kInk, BPrivate::BlendState());
	// Below it, blended in a transparent colour: no ink at all.
	BPrivate::BlendState alpha;
	alpha.mode = B_OP_ALPHA;
	canvas.Painter().DrawString(
		text, BPoint(5, 36), font, make_color(0, 0, 0, 0), alpha);
	int32 inked = 0;
	int32 partial = 0;
	for (int32 y = 0; y < 40; y++) {
		for (int32 x = 0; x < 100; x++) {
			rgb_color pixel = canvas.At(x, y);
			if (pixel == kPaper)
				continue;
			bool inside = x >= baseline.x && x < baseline.x + width
				&& y >= baseline.y - height.ascent
				&& y < baseline.y + height.descent;
			ASSERT_TRUE(inside) << "ink at " << x << "," << y;
			inked++;
			// Edges are mixed with the paper, in grey.
			if (pixel.red != 0 && pixel.red == pixel.green
				&& pixel.green == pixel.blue)
				partial++;
		}
	}
	EXPECT_GT(inked, 20);
	EXPECT_GT(partial, 0);

	Canvas			  clipped(60, 30, kPaper);
	BPrivate::Painter painter(clipped.buffer, BRect(0, 0, 59, 14));
	painter.DrawString("Quit", BPoint(2, 20), font, kInk, alpha);
	std::string picture = clipped.Picture(BRect(0, 0, 59, 29), kPaper);
	std::string::size_type firstInk = picture.find('.');
	ASSERT_NE(firstInk, std::string::npos);
	EXPECT_LT(firstInk, 15u * 61);
	EXPECT_EQ(picture.find('.', 15 * 61), std::string::npos);
}

TEST_F(FontTest, BrokenUTF8ShowsOneReplacementPerBadByte)
{
	// Each text measures as the well-formed one beside it; U+FFFD is
	// "\xef\xbf\xbd".
	const struct {
		const char* broken;
		const char* shown;
	} cases[] = {
		{ "a\xffz", "a\xef\xbf\xbdz" },
		{ "a\x80z", "a\xef\xbf\xbdz" },
		// cut short, at the end and before another character
		{ "a\xe2\x82", "a\xef\xbf\xbd\xef\xbf\xbd" },
		{ "\xc3z", "\xef\xbf\xbdz" },
		// overlong, a surrogate, past U+10FFFF
		{ "\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd" },
		{ "\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd" },
		{ "\xf4\x90\x80\x80",
			"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd" },
	};
	for (const auto& c : cases) {
		EXPECT_EQ(be_plain_font->StringWidth(c.broken),
			be_plain_font->StringWidth(c.shown))
			<< c.broken;
	}
	// Well-formed text of two and four bytes a character is read whole.
	EXPECT_LT(be_plain_font->StringWidth("\xc3\xa9"),
		be_plain_font->StringWidth("\xef\xbf\xbd\xef\xbf\xbd"));
	EXPECT_GT(be_plain_font->StringWidth("\xf0\x9f\x98\x80"), 0);
}

TEST(FontFile, AKnownFontFileComesBeforeFontconfigAndNoFontGivesNoFace)
{
	EXPECT_EQ(BPrivate::FontFace::Load("/nonexistent/font.ttf", 12), nullptr);
	EXPECT_EQ(BPrivate::FontFace::Load(nullptr, 12), nullptr);
	// A readable file of another kind: this test program.
	EXPECT_EQ(BPrivate::FontFace::Load("/proc/self/exe", 12), nullptr);

	// A readable known file is taken as it is, without asking fontconfig.
	char path[] = "/tmp/kx_knownfontXXXXXX";
	int	 fd = mkstemp(path);
	ASSERT_GE(fd, 0);
	EXPECT_EQ(BPrivate::FontFace::FindFile(path, "sans-serif"), path);
	close(fd);
	remove(path);

	// A missing one leaves the choice to fontconfig, as does none at all.
	std::string chosen = BPrivate::FontFace::FindFile(path, "sans-serif");
	EXPECT_EQ(chosen, BPrivate::FontFace::FindFile(nullptr, "sans-serif"));
	if (chosen.empty()) {
		// fontconfig is opened only when asked: where it is installed,
		// it must have been found and have answered.
		ASSERT_EQ(dlopen("libfontconfig.so.1", RTLD_NOW), nullptr)
			<< "fontconfig is installed but gave no font";
		GTEST_SKIP() << "no fontconfig";
	}
	EXPECT_NE(chosen, path);
	EXPECT_NE(BPrivate::FontFace::Load(chosen.c_str(), 12), nullptr);
}

TEST_F(FontTest, WindowThreadsCanMeasureAndDrawAtTheSameTime)
{
	kxtest::Watchdog		 watchdog;
	const float				 expected = be_bold_font->StringWidth("About...");
	std::vector<std::thread> threads;
	std::vector<int>		 mismatches(4, 0);
	for (int t = 0; t < 4; t++) {
		threads.emplace_back([t, expected, &mismatches] {
			Canvas canvas(80, 20, kPaper);
			for (int i = 0; i < 50; i++) {
				BFont font(t % 2 ? be_bold_font : be_plain_font);
				font.SetSize(10 + i % 5);
				canvas.Painter().DrawString("About...", BPoint(0, 15), font,
					kInk, BPrivate::BlendState());
				if (be_bold_font->StringWidth("About...") != expected)
					mismatches[t]++;
			}
		});
	}
	for (std::thread& thread : threads)
		thread.join();
	for (int t = 0; t < 4; t++)
		EXPECT_EQ(mismatches[t], 0);
}
