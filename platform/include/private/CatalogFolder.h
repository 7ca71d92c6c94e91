#ifndef _KX_CATALOG_FOLDER_H
#define _KX_CATALOG_FOLDER_H

// Opening the program's catalogues from a folder of the caller's choice, for
// tests that bring catalogues of their own.

namespace BPrivate {

// open_catalog() with the catalogues looked up in `folder`, which holds
// LL/LC_MESSAGES/<name>.mo for each language.
void OpenCatalogIn(const char* name, const char* folder);

} // namespace BPrivate

#endif
