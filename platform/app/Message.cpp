#include <Message.h>

#include <cstring>

BMessage::BMessage() :
	what(0),
	fWasDropped(false)
{ }

BMessage::BMessage(uint32 what_) :
	what(what_),
	fWasDropped(false)
{ }

BMessage::BMessage(const BMessage& other) = default;

BMessage& BMessage::operator=(const BMessage& other) = default;

BMessage::~BMessage() = default;

BMessage::Field*
BMessage::_FieldFor(const char* name)
{
	if (name == nullptr)
		return nullptr;
	for (Field& field : fFields) {
		if (field.name == name)
			return &field;
	}
	return nullptr;
}

const BMessage::Field*
BMessage::_FieldFor(const char* name) const
{
	return const_cast<BMessage*>(this)->_FieldFor(name);
}

status_t
BMessage::_Add(const char* name, type_code type, const void* data, size_t size)
{
	if (name == nullptr || name[0] == '\0')
		return B_BAD_VALUE;
	Field* field = _FieldFor(name);
	if (field == nullptr) {
		fFields.push_back(Field { name, type, {} });
		field = &fFields.back();
	} else if (field->type != type) {
		return B_BAD_TYPE;
	}
	const uint8* bytes = static_cast<const uint8*>(data);
	field->items.emplace_back(bytes, bytes + size);
	return B_OK;
}

const std::vector<uint8>*
BMessage::_Find(
	const char* name, type_code type, int32 index, status_t* error) const
{
	const Field* field = _FieldFor(name);
	if (field == nullptr) {
		*error = B_NAME_NOT_FOUND;
		return nullptr;
	}
	if (field->type != type) {
		*error = B_BAD_TYPE;
		return nullptr;
	}
	if (index < 0 || index >= (int32)field->items.size()) {
		*error = B_BAD_INDEX;
		return nullptr;
	}
	*error = B_OK;
	return &field->items[index];
}

status_t
BMessage::AddInt32(const char* name, int32 value)
{
	return _Add(name, B_INT32_TYPE, &value, sizeof(value));
}

status_t
BMessage::AddBool(const char* name, bool value)
{
	uint8 byte = value ? 1 : 0;
	return _Add(name, 'BOOL', &byte, 1);
}

status_t
BMessage::AddPoint(const char* name, BPoint point)
{
	float xy[2] = { point.x, point.y };
	return _Add(name, B_POINT_TYPE, xy, sizeof(xy));
}

status_t
BMessage::AddString(const char* name, const char* string)
{
	if (string == nullptr)
		return B_BAD_VALUE;
	return _Add(name, B_STRING_TYPE, string, strlen(string) + 1);
}

status_t
BMessage::AddPointer(const char* name, const void* pointer)
{
	return _Add(name, 'PNTR', &pointer, sizeof(pointer));
}

status_t
BMessage::FindInt32(const char* name, int32* value) const
{
	return FindInt32(name, 0, value);
}

status_t
BMessage::FindInt32(const char* name, int32 index, int32* value) const
{
	status_t				  error;
	const std::vector<uint8>* item = _Find(name, B_INT32_TYPE, index, &error);
	if (item != nullptr && value != nullptr)
		memcpy(value, item->data(), sizeof(int32));
	return error;
}

int32
BMessage::FindInt32(const char* name, int32 index) const
{
	int32 value = 0;
	if (FindInt32(name, index, &value) != B_OK)
		return 0;
	return value;
}

status_t
BMessage::FindBool(const char* name, bool* value) const
{
	status_t				  error;
	const std::vector<uint8>* item = _Find(name, 'BOOL', 0, &error);
	if (item != nullptr && value != nullptr)
		*value = (*item)[0] != 0;
	return error;
}

status_t
BMessage::FindPoint(const char* name, BPoint* point) const
{
	status_t				  error;
	const std::vector<uint8>* item = _Find(name, B_POINT_TYPE, 0, &error);
	if (item != nullptr && point != nullptr) {
		float xy[2];
		memcpy(xy, item->data(), sizeof(xy));
		point->Set(xy[0], xy[1]);
	}
	return error;
}

status_t
BMessage::FindString(const char* name, const char** string) const
{
	status_t				  error;
	const std::vector<uint8>* item = _Find(name, B_STRING_TYPE, 0, &error);
	if (item != nullptr && string != nullptr)
		*string = reinterpret_cast<const char*>(item->data());
	return error;
}

status_t
BMessage::FindPointer(const char* name, void** pointer) const
{
	status_t				  error;
	const std::vector<uint8>* item = _Find(name, 'PNTR', 0, &error);
	if (item != nullptr && pointer != nullptr)
		memcpy(pointer, item->data(), sizeof(void*));
	return error;
}

status_t
BMessage::ReplaceInt32(const char* name, int32 value)
{
	Field* field = _FieldFor(name);
	if (field == nullptr)
		return B_NAME_NOT_FOUND;
	if (field->type != B_INT32_TYPE)
		return B_BAD_TYPE;
	memcpy(field->items[0].data(), &value, sizeof(value));
	return B_OK;
}

status_t
BMessage::RemoveName(const char* name)
{
	for (auto it = fFields.begin(); it != fFields.end(); ++it) {
		if (name != nullptr && it->name == name) {
			fFields.erase(it);
			return B_OK;
		}
	}
	return B_NAME_NOT_FOUND;
}

void
BMessage::MakeEmpty()
{
	fFields.clear();
}

bool
BMessage::IsEmpty() const
{
	return fFields.empty();
}

bool
BMessage::HasInt32(const char* name, int32 index) const
{
	return FindInt32(name, index, nullptr) == B_OK;
}

int32
BMessage::CountNames(type_code type) const
{
	int32 count = 0;
	for (const Field& field : fFields) {
		if (type == 0 || field.type == type)
			count++;
	}
	return count;
}

status_t
BMessage::GetInfo(const char* name, type_code* type, int32* count) const
{
	const Field* field = _FieldFor(name);
	if (field == nullptr)
		return B_NAME_NOT_FOUND;
	if (type != nullptr)
		*type = field->type;
	if (count != nullptr)
		*count = (int32)field->items.size();
	return B_OK;
}

bool
BMessage::WasDropped() const
{
	return fWasDropped;
}

BPoint
BMessage::DropPoint(BPoint* offset) const
{
	if (offset != nullptr)
		*offset = fDropOffset;
	return fDropPoint;
}

void
BMessage::_SetDropInfo(BPoint dropPoint, BPoint offset)
{
	fWasDropped = true;
	fDropPoint = dropPoint;
	fDropOffset = offset;
}
