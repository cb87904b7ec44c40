// Named events over shared memory and futexes, and the process's handle table.
#include "quen/platform/posix/Events.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/futex.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "quen/platform/posix/Errors.h"

namespace {

// The event's state is a 32-bit futex word (and, for manual reset, a count
// of sets), so that no lock is ever held in shared memory: a process killed
// while holding one would leave it held. Bit 31: signalled. Bits 16-30:
// waiters registered and not yet released. Bits 0-15: releases handed to
// waiters that have not yet taken them. A SetEvent on an auto-reset event
// that finds waiters hands a release to one of them and leaves the event
// unsignalled, as Windows releases a waiting thread at the moment of the
// call; a waiter that times out takes a release if one is there, otherwise
// withdraws. A waiter killed while registered leaves its registration: the
// release a later SetEvent hands it goes to the next wait that sleeps.
constexpr std::uint32_t signalledBit = 0x80000000u;
constexpr std::uint32_t oneWaiter = 0x00010000u;
constexpr std::uint32_t waiterMask = 0x7FFF0000u;
constexpr std::uint32_t releaseMask = 0x0000FFFFu;
constexpr std::uint32_t segmentMagic = 0x51455631u;  // "QEV1"

std::uint32_t waitersOf(std::uint32_t word) {
    return (word & waiterMask) >> 16;
}

struct SharedEvent {
    std::atomic<std::uint32_t> word;
    // Manual reset: every SetEvent counts on, and a waiter leaves when the
    // count moved since it began (so a ResetEvent right after does not keep
    // it waiting). Its waiters in the word are only a hint of whom to wake.
    std::atomic<std::uint32_t> sets;
    std::uint32_t manualReset;
    std::uint32_t magic;
    std::uint32_t nameLength;
    char name[MAX_PATH + 16];
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "the futex word must be a plain word");

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

class EventObject : public KernelObject {
public:
    SharedEvent* shared = nullptr;
    bool processPrivate = true;
    int descriptor = -1;  // the segment, holding our shared flock
    std::string segment;  // its shm name
    std::string lockName;
    ~EventObject() override;
};

// ---- futex ----------------------------------------------------------------

int futexOperation(const EventObject& event, int operation) {
    return event.processPrivate ? (operation | FUTEX_PRIVATE_FLAG) : operation;
}

void futexWake(const EventObject& event, std::atomic<std::uint32_t>& word, int count) {
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), futexOperation(event, FUTEX_WAKE), count, nullptr,
            nullptr, 0);
}

void futexWait(const EventObject& event, std::atomic<std::uint32_t>& word, std::uint32_t expected,
               const timespec* timeout) {
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), futexOperation(event, FUTEX_WAIT), expected,
            timeout, nullptr, 0);
}

// ---- handle table ----------------------------------------------------------

// Handles are small multiples of 4, as Windows hands them out; a closed
// handle's slot is used again.
struct HandleTable {
    std::mutex mutex;
    std::vector<std::shared_ptr<KernelObject>> slots;
};

HandleTable& handles() {
    static HandleTable* table = new HandleTable;  // outlives every other static object
    return *table;
}

HANDLE addHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& table = handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    std::size_t index = 0;
    while (index < table.slots.size() && table.slots[index]) {
        ++index;
    }
    if (index == table.slots.size()) {
        table.slots.emplace_back();
    }
    table.slots[index] = std::move(object);
    return reinterpret_cast<HANDLE>((index + 1) * 4);
}

bool slotOf(HANDLE handle, std::size_t& index) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == 0 || value % 4 != 0) {
        return false;
    }
    index = value / 4 - 1;
    return true;
}

std::shared_ptr<EventObject> eventOf(HANDLE handle) {
    HandleTable& table = handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    std::size_t index = 0;
    if (!slotOf(handle, index) || index >= table.slots.size()) {
        return nullptr;
    }
    return std::dynamic_pointer_cast<EventObject>(table.slots[index]);
}

// ---- names -----------------------------------------------------------------

