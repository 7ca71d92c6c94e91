// Takes the single-launch rendezvous of a program before it starts, the way
// a hostile or broken process could, and then misbehaves as asked:
//   deaf     listens but never accepts
//   silent   accepts and never answers
//   wrong    accepts and answers with the wrong words
//   foreign  (as root) listens as user nobody and answers like the game
// Usage: kx_launch_squatter MODE SIGNATURE EXECUTABLE
// Prints "ready" once it holds the rendezvous; runs until it is killed.

#include <Roster.h>

#include <private/LaunchRendezvous.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

int
Fail(const char* what)
{
	fprintf(stderr, "kx_launch_squatter: %s: %s\n", what, strerror(errno));
	return 1;
}

} // namespace


int
main(int argc, char** argv)
{
	if (argc != 4) {
		fprintf(stderr,
			"usage: kx_launch_squatter deaf|silent|wrong|foreign"
			" SIGNATURE EXECUTABLE\n");
		return 2;
	}
	std::string mode = argv[1];
	std::string name =
		BPrivate::LaunchRendezvousName(argv[2], argv[3], B_SINGLE_LAUNCH);
	std::string folder = BPrivate::LaunchRendezvousDirectory();
	if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
		return Fail(folder.c_str());

	// Both the lock and the socket, so that the game has to ask.
	int lock =
		open((name + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
	if (lock < 0 || flock(lock, LOCK_EX | LOCK_NB) != 0)
		return Fail("lock");
	int			fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	strncpy(address.sun_path, name.c_str(), sizeof(address.sun_path) - 1);
	unlink(name.c_str());
	if (fd < 0 || bind(fd, (sockaddr*)&address, sizeof(address)) != 0)
		return Fail("bind");
	// The peer's credentials are those in force when it begins to listen.
	if (mode == "foreign"
		&& (setresgid(65534, 65534, 65534) != 0
			|| setresuid(65534, 65534, 65534) != 0))
		return Fail("becoming nobody");
	if (listen(fd, mode == "deaf" ? 0 : 4) != 0)
		return Fail("listen");
	printf("ready\n");
	fflush(stdout);

	for (;;) {
		if (mode == "deaf") {
			pause();
			continue;
		}
		int client = accept(fd, nullptr, nullptr);
		if (client < 0)
			continue;
		// Reads whatever the client sends, for up to a second.
		pollfd entry = { client, POLLIN, 0 };
		char   buffer[64];
		if (poll(&entry, 1, 1000) > 0)
			(void)!read(client, buffer, sizeof(buffer));
		if (mode == "wrong")
			(void)!write(client, "kx-launch 1: going!\n", 20);
		else if (mode == "foreign")
			(void)!write(client, "kx-launch 1: coming\n", 20);
		// The silent one keeps its client waiting.
		if (mode != "silent")
			close(client);
	}
}
