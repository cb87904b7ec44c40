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
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "quen/platform/posix/Errors.h"

namespace {

// Nothing in shared memory is ever waited for under a lock: a process killed
// while holding one would leave it held. The only mutexes there are robust
// ones that mark their waiters alive, below.
//
// Bit 31 of the event's word is the signalled state. A manual-reset event
// keeps in bits 16-30 the number of its waiters, only as a hint of whether to
// wake anyone, and counts its sets in a second word: a waiter leaves when the
// count moved since it began, so a ResetEvent right after a SetEvent does not
// keep it waiting, as Windows releases the threads waiting at the moment of
// the call.
//
// An auto-reset event has a slot per waiting thread. The slot's word (its
// futex) holds the waiter's ticket, taken in turn, and whether it waits or
// was released; its robust mutex is held by the waiting thread from taking
// the slot to leaving it, so that the kernel marks it when that thread dies,
// however it dies. SetEvent releases the live waiter with the oldest ticket,
// freeing the slot of any dead one it meets on the way, and leaves the event
// signalled only when no live waiter is there: a waiter killed inside
// WaitForSingleObject is as if it had never waited, as on Windows. The
// mutexes are only ever tried, never waited for, so they cost no system
// call.
constexpr std::uint32_t signalledBit = 0x80000000u;
constexpr std::uint32_t oneWaiter = 0x00010000u;
constexpr std::uint32_t waiterMask = 0x7FFF0000u;
constexpr std::uint32_t segmentMagic = 0x51455632u;  // "QEV2"

// Slot words: 0 for a free slot, else the ticket above two state bits.
constexpr std::uint32_t slotWaiting = 1u;
constexpr std::uint32_t slotReleased = 2u;
constexpr std::uint32_t slotStateMask = 3u;
// At most this many threads wait on one auto-reset event at once; the next
// wait fails with ERROR_NOT_ENOUGH_MEMORY.
constexpr std::size_t waiterSlots = 128;

std::uint32_t waitersOf(std::uint32_t word) {
    return (word & waiterMask) >> 16;
}

struct SharedEvent {
    std::atomic<std::uint32_t> word;
    std::atomic<std::uint32_t> sets;  // manual reset: SetEvent calls so far
    std::uint32_t manualReset;
    std::uint32_t magic;
    std::uint32_t nameLength;
    char name[MAX_PATH + 16];
    // Auto reset: the next ticket, the slots ever taken (a waiter takes the
    // lowest free one, so setters look no further), the slots.
    std::atomic<std::uint32_t> nextTicket;
    std::atomic<std::uint32_t> slotsUsed;
    std::atomic<std::uint32_t> slot[waiterSlots];
    pthread_mutex_t owner[waiterSlots];
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "the futex words must be plain words");

// A new event's state, in memory that no other thread sees yet.
bool initialise(SharedEvent& shared, bool manualReset, bool initialState) {
    shared.word.store(initialState ? signalledBit : 0u);
    shared.sets.store(0);
    shared.manualReset = manualReset ? 1u : 0u;
    shared.nextTicket.store(0);
    shared.slotsUsed.store(0);
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) {
        return false;
    }
    bool made = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0;
    for (std::size_t i = 0; i < waiterSlots && made; ++i) {
        shared.slot[i].store(0);
        made = pthread_mutex_init(&shared.owner[i], &attributes) == 0;
    }
    pthread_mutexattr_destroy(&attributes);
    return made;
}

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
    mode_t mode = 0600;  // of the namespace's files
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