// Serialises the creation and the last close of named events between
// processes. A flock, so that a process that dies holding it releases it.
class NamespaceLock {
public:
    explicit NamespaceLock(const std::string& name, mode_t mode) {
        descriptor_ = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
        if (descriptor_ < 0) {
            return;
        }
        fchmod(descriptor_, mode);  // whatever the umask
        while (flock(descriptor_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(descriptor_);
                descriptor_ = -1;
                return;
            }
        }
    }
    ~NamespaceLock() {
        if (descriptor_ >= 0) {
            close(descriptor_);  // releases the lock
        }
    }
    NamespaceLock(const NamespaceLock&) = delete;
    NamespaceLock& operator=(const NamespaceLock&) = delete;
    bool held() const { return descriptor_ >= 0; }

private:
    int descriptor_ = -1;
};

struct SegmentName {
    std::string object;  // the name within its namespace
    std::string segment;
    std::string lock;
    mode_t mode;
};

// The shm names for an event name: the namespace's prefix and the name with
// every byte beyond [A-Za-z0-9._-] written as %XX. Names too long for a file
// name are shortened to a hash; the segment keeps the whole name, so that a
// clash is noticed.
bool segmentNameOf(const char* name, SegmentName& result) {
    std::string prefix = "/quen-" + std::to_string(static_cast<unsigned long>(getuid()));
    result.mode = 0600;
    if (std::strncmp(name, "Global\\", 7) == 0) {
        name += 7;
        prefix = "/quen-global";
        result.mode = 0666;
    } else if (std::strncmp(name, "Local\\", 6) == 0) {
        name += 6;
    }
    if (std::strchr(name, '\\') != nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    result.object = name;
    std::string encoded;
    for (const char* c = name; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            byte == '.' || byte == '_' || byte == '-') {
            encoded += *c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            encoded += hex;
        }
    }
    if (encoded.size() > 180) {
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const char* c = name; *c != '\0'; ++c) {
            hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
        }
        char hex[20];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        encoded = encoded.substr(0, 100) + "~" + hex;
    }
    result.segment = prefix + "-event-" + encoded;
    result.lock = prefix + "-events.lock";
    return true;
}

// Removes the segments of a namespace that nobody holds: those of processes
// killed while they held an event, whose names no later creator reused. Run
// with the namespace locked, so that no process is between opening a
// segment and locking it.
void sweepNamespace(const std::string& segmentPrefix) {
    DIR* directory = opendir("/dev/shm");
    if (directory == nullptr) {
        return;
    }
    const std::string prefix = segmentPrefix.substr(1);  // without the leading '/'
    while (const dirent* entry = readdir(directory)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) {
            continue;
        }
        const std::string segment = std::string("/") + entry->d_name;
        const int descriptor = shm_open(segment.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (descriptor < 0) {
            continue;
        }
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            shm_unlink(segment.c_str());
        }
        close(descriptor);
    }
    closedir(directory);
}

