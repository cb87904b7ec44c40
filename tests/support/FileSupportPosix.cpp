#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <fstream>

#include "support/FileSupport.h"

namespace support {
namespace {

// Forks; the child makes its setting and runs the work, and its exit code says whether the test's checks held there.
std::string inChild(const std::function<std::string()>& setUp, const std::function<void()>& work) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return "cannot fork";
    if (child == 0) {
        const std::string failure = setUp();
        if (!failure.empty()) {
            std::fprintf(stderr, "child set-up failed: %s: %s\n", failure.c_str(), std::strerror(errno));
            std::fflush(nullptr);
            _exit(3);
        }
        try {
            work();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "the child's work threw: " << error.what();
        }
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) continue;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child's part failed (" << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ")";
    return "";
}

}  // namespace

void makeSparseFile(const std::string& name, unsigned long long size) {
    std::ofstream(name, std::ios_base::binary | std::ios_base::app).close();
    if (truncate(name.c_str(), static_cast<off_t>(size)) != 0) ADD_FAILURE() << "cannot extend " << name;
}

void setTimeZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

std::string nullDevice() { return "/dev/null"; }
std::string fullDevice() {
    struct stat status;
    return stat("/dev/full", &status) == 0 ? "/dev/full" : "";
}

bool makeFifo(const std::string& name) { return mkfifo(name.c_str(), 0666) == 0; }
bool makeSocket(const std::string& name) {
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (name.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = socket >= 0 && bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (socket >= 0) close(socket);  // the name stays
    return bound;
}

std::string asSecondUser(const std::vector<std::string>& givenFiles, const std::function<void()>& work) {
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || nobody == nullptr) return "becoming the user nobody needs root and that user";
    const uid_t user = nobody->pw_uid;
    const gid_t group = nobody->pw_gid;
    for (const std::string& file : givenFiles) {
        if (chown(file.c_str(), user, group) != 0) return "cannot give " + file + " to nobody";
    }
    return inChild(
        [&]() -> std::string {
            return setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0 ? "becoming nobody" : "";
        },
        work);
}

std::string onSmallDisk(const std::string& mountPoint, unsigned int bytes, const std::function<void()>& work) {
    if (geteuid() != 0) return "mounting a small file system needs root";
    return inChild(
        [&]() -> std::string {
            if (unshare(CLONE_NEWNS) != 0) return "unshare";
            if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return "private mounts";
            const std::string options = "size=" + std::to_string(bytes);
            if (mount("quen-test", mountPoint.c_str(), "tmpfs", 0, options.c_str()) != 0) return "mount";
            return "";
        },
        work);
}

bool whileHeld(const std::string&, bool, const std::function<void()>&) { return false; }
HangGuard::HangGuard(unsigned int seconds) { alarm(seconds); }
HangGuard::~HangGuard() { alarm(0); }

}  // namespace support
