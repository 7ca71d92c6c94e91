#ifndef DATA_FOLDERS_H
#define DATA_FOLDERS_H

#include <string>
#include <vector>


// The folders that the game's data files (the pictures in bmp/ and the
// manual) are looked up in, in order: the current working directory, then
// the folder the installation keeps them in. Empty entries are left out.
std::vector<std::string> DataFolders();

// The first folder of DataFolders() that holds `relativePath`, or an
// empty string.
std::string				 FolderHolding(const char* relativePath);

#endif // DATA_FOLDERS_H
