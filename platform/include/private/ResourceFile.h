#ifndef _KX_RESOURCE_FILE_H
#define _KX_RESOURCE_FILE_H

// Reads the resource block of an executable (appended after its ELF image),
// of a resource file ("RS" header) or of a bare block, and checks it before
// handing out any of its resources. Only little-endian blocks are read.

#include <SupportDefs.h>

#include <string>
#include <vector>

namespace BPrivate {

struct ResourceItem {
	type_code		   type;
	int32			   id;
	std::string		   name;
	std::vector<uint8> data;
};

class ResourceFile {
public:
	ResourceFile();

	// Reads and checks the file at `path`. B_OK also for an executable that
	// carries no block: it simply has no resources.
	status_t	SetTo(const char* path);
	// The same for file contents already in memory; `name` is used in
	// error texts only.
	status_t	SetTo(const uint8* bytes, size_t size, const char* name);

	status_t	InitCheck() const;
	// Why the last SetTo failed, naming the file; empty after success.
	const char* ErrorText() const;

	// Where the block starts in the file; only meaningful with resources.
	uint64		BlockOffset() const;

	int32		CountResources() const;
	const ResourceItem* ResourceAt(int32 index) const;
	const ResourceItem* FindResource(type_code type, const char* name) const;
	const ResourceItem* FindResource(type_code type, int32 id) const;

private:
	status_t	_Fail(status_t status, const std::string& why);
	status_t	_LocateBlock(const uint8* bytes, size_t size, uint64* offset);
	status_t	_ReadBlock(const uint8* block, size_t size);
	status_t	_ReadInfoTable(const uint8* table, size_t size,
		   const std::vector<uint64>& offsets, const std::vector<uint64>& sizes,
		   const uint8* block);

	status_t	fStatus;
	std::string fName;
	std::string fErrorText;
	uint64		fBlockOffset;
	std::vector<ResourceItem> fItems;
};

} // namespace BPrivate

#endif
