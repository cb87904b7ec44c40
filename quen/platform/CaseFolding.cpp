#include "quen/platform/CaseFolding.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <thread>

#if defined(__GLIBC__)
#include <langinfo.h>
#include <locale.h>
#else
#include <cctype>
#include <clocale>
#endif

// The folding keeps no per-thread state. A per-thread cache goes stale when
// another thread calls setlocale; it needs static TLS to be fast from a
// shared library, so a host that has used up the static TLS block cannot
// dlopen it; and a per-thread object with a destructor pins a DLL in memory
// past FreeLibrary. Instead the tables of every folding met live in one
// process-wide store, found by a key that says which folding is in force:
//
// - With glibc, the address of the toupper table that toupper itself reads
//   for the calling thread's locale (nl_langinfo hands it out; it honours
//   uselocale, and the global locale that setlocale in any thread set last).
//   An address alone could name two foldings in turn: glibc unmaps a
//   locale's data with its last locale object and may map the next locale's
//   at the same place. So the store keeps a copy (duplocale) of the thread's
//   locale object while it keeps a table of it, which keeps the data mapped
//   and its address taken. The global locale needs none: glibc never frees
//   data that setlocale installed.
// - Elsewhere, the name of the LC_CTYPE category in force for the calling
//   thread (the runtime's full name, which fixes the folding); the tables
//   come from toupper, asked once for each of the 256 bytes.
//
// A slot is written completely before it is published and never changes
// after, so threads read the store without a lock; only adding takes one.
namespace quen {
namespace platform {
namespace {

const int slotCapacity = 32;

struct Slot {
    CaseFolding tables;
#if defined(__GLIBC__)
    const std::int32_t* key;  // glibc's toupper table
    locale_t pin;             // keeps that table's locale data mapped; 0 for the global locale's
#else
    static const std::size_t nameCapacity = 96;
    char key[nameCapacity];  // the locale's name
#endif
};

// Beyond the slots (a process with more than 32 foldings, or a name longer
// than a slot holds), slots go to the heap, on a list that is only added to.
struct Spilled {
    Spilled* next;
    Slot slot;
    std::string name;  // where the name is the key
};

Slot slots[slotCapacity];
std::atomic<int> slotsPublished{0};
std::atomic<Spilled*> spilled{nullptr};
std::atomic_flag adding = ATOMIC_FLAG_INIT;

#if defined(__GLIBC__)

typedef const std::int32_t* Key;

Key currentKey() {
    return reinterpret_cast<Key>(nl_langinfo(_NL_CTYPE_TOUPPER));
}

bool holds(const Slot& slot, Key key) {
    return slot.key == key;
}

bool holds(const Spilled& spilled, Key key) {
    return spilled.slot.key == key;
}

bool fits(Key) {
    return true;
}

// Fills the slot for the folding in force, whose table is key.
void fill(Slot& slot, Key key) {
    const locale_t current = uselocale(locale_t(0));
    slot.pin = locale_t(0);
    if (current != LC_GLOBAL_LOCALE) {
        slot.pin = duplocale(current);
        if (slot.pin == locale_t(0)) {
            throw std::bad_alloc();
        }
    }
    slot.key = key;
    // The table runs from char -128 to 255; bytes 0x80 to 0xFF are the
    // negative chars.
    for (int b = 0; b < 256; ++b) {
        slot.tables.upper[b] = static_cast<unsigned char>(key[128 + static_cast<signed char>(b)]);
    }
}

// The copies of locale objects go when the library unloads. Constant
// initialisation builds this object, so it takes no part in the order of
// the library's static objects (quen/resources/LibraryObjects.cpp); it
// only releases, and nothing is looked up in the store after it.
struct PinRelease {
    constexpr PinRelease() = default;
    ~PinRelease() {
        for (int i = slotsPublished.load(std::memory_order_acquire); i-- > 0;) {
            if (slots[i].pin != locale_t(0)) {
                freelocale(slots[i].pin);
                slots[i].pin = locale_t(0);
            }
        }
        for (Spilled* s = spilled.load(std::memory_order_acquire); s != nullptr; s = s->next) {
            if (s->slot.pin != locale_t(0)) {
                freelocale(s->slot.pin);
                s->slot.pin = locale_t(0);
            }
        }
    }
};

PinRelease pinRelease;

#else

typedef const char* Key;

Key currentKey() {
    const char* name = std::setlocale(LC_CTYPE, nullptr);
    return name != nullptr ? name : "";
}

bool holds(const Slot& slot, Key key) {
    return std::strcmp(slot.key, key) == 0;
}

bool holds(const Spilled& spilled, Key key) {
    return spilled.name == key;
}

bool fits(Key key) {
    return std::strlen(key) < Slot::nameCapacity;
}

// Fills the slot for the folding in force, named key (a spilled slot keeps
// the name itself).
void fill(Slot& slot, Key key) {
    if (fits(key)) {
        std::strcpy(slot.key, key);
    }
    for (int b = 0; b < 256; ++b) {
        slot.tables.upper[b] = static_cast<unsigned char>(std::toupper(static_cast<signed char>(b)));
    }
}

#endif

// The variants of each byte, from its fold: grouped by upper-case byte.
void completeVariants(CaseFolding& tables) {
    unsigned char members[256] = {};  // per upper-case byte, counted up to 3
    unsigned char first[256] = {};
    unsigned char second[256] = {};
    for (int b = 0; b < 256; ++b) {
        const unsigned char u = tables.upper[b];
        if (members[u] == 0) {
            first[u] = static_cast<unsigned char>(b);
        } else if (members[u] == 1) {
            second[u] = static_cast<unsigned char>(b);
        }
        if (members[u] < 3) {
            ++members[u];
        }
    }
    for (int b = 0; b < 256; ++b) {
        const unsigned char u = tables.upper[b];
        const unsigned char self = static_cast<unsigned char>(b);
        tables.variants[b][0] = self;
        tables.variants[b][1] = members[u] == 2 ? (first[u] == self ? second[u] : first[u]) : self;
        tables.variantCount[b] = members[u] <= 2 ? members[u] : 0;
    }
}

const CaseFolding* findInSlots(Key key, int published) {
    for (int i = 0; i < published; ++i) {
        if (holds(slots[i], key)) {
            return &slots[i].tables;
        }
    }
    return nullptr;
}

const CaseFolding* findPublished(Key key, int published) {
    if (const CaseFolding* found = findInSlots(key, published)) {
        return found;
    }
    for (const Spilled* s = spilled.load(std::memory_order_acquire); s != nullptr; s = s->next) {
        if (holds(*s, key)) {
            return &s->slot.tables;
        }
    }
    return nullptr;
}

class AddingLock {
public:
    AddingLock() {
        while (adding.test_and_set(std::memory_order_acquire)) {
            std::this_thread::yield();  // another thread builds tables: a few microseconds
        }
    }
    ~AddingLock() { adding.clear(std::memory_order_release); }
    AddingLock(const AddingLock&) = delete;
    AddingLock& operator=(const AddingLock&) = delete;
};

// The slow way: among the spilled slots, or new tables.
__attribute__((noinline)) const CaseFolding& findOrAdd(Key key) {
    if (const CaseFolding* found = findPublished(key, slotsPublished.load(std::memory_order_acquire))) {
        return *found;
    }
    const AddingLock lock;
    const int published = slotsPublished.load(std::memory_order_acquire);
    if (const CaseFolding* found = findPublished(key, published)) {
        return *found;  // another thread added it meanwhile
    }
    if (published < slotCapacity && fits(key)) {
        Slot& slot = slots[published];
        fill(slot, key);
        completeVariants(slot.tables);
        slotsPublished.store(published + 1, std::memory_order_release);
        return slot.tables;
    }
    Spilled* const s = new Spilled();
    try {
#if !defined(__GLIBC__)
        s->name = key;
#endif
        fill(s->slot, key);
    } catch (...) {
        delete s;
        throw;
    }
    completeVariants(s->slot.tables);
    s->next = spilled.load(std::memory_order_relaxed);
    spilled.store(s, std::memory_order_release);
    return s->slot.tables;
}

}  // namespace

const CaseFolding& caseFolding() {
    const Key key = currentKey();
    const CaseFolding* found = findInSlots(key, slotsPublished.load(std::memory_order_acquire));
    return found != nullptr ? *found : findOrAdd(key);
}

}  // namespace platform
}  // namespace quen
