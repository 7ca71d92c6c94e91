#include <private/LaunchRendezvous.h>

#include <Roster.h>

#include <private/ResourceFile.h>
#include <private/ResourceFormat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace BPrivate {

namespace {

const char kRequest = 'A';
const char kAnswer = 'a';
// How long either side waits for the other to speak.
const int kReplyTimeoutMs = 2000;
const int kClaimAttempts = 3;

socklen_t
AbstractAddress(const std::string& name, sockaddr_un* address)
{
    memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    // The leading zero byte puts the name in the abstract namespace.
    size_t length = std::min(name.size(), sizeof(address->sun_path) - 1);
    memcpy(address->sun_path + 1, name.data(), length);
    return (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + length);
}

bool
WaitReadable(int fd, int timeoutMs)
{
    pollfd entry = { fd, POLLIN, 0 };
    int result;
    while ((result = poll(&entry, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return result > 0;
}

uint64
Fnv1a(const std::string& text)
{
    uint64 hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}   // namespace


uint32
LaunchFlagsOf(const char* executable)
{
    ResourceFile file;
    if (executable == nullptr || file.SetTo(executable) != B_OK)
        return B_MULTIPLE_LAUNCH;
    const ResourceItem* item = file.FindResource('APPF', "BEOS:APP_FLAGS");
    if (item == nullptr || item->data.size() != 4)
        return B_MULTIPLE_LAUNCH;
    return ReadLE32(item->data.data());
}


std::string
LaunchRendezvousName(const char* signature, const char* executable,
    uint32 launchFlags)
{
    std::string key = signature != nullptr ? signature : "";
    if ((launchFlags & B_LAUNCH_MASK) != B_EXCLUSIVE_LAUNCH) {
        key += '\0';
        key += executable != nullptr ? executable : "";
    }
    char name[64];
    snprintf(name, sizeof(name), "kx-launch/%u/%016llx", (unsigned)getuid(),
        (unsigned long long)Fnv1a(key));
    return name;
}


LaunchRendezvous::LaunchRendezvous()
    :
    fSocket(-1),
    fWakeFds{-1, -1}
{
}


LaunchRendezvous::~LaunchRendezvous()
{
    if (fThread.joinable()) {
        char wake = 0;
        while (write(fWakeFds[1], &wake, 1) < 0 && errno == EINTR) {
        }
        fThread.join();
    }
    if (fSocket >= 0)
        close(fSocket);
    for (int fd : fWakeFds) {
        if (fd >= 0)
            close(fd);
    }
}


launch_claim
LaunchRendezvous::Claim(const std::string& name, std::function<void()> relaunched)
{
    if (fSocket >= 0)
        return LAUNCH_CLAIMED;
    // The first copy may end between a failed bind and the connect; then
    // the name is free again.
    for (int attempt = 0; attempt < kClaimAttempts; attempt++) {
        if (_Listen(name)) {
            if (pipe2(fWakeFds, O_CLOEXEC) != 0) {
                close(fSocket);
                fSocket = -1;
                return LAUNCH_CLAIM_FAILED;
            }
            fRelaunched = std::move(relaunched);
            fThread = std::thread(&LaunchRendezvous::_Serve, this);
            return LAUNCH_CLAIMED;
        }
        if (errno != EADDRINUSE)
            return LAUNCH_CLAIM_FAILED;
        launch_claim asked = _AskRunning(name);
        if (asked != LAUNCH_CLAIM_FAILED)
            return asked;
    }
    return LAUNCH_CLAIM_FAILED;
}


bool
LaunchRendezvous::_Listen(const std::string& name)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = AbstractAddress(name, &address);
    if (bind(fd, (sockaddr*)&address, length) != 0 || listen(fd, 4) != 0) {
        int error = errno;
        close(fd);
        errno = error;
        return false;
    }
    fSocket = fd;
    return true;
}


launch_claim
LaunchRendezvous::_AskRunning(const std::string& name)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return LAUNCH_CLAIM_FAILED;
    sockaddr_un address;
    socklen_t length = AbstractAddress(name, &address);
    launch_claim result = LAUNCH_CLAIM_FAILED;
    if (connect(fd, (sockaddr*)&address, length) == 0
        && send(fd, &kRequest, 1, MSG_NOSIGNAL) == 1) {
        // The name is held either way; the answer only says the request
        // was taken, so a silent holder still means "already running".
        result = LAUNCH_ALREADY_RUNNING;
        char answer;
        if (WaitReadable(fd, kReplyTimeoutMs))
            (void)!read(fd, &answer, 1);
    }
    close(fd);
    return result;
}


void
LaunchRendezvous::_Serve()
{
    for (;;) {
        pollfd entries[2] = { { fSocket, POLLIN, 0 }, { fWakeFds[0], POLLIN, 0 } };
        if (poll(entries, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (entries[1].revents != 0)
            return;
        int client = accept4(fSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        // The abstract namespace is shared by all users; only the same
        // user may bring the window forward.
        ucred peer;
        socklen_t peerSize = sizeof(peer);
        char request = 0;
        if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) == 0
            && peer.uid == getuid() && WaitReadable(client, kReplyTimeoutMs)
            && read(client, &request, 1) == 1 && request == kRequest) {
            if (fRelaunched)
                fRelaunched();
            send(client, &kAnswer, 1, MSG_NOSIGNAL);
        }
        close(client);
    }
}

}   // namespace BPrivate
