#ifndef _CATALOG_H
#define _CATALOG_H

// The program's texts in the user's language. The English text in the
// source is the key and the fallback: without a catalogue for the language,
// with a damaged one, or under the C locale, every text stays as written.
//
// Each text that a user sees is marked with one of the macros below, so
// that the catalogue template can be collected from the sources; a comment
// starting "TRANSLATORS:" just above the mark goes to the translators.

#include <string>

// Takes the language from the environment (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG) and opens the catalogue `name`.mo: from the folder locale/ beside
// the program when it runs in the build tree, else from the installation's
// share/locale. Numbers and dates keep the C formats, as the program's
// machine-readable output needs. Called once at the start of main, before
// any other thread runs.
void		open_catalog(const char* name);

// The text in the user's language, or `text` itself.
const char* translated_text(const char* text) __attribute__((format_arg(1)));

// printf into a string, for translated texts with arguments. The catalogue
// compiler checks that a translation keeps the arguments of its text.
std::string format_text(const char* format, ...)
	__attribute__((format(printf, 1, 2)));

// A text that is collected into the catalogue and looked up where it is.
#define B_TRANSLATE(text) translated_text(text)
// A text that is collected only, for a table whose entries are looked up
// where they are used, with B_TRANSLATE_NOCOLLECT.
#define B_TRANSLATE_MARK(text) (text)
#define B_TRANSLATE_NOCOLLECT(text) translated_text(text)

#endif
