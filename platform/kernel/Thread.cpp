// Kernel threads over the standard library's threads. A spawned thread is
// created suspended and starts its function only after resume_thread(); its
// record stays known until the thread has ended, so that wait_for_thread()
// on an ended or unknown id returns at once.

#include <OS.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

struct ThreadRecord {
	thread_id				id = -1;
	std::string				name;
	thread_func				function = nullptr;
	void*					data = nullptr;
	std::mutex				lock;
	std::condition_variable changed;
	bool					resumed = false;
	bool					ended = false;
	status_t				exitValue = 0;
};

std::atomic<thread_id> sNextId { 1 };
std::mutex			   sRegistryLock;
std::map<thread_id, std::shared_ptr<ThreadRecord>>&
Registry()
{
	static auto* registry =
		new std::map<thread_id, std::shared_ptr<ThreadRecord>>;
	return *registry;
}

thread_local thread_id tCurrentId = -1;

std::shared_ptr<ThreadRecord>
Lookup(thread_id id)
{
	std::lock_guard<std::mutex> guard(sRegistryLock);
	auto						it = Registry().find(id);
	if (it == Registry().end())
		return nullptr;
	return it->second;
}

void
RunThread(std::shared_ptr<ThreadRecord> record)
{
	tCurrentId = record->id;
	{
		std::unique_lock<std::mutex> guard(record->lock);
		record->changed.wait(guard, [&] { return record->resumed; });
	}
	status_t result = record->function(record->data);
	{
		std::lock_guard<std::mutex> guard(sRegistryLock);
		Registry().erase(record->id);
	}
	std::lock_guard<std::mutex> guard(record->lock);
	record->exitValue = result;
	record->ended = true;
	record->changed.notify_all();
}

} // namespace

thread_id
spawn_thread(
	thread_func function, const char* name, int32 /*priority*/, void* data)
{
	if (function == nullptr)
		return B_BAD_VALUE;
	auto record = std::make_shared<ThreadRecord>();
	record->id = sNextId++;
	record->name = name != nullptr ? name : "";
	record->function = function;
	record->data = data;
	{
		std::lock_guard<std::mutex> guard(sRegistryLock);
		Registry()[record->id] = record;
	}
	try {
		std::thread(RunThread, record).detach();
	} catch (const std::system_error&) {
		std::lock_guard<std::mutex> guard(sRegistryLock);
		Registry().erase(record->id);
		return B_NO_MEMORY;
	}
	return record->id;
}

status_t
resume_thread(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = Lookup(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	std::lock_guard<std::mutex> guard(record->lock);
	if (record->resumed)
		return B_BAD_THREAD_STATE;
	record->resumed = true;
	record->changed.notify_all();
	return B_OK;
}

status_t
wait_for_thread(thread_id thread, status_t* exitValue)
{
	std::shared_ptr<ThreadRecord> record = Lookup(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	if (record->id == find_thread(nullptr))
		return B_BAD_THREAD_ID;
	std::unique_lock<std::mutex> guard(record->lock);
	// Waiting for a suspended thread starts it, as on the original platform.
	if (!record->resumed) {
		record->resumed = true;
		record->changed.notify_all();
	}
	record->changed.wait(guard, [&] { return record->ended; });
	if (exitValue != nullptr)
		*exitValue = record->exitValue;
	return B_OK;
}

thread_id
find_thread(const char* name)
{
	if (name == nullptr) {
		if (tCurrentId < 0)
			tCurrentId = sNextId++;
		return tCurrentId;
	}
	std::lock_guard<std::mutex> guard(sRegistryLock);
	for (const auto& [id, record] : Registry()) {
		if (record->name == name)
			return id;
	}
	return B_NAME_NOT_FOUND;
}