HANDLE openNamed(const char* name, bool create, bool manualReset, bool initialState) {
    if (std::strlen(name) > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    SegmentName names;
    if (!segmentNameOf(name, names)) {
        return nullptr;
    }
    std::shared_ptr<EventObject> event;
    try {
        event = std::make_shared<EventObject>();
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    event->processPrivate = false;
    event->segment = names.segment;
    event->lockName = names.lock;

    bool created = false;
    {
        const NamespaceLock lock(names.lock, names.mode);
        if (!lock.held()) {
            quen::posix::setLastErrorFromErrno();
            return nullptr;
        }
        if (create) {
            sweepNamespace(names.segment.substr(0, names.segment.find("-event-") + 7));
        }
        const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
        const int descriptor = shm_open(names.segment.c_str(), flags, names.mode);
        if (descriptor < 0) {
            if (errno == ENOENT) {
                SetLastError(ERROR_FILE_NOT_FOUND);
            } else {
                quen::posix::setLastErrorFromErrno();
            }
            return nullptr;
        }
        // No lock held on the segment: nobody holds the event, and whatever
        // the segment holds was left by processes that have gone.
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            if (!create) {
                shm_unlink(names.segment.c_str());
                close(descriptor);
                SetLastError(ERROR_FILE_NOT_FOUND);
                return nullptr;
            }
            if (ftruncate(descriptor, 0) != 0 || ftruncate(descriptor, sizeof(SharedEvent)) != 0) {
                quen::posix::setLastErrorFromErrno();
                close(descriptor);
                return nullptr;
            }
            fchmod(descriptor, names.mode);
            created = true;
        }
        struct stat status;
        void* memory = MAP_FAILED;
        if (flock(descriptor, LOCK_SH | LOCK_NB) == 0 && fstat(descriptor, &status) == 0 &&
            status.st_size >= static_cast<off_t>(sizeof(SharedEvent))) {
            memory = mmap(nullptr, sizeof(SharedEvent), PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
        }
        if (memory == MAP_FAILED) {
            quen::posix::setLastErrorFromErrno();
            close(descriptor);
            return nullptr;
        }
        event->descriptor = descriptor;
        event->shared = static_cast<SharedEvent*>(memory);
        SharedEvent& shared = *event->shared;
        const std::size_t length = names.object.size();
        if (created) {
            shared.word.store(initialState ? signalledBit : 0u);
            shared.sets.store(0);
            shared.manualReset = manualReset ? 1u : 0u;
            shared.nameLength = static_cast<std::uint32_t>(length);
            std::memcpy(shared.name, names.object.c_str(), length + 1);
            shared.magic = segmentMagic;
        } else if (shared.magic != segmentMagic || shared.nameLength != length ||
                   std::memcmp(shared.name, names.object.data(), length) != 0) {
            // Another object holds the name (or its hash): Windows' answer
            // for a name taken by an object of another kind. (Released here,
            // as the destructor would wait for the lock we hold.)
            munmap(event->shared, sizeof(SharedEvent));
            close(descriptor);
            event->shared = nullptr;
            event->descriptor = -1;
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    HANDLE handle = addHandle(event);
    SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return handle;
}

EventObject::~EventObject() {
    if (processPrivate) {
        delete shared;
        return;
    }
    if (shared == nullptr && descriptor < 0) {
        return;
    }
    const NamespaceLock lock(lockName, 0600);
    if (shared != nullptr) {
        munmap(shared, sizeof(SharedEvent));
    }
    if (descriptor >= 0) {
        // The last holder takes the name away; a later creator makes a new
        // event even if this fails, since no lock is then held on it.
        if (lock.held() && flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            shm_unlink(segment.c_str());
        }
        close(descriptor);
    }
}

// The time left until the deadline; false when it has passed.
bool remainingUntil(const timespec& deadline, timespec& remaining) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    remaining.tv_sec = deadline.tv_sec - now.tv_sec;
    remaining.tv_nsec = deadline.tv_nsec - now.tv_nsec;
    if (remaining.tv_nsec < 0) {
        remaining.tv_sec -= 1;
        remaining.tv_nsec += 1000000000L;
    }
    return remaining.tv_sec >= 0;
}

timespec deadlineAfter(DWORD milliseconds) {
    timespec deadline = {0, 0};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

DWORD waitForManual(EventObject& event, DWORD milliseconds) {
    std::atomic<std::uint32_t>& word = event.shared->word;
    std::atomic<std::uint32_t>& sets = event.shared->sets;
    if ((word.load() & signalledBit) != 0) {
        return WAIT_OBJECT_0;
    }
    if (milliseconds == 0) {
        return WAIT_TIMEOUT;
    }
    const std::uint32_t setsSeen = sets.load();
    word.fetch_add(oneWaiter);
    const timespec deadline = deadlineAfter(milliseconds == INFINITE ? 0 : milliseconds);
    DWORD result = WAIT_TIMEOUT;
    for (;;) {
        if ((word.load() & signalledBit) != 0 || sets.load() != setsSeen) {
            result = WAIT_OBJECT_0;
            break;
        }
        timespec remaining = {0, 0};
        if (milliseconds != INFINITE && !remainingUntil(deadline, remaining)) {
            break;
        }
        futexWait(event, sets, setsSeen, milliseconds == INFINITE ? nullptr : &remaining);
    }
    word.fetch_sub(oneWaiter);
    return result;
}

DWORD waitFor(EventObject& event, DWORD milliseconds) {
    const bool manual = event.shared->manualReset != 0;
    if (manual) {
        return waitForManual(event, milliseconds);
    }
    std::atomic<std::uint32_t>& word = event.shared->word;
    std::uint32_t value = word.load();
    for (;;) {
        if ((value & signalledBit) != 0) {
            if (word.compare_exchange_weak(value, value & ~signalledBit)) {
                return WAIT_OBJECT_0;
            }
            continue;
        }
        if (milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        if (waitersOf(value) == (waiterMask >> 16)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return WAIT_FAILED;
        }
        if (word.compare_exchange_weak(value, value + oneWaiter)) {
            break;
        }
    }

    const timespec deadline = deadlineAfter(milliseconds == INFINITE ? 0 : milliseconds);
    for (;;) {
        value = word.load();
        if ((value & releaseMask) != 0) {
            if (word.compare_exchange_weak(value, value - 1)) {
                return WAIT_OBJECT_0;
            }
            continue;
        }
        timespec remaining = {0, 0};
        if (milliseconds != INFINITE && !remainingUntil(deadline, remaining)) {
            // Time is up: take a release that came meanwhile, or withdraw.
            for (;;) {
                const std::uint32_t next = (value & releaseMask) != 0 ? value - 1 : value - oneWaiter;
                if (word.compare_exchange_weak(value, next)) {
                    return (value & releaseMask) != 0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
                }
            }
        }
        futexWait(event, word, value, milliseconds == INFINITE ? nullptr : &remaining);
    }
}

}  // namespace

extern "C" {

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
    if (name != nullptr && *name != '\0') {
        return openNamed(name, true, manualReset != FALSE, initialState != FALSE);
    }
    std::shared_ptr<EventObject> event;
    try {
        event = std::make_shared<EventObject>();
        event->shared = new SharedEvent();
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    event->shared->word.store(initialState ? signalledBit : 0u);
    event->shared->manualReset = manualReset ? 1u : 0u;
    HANDLE handle = addHandle(event);
    SetLastError(ERROR_SUCCESS);
    return handle;
}

HANDLE WINAPI OpenEventA(DWORD, BOOL, LPCSTR name) {
    if (name == nullptr || *name == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return openNamed(name, false, false, false);
}

BOOL WINAPI SetEvent(HANDLE handle) {
    const std::shared_ptr<EventObject> event = eventOf(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::atomic<std::uint32_t>& word = event->shared->word;
    if (event->shared->manualReset != 0) {
        const std::uint32_t before = word.fetch_or(signalledBit);
        event->shared->sets.fetch_add(1);
        if (waitersOf(before) > 0) {
            futexWake(*event, event->shared->sets, INT_MAX);
        }
        return TRUE;
    }
    std::uint32_t value = word.load();
    for (;;) {
        const std::uint32_t waiters = waitersOf(value);
        // With waiters, one of them is released and the event stays unsignalled.
        const std::uint32_t next = waiters > 0 ? value - oneWaiter + 1 : value | signalledBit;
        if (word.compare_exchange_weak(value, next)) {
            if (waiters > 0) {
                futexWake(*event, word, 1);
            }
            return TRUE;
        }
    }
}

BOOL WINAPI ResetEvent(HANDLE handle) {
    const std::shared_ptr<EventObject> event = eventOf(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->shared->word.fetch_and(~signalledBit);
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    const std::shared_ptr<EventObject> event = eventOf(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return waitFor(*event, milliseconds);
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
        HandleTable& table = handles();
        std::lock_guard<std::mutex> lock(table.mutex);
        std::size_t index = 0;
        if (slotOf(handle, index) && index < table.slots.size()) {
            object.swap(table.slots[index]);
        }
    }
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A wait still running on another thread keeps the object until it ends.
    object.reset();
    return TRUE;
}

}  // extern "C"
