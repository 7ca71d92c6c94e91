#ifndef _MESSAGE_H
#define _MESSAGE_H

#include <Point.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

// A message: a what code and named fields of typed values. A message that
// arrived through drag-and-drop also knows where it was dropped.
class BMessage {
public:
	uint32 what;

	BMessage();
	explicit BMessage(uint32 what);
	BMessage(const BMessage& other);
	BMessage& operator=(const BMessage& other);
	virtual ~BMessage();

	status_t AddInt32(const char* name, int32 value);
	status_t AddBool(const char* name, bool value);
	status_t AddPoint(const char* name, BPoint point);
	status_t AddString(const char* name, const char* string);
	status_t AddPointer(const char* name, const void* pointer);

	status_t FindInt32(const char* name, int32* value) const;
	status_t FindInt32(const char* name, int32 index, int32* value) const;
	// The value itself, or 0 when the field or the item is missing.
	int32	 FindInt32(const char* name, int32 index = 0) const;
	status_t FindBool(const char* name, bool* value) const;
	status_t FindPoint(const char* name, BPoint* point) const;
	status_t FindString(const char* name, const char** string) const;
	status_t FindPointer(const char* name, void** pointer) const;

	status_t ReplaceInt32(const char* name, int32 value);
	status_t RemoveName(const char* name);
	void	 MakeEmpty();
	bool	 IsEmpty() const;
	bool	 HasInt32(const char* name, int32 index = 0) const;
	int32	 CountNames(type_code type = 0) const;
	status_t GetInfo(
		const char* name, type_code* type, int32* count = nullptr) const;

	// Drag-and-drop: set by the platform on the message it delivers.
	bool   WasDropped() const;
	BPoint DropPoint(BPoint* offset = nullptr) const;

private:
	struct Field {
		std::string						name;
		type_code						type;
		std::vector<std::vector<uint8>> items;
	};

	status_t _Add(
		const char* name, type_code type, const void* data, size_t size);
	const std::vector<uint8>* _Find(
		const char* name, type_code type, int32 index, status_t* error) const;
	Field*			   _FieldFor(const char* name);
	const Field*	   _FieldFor(const char* name) const;

	std::vector<Field> fFields;
	bool			   fWasDropped;
	BPoint			   fDropPoint;
	BPoint			   fDropOffset;

public:
	// For the platform's drag-and-drop.
	void _SetDropInfo(BPoint dropPoint, BPoint offset);
};

#endif
