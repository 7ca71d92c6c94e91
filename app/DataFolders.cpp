#include "DataFolders.h"

#include <FindDirectory.h>

#include <climits>
#include <unistd.h>


std::vector<std::string>
DataFolders()
{
	std::vector<std::string> folders;
	char					 path[PATH_MAX];
	if (getcwd(path, sizeof(path)) != NULL)
		folders.push_back(path);
	if (find_directory(B_APP_DATA_DIRECTORY, 0, false, path, sizeof(path))
			== B_OK
		&& (folders.empty() || folders[0] != path)) {
		folders.push_back(path);
	}
	return folders;
}


std::string
FolderHolding(const char* relativePath)
{
	for (const std::string& folder : DataFolders()) {
		if (access((folder + "/" + relativePath).c_str(), R_OK) == 0)
			return folder;
	}
	return std::string();
}