// Opens a shm file, making it (with the mode, whatever the umask) when it is
// not there and `create` is set; `made` tells which. An existing file is
// opened without O_CREAT, which the kernel refuses (protected_regular) for a
// file of another user in a shared sticky folder such as /dev/shm.
int openShared(const std::string& name, bool create, mode_t mode, bool& made) {
    made = false;
    for (;;) {
        const int existing = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (existing >= 0 || errno != ENOENT || !create) {
            return existing;
        }
        const int fresh = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fresh >= 0) {
            fchmod(fresh, mode);
            made = true;
            return fresh;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
}

// Serialises the creation and the last close of named events between
// processes. A flock, so that a process that dies holding it releases it.
class NamespaceLock {
public:
    // The lock of a namespace; `mode` is that of the namespace's files, all
    // users' for Global\.
    NamespaceLock(const std::string& name, mode_t mode) {
        bool made = false;
        descriptor_ = openShared(name, true, mode, made);
        if (descriptor_ < 0) {
            return;
        }
        if (!made) {
            fchmod(descriptor_, mode);  // its owner mends a mode gone wrong; others cannot
        }
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
    event->mode = names.mode;

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
        bool made = false;
        const int descriptor = openShared(names.segment, create, names.mode, made);
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
        const bool usable = created ? initialise(shared, manualReset, initialState)
                                    : shared.magic == segmentMagic && shared.nameLength == length &&
                                          std::memcmp(shared.name, names.object.data(), length) == 0;
        if (created && usable) {
            shared.nameLength = static_cast<std::uint32_t>(length);
            std::memcpy(shared.name, names.object.c_str(), length + 1);
            shared.magic = segmentMagic;
        } else if (!usable) {
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
    const NamespaceLock lock(lockName, mode);
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
    // Counted only below the limit: waiters killed here stay counted, and a
    // count held at the limit just wakes on every set.
    bool counted = false;
    for (std::uint32_t value = word.load(); !counted && waitersOf(value) < (waiterMask >> 16);) {
        counted = word.compare_exchange_weak(value, value + oneWaiter);
    }
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
    if (counted) {
        word.fetch_sub(oneWaiter);
    }
    return result;
}

// Takes the signal of an auto-reset event, if it is signalled.
bool takeSignal(SharedEvent& shared) {
    std::uint32_t value = shared.word.load();
    while ((value & signalledBit) != 0) {
        if (shared.word.compare_exchange_weak(value, value & ~signalledBit)) {
            return true;
        }
    }
    return false;
}

// Whether one ticket came before another, across the counter's wrap.
bool before(std::uint32_t ticket, std::uint32_t other) {
    return ((other - ticket) & (0xFFFFFFFFu >> 2)) < (1u << 29) && ticket != other;
}

void setAuto(EventObject& event);

// Frees the slot of a waiter that died: the mutex came to us with
// EOWNERDEAD. A release handed to it goes on, as if it had never waited.
void reclaimSlot(EventObject& event, std::size_t index) {
    SharedEvent& shared = *event.shared;
    const std::uint32_t left = shared.slot[index].exchange(0);
    pthread_mutex_consistent(&shared.owner[index]);
    pthread_mutex_unlock(&shared.owner[index]);
    if ((left & slotStateMask) == slotReleased) {
        setAuto(event);
    }
}

// Releases the live waiter with the oldest ticket; false when there is none.
bool releaseOldest(EventObject& event) {
    SharedEvent& shared = *event.shared;
    for (;;) {
        const std::size_t used = shared.slotsUsed.load();
        std::size_t oldest = used;
        std::uint32_t oldestWord = 0;
        for (std::size_t i = 0; i < used; ++i) {
            const std::uint32_t word = shared.slot[i].load();
            if ((word & slotStateMask) == slotWaiting && (oldest == used || before(word >> 2, oldestWord >> 2))) {
                oldest = i;
                oldestWord = word;
            }
        }
        if (oldest == used) {
            return false;
        }
        // Its thread holds the mutex while it waits (or someone else looks
        // at the slot, and then the exchange below tells).
        const int tried = pthread_mutex_trylock(&shared.owner[oldest]);
        if (tried == EBUSY) {
            std::uint32_t expected = oldestWord;
            if (shared.slot[oldest].compare_exchange_strong(expected, (oldestWord & ~slotStateMask) | slotReleased)) {
                futexWake(event, shared.slot[oldest], 1);
                return true;
            }
        } else if (tried == EOWNERDEAD) {
            reclaimSlot(event, oldest);
        } else if (tried == 0) {
            pthread_mutex_unlock(&shared.owner[oldest]);  // its waiter has left meanwhile
        } else {
            shared.slot[oldest].store(0);  // not recoverable: a slot that nobody can hold
        }
    }
}

// Whether any slot shows a waiter, live or not.
bool anyWaiting(const SharedEvent& shared) {
    const std::size_t used = shared.slotsUsed.load();
    for (std::size_t i = 0; i < used; ++i) {
        if ((shared.slot[i].load() & slotStateMask) == slotWaiting) {
            return true;
        }
    }
    return false;
}

void setAuto(EventObject& event) {
    SharedEvent& shared = *event.shared;
    for (;;) {
        if (releaseOldest(event)) {
            return;
        }
        // Nobody waits: the event keeps the signal. A waiter that showed
        // itself meanwhile either sees it, or is seen here and gets it
        // instead, unless a wait took it first (the waiter and we each look
        // at the other's word after writing our own).
        if ((shared.word.fetch_or(signalledBit) & signalledBit) != 0 || !anyWaiting(shared) || !takeSignal(shared)) {
            return;
        }
    }
}

// Takes the lowest slot free, raising the mark of slots used before the
// slot shows a waiter.
bool claimSlot(EventObject& event, std::size_t& index) {
    SharedEvent& shared = *event.shared;
    for (index = 0; index < waiterSlots; ++index) {
        const int tried = pthread_mutex_trylock(&shared.owner[index]);
        if (tried == EOWNERDEAD) {
            const std::uint32_t left = shared.slot[index].exchange(0);
            pthread_mutex_consistent(&shared.owner[index]);
            if ((left & slotStateMask) == slotReleased) {
                setAuto(event);  // the slot is ours and free: the release goes to someone else
            }
        } else if (tried != 0) {
            continue;
        }
        const std::uint32_t mark = static_cast<std::uint32_t>(index + 1);
        std::uint32_t used = shared.slotsUsed.load();
        while (used < mark && !shared.slotsUsed.compare_exchange_weak(used, mark)) {
        }
        return true;
    }
    return false;
}

DWORD waitFor(EventObject& event, DWORD milliseconds) {
    if (event.shared->manualReset != 0) {
        return waitForManual(event, milliseconds);
    }
    SharedEvent& shared = *event.shared;
    if (takeSignal(shared)) {
        return WAIT_OBJECT_0;
    }
    if (milliseconds == 0) {
        return WAIT_TIMEOUT;
    }
    std::size_t index = 0;
    if (!claimSlot(event, index)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return WAIT_FAILED;
    }
    std::atomic<std::uint32_t>& slot = shared.slot[index];
    const std::uint32_t waiting = (shared.nextTicket.fetch_add(1) << 2) | slotWaiting;
    slot.store(waiting);
    // A set that found no waiter before the slot showed left the signal.
    const bool signalled = takeSignal(shared);
    const timespec deadline = deadlineAfter(milliseconds == INFINITE ? 0 : milliseconds);
    while (!signalled && slot.load() == waiting) {
        timespec remaining = {0, 0};
        if (milliseconds != INFINITE && !remainingUntil(deadline, remaining)) {
            break;
        }
        futexWait(event, slot, waiting, milliseconds == INFINITE ? nullptr : &remaining);
    }
    // Leave: withdraw, unless a set released the slot meanwhile.
    std::uint32_t expected = waiting;
    const bool released = !slot.compare_exchange_strong(expected, 0);
    if (released) {
        slot.store(0);
    }
    pthread_mutex_unlock(&shared.owner[index]);
    if (signalled && released) {
        setAuto(event);  // two signals for one wait: the second goes on
    }
    return signalled || released ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
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
    if (!initialise(*event->shared, manualReset != FALSE, initialState != FALSE)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
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
    setAuto(*event);
    return TRUE;
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
