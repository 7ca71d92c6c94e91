#include <Catalog.h>

#include <private/CatalogFolder.h>

#include "locale/CatalogFile.h"

#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <libintl.h>
#include <system_error>

// Set by the build: the installation's locale folder as seen from the
// folder of the executable, e.g. "../share/locale".
#ifndef KX_LOCALE_FROM_BINDIR
#define KX_LOCALE_FROM_BINDIR "../share/locale"
#endif

namespace fs = std::filesystem;

namespace {

// The build writes its catalogues here, beside the programs it links, so
// that a program started from the build tree speaks the languages just
// built. An installation has no such folder beside its programs (a file of
// that name, such as /usr/bin/locale, does not count).
std::string
CatalogFolderFor(const fs::path& executable)
{
	std::error_code error;
	fs::path		folder = executable.parent_path();
	if (fs::is_directory(folder / "locale", error))
		return (folder / "locale").string();
	return (folder / KX_LOCALE_FROM_BINDIR).lexically_normal().string();
}

} // namespace


namespace BPrivate {

void
OpenCatalogIn(const char* name, const char* folder)
{
	// Only the language of the messages. Numbers keep their C form, so
	// that output meant for other programs reads the same in every
	// language, and so does the character set, in which the display layer
	// hands the window titles to the desktop.
	setlocale(LC_MESSAGES, "");
	for (const std::string& file : CatalogFilesFor(folder, name)) {
		if (!CatalogIsSound(file)) {
			fprintf(stderr,
				"%s: the catalogue %s is damaged, so the texts stay in "
				"English; reinstall the game to mend it\n",
				program_invocation_short_name, file.c_str());
			return;
		}
	}
	bindtextdomain(name, folder);
	// The texts are drawn and printed as UTF-8 whatever the locale's
	// character set is.
	bind_textdomain_codeset(name, "UTF-8");
	textdomain(name);
}

} // namespace BPrivate


void
open_catalog(const char* name)
{
	std::error_code error;
	fs::path		executable = fs::read_symlink("/proc/self/exe", error);
	if (error)
		return;
	BPrivate::OpenCatalogIn(name, CatalogFolderFor(executable).c_str());
}


const char*
translated_text(const char* text)
{
	// The catalogue keeps its own header under the empty text.
	if (text == nullptr || text[0] == '\0')
		return text;
	return gettext(text);
}


std::string
format_text(const char* format, ...)
{
	va_list arguments;
	va_start(arguments, format);
	va_list again;
	va_copy(again, arguments);
	int length = vsnprintf(nullptr, 0, format, arguments);
	va_end(arguments);
	std::string text;
	if (length > 0) {
		text.resize(length);
		vsnprintf(text.data(), length + 1, format, again);
	}
	va_end(again);
	return text;
}
