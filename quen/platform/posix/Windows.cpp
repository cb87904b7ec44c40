// Windows, classes and per-thread message queues.
#include "quen/platform/posix/Windows.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <string>
#include <strings.h>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

#include "quen/platform/posix/Errors.h"
#include "quen/platform/posix/MessageBox.h"

namespace {

struct Queue;

// A message sent to a window of another thread: that thread runs it and
// hands back the result; the sender waits on its own queue meanwhile.
struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<Queue> sender;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quit = false;
    int quitCode = 0;
    bool alive = true;
    DWORD threadId = 0;
    unsigned long long arrivals = 0;  // counts everything posted or sent, for GetMessageA
};

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    bool system = false;
};

// The state of a progress bar, as the common control keeps it.
struct ProgressState {
    int low = 0;
    int high = 100;
    int position = 0;
    int step = 10;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    WNDPROC procedure = nullptr;
    std::string text;
    HWND parent = nullptr;
    bool messageOnly = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::shared_ptr<Queue> queue;
    bool destroying = false;
    ProgressState progress;
};

// Window handles carry a slot and a generation, so that the handle of a
// destroyed window stays invalid when its slot is used again.
struct State {
    std::mutex mutex;
    std::vector<std::shared_ptr<Window>> slots;
    std::vector<WORD> generations;
    std::vector<std::shared_ptr<WindowClass>> classes;
    std::map<DWORD, std::shared_ptr<Queue>> queues;  // by thread, until it ends
    ATOM nextAtom = 0xC000;
};

LRESULT CALLBACK progressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK staticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

State& state() {
    // Built once and never destroyed: threads may still post while the
    // process runs its static destructors.
    static State* theState = [] {
        State* created = new State;
        const char* const names[] = {PROGRESS_CLASSA, WC_STATICA};
        const WNDPROC procedures[] = {progressProcedure, staticProcedure};
        for (int i = 0; i < 2; ++i) {
            auto windowClass = std::make_shared<WindowClass>();
            windowClass->name = names[i];
            windowClass->atom = created->nextAtom++;
            windowClass->procedure = procedures[i];
            windowClass->system = true;
            created->classes.push_back(windowClass);
        }
        return created;
    }();
    return *theState;
}

std::size_t slotOf(HWND window, WORD& generation) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(window);
    generation = static_cast<WORD>(value >> 16);
    return value > 0xFFFFFFFFu ? 0 : static_cast<std::size_t>(value & 0xFFFF);
}

// With the state locked.
std::shared_ptr<Window> findLocked(State& all, HWND window) {
    WORD generation = 0;
    const std::size_t slot = slotOf(window, generation);
    if (slot == 0 || slot > all.slots.size() || all.generations[slot - 1] != generation) {
        return nullptr;
    }
    return all.slots[slot - 1];
}

std::shared_ptr<Window> find(HWND window) {
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    return findLocked(all, window);
}

std::shared_ptr<Window> findOrFail(HWND window) {
    std::shared_ptr<Window> found = find(window);
    if (!found) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return found;
}

bool isDesktop(HWND window) {
    return window == GetDesktopWindow();
}

// Removes the window from the table (with the state locked) and drops what
// is still posted to it.
void removeLocked(State& all, const std::shared_ptr<Window>& window) {
    {
        std::lock_guard<std::mutex> queueLock(window->queue->mutex);
        auto& posted = window->queue->posted;
        posted.erase(std::remove_if(posted.begin(), posted.end(),
                                    [&](const MSG& message) { return message.hwnd == window->handle; }),
                     posted.end());
    }
    // The slot goes last: the caller's reference may be that very slot.
    WORD generation = 0;
    const std::size_t slot = slotOf(window->handle, generation);
    all.generations[slot - 1] = static_cast<WORD>(all.generations[slot - 1] + 1 == 0 ? 1
                                                                                   : all.generations[slot - 1] + 1);
    all.slots[slot - 1].reset();
}

DWORD currentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

// A thread's queue and windows go when the thread ends. The end is seen
// through a thread-specific key with a destructor, not through a thread_local
// object: glibc keeps a library loaded for as long as any thread holds such an
// object, so a host could never unload us. The key goes when the library
// unloads, and with it every call into our code at a later thread end.
void endThread(void* value) {
    const DWORD threadId = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(value));
    State& all = state();
    std::shared_ptr<Queue> queue;
    std::deque<std::shared_ptr<SentMessage>> unanswered;
    {
        std::lock_guard<std::mutex> lock(all.mutex);
        const auto found = all.queues.find(threadId);
        if (found == all.queues.end()) {
            return;
        }
        queue = found->second;
        for (const std::shared_ptr<Window>& window : all.slots) {
            if (window && window->queue == queue) {
                removeLocked(all, window);
            }
        }
        all.queues.erase(found);
        std::lock_guard<std::mutex> queueLock(queue->mutex);
        queue->alive = false;
        unanswered.swap(queue->sent);
    }
    for (const std::shared_ptr<SentMessage>& sent : unanswered) {
        std::lock_guard<std::mutex> senderLock(sent->sender->mutex);
        sent->done = true;
        sent->sender->changed.notify_all();
    }
}

struct ThreadEndKey {
    pthread_key_t key{};
    bool made = false;
    ThreadEndKey() : made(pthread_key_create(&key, endThread) == 0) {}
    ~ThreadEndKey() {
        if (made) {
            pthread_key_delete(key);
        }
    }
    ThreadEndKey(const ThreadEndKey&) = delete;
    ThreadEndKey& operator=(const ThreadEndKey&) = delete;
};

ThreadEndKey& threadEndKey() {
    static ThreadEndKey theKey;
    return theKey;
}

// The calling thread's queue, made on first use and held by the table of
// queues until the thread ends.
std::shared_ptr<Queue> ownQueue() {
    const DWORD threadId = currentThreadId();
    State& all = state();
    {
        std::lock_guard<std::mutex> lock(all.mutex);
        const auto found = all.queues.find(threadId);
        if (found != all.queues.end()) {
            return found->second;
        }
    }
    auto queue = std::make_shared<Queue>();
    queue->threadId = threadId;
    ThreadEndKey& end = threadEndKey();
    if (end.made) {
        pthread_setspecific(end.key, reinterpret_cast<void*>(static_cast<std::uintptr_t>(threadId)));
    }
    std::lock_guard<std::mutex> lock(all.mutex);
    all.queues[threadId] = queue;
    return queue;
}

DWORD tickCount() {
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

LRESULT callProcedure(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        procedure = window->procedure;
    }
    return procedure != nullptr ? procedure(window->handle, message, wParam, lParam) : 0;
}

// Runs every message other threads have sent to this one.
void runSentMessages(const std::shared_ptr<Queue>& queue) {
    for (;;) {
        std::shared_ptr<SentMessage> sent;
        {
            std::lock_guard<std::mutex> lock(queue->mutex);
            if (queue->sent.empty()) {
                return;
            }
            sent = queue->sent.front();
            queue->sent.pop_front();
        }
        const std::shared_ptr<Window> window = find(sent->window);
        const LRESULT result = window ? callProcedure(window, sent->message, sent->wParam, sent->lParam) : 0;
        std::lock_guard<std::mutex> senderLock(sent->sender->mutex);
        sent->result = result;
        sent->done = true;
        sent->sender->changed.notify_all();
    }
}

bool isDescendantOrSelf(State& all, HWND window, HWND ancestor) {
    for (int depth = 0; window != nullptr && depth < 1000; ++depth) {
        if (window == ancestor) {
            return true;
        }
        const std::shared_ptr<Window> found = findLocked(all, window);
        window = found ? found->parent : nullptr;
    }
    return false;
}

bool matches(State& all, const MSG& message, HWND filter, UINT low, UINT high) {
    if (!(low == 0 && high == 0) && (message.message < low || message.message > high)) {
        return false;
    }
    if (filter == nullptr) {
        return true;
    }
    if (filter == reinterpret_cast<HWND>(-1)) {
        return message.hwnd == nullptr;
    }
    return message.hwnd != nullptr && isDescendantOrSelf(all, message.hwnd, filter);
}

// Takes (or looks at) the first posted message that passes the filter, then
// WM_QUIT, which passes every filter; false when there is none.
bool takeMessage(const std::shared_ptr<Queue>& queue, MSG& message, HWND filter, UINT low, UINT high, bool remove) {
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    std::lock_guard<std::mutex> queueLock(queue->mutex);
    for (auto it = queue->posted.begin(); it != queue->posted.end(); ++it) {
        if (matches(all, *it, filter, low, high)) {
            message = *it;
            if (remove) {
                queue->posted.erase(it);
            }
            return true;
        }
    }
    // Once no posted message passes, a pending quit comes out whatever the
    // window handle and the message range asked for, as on Windows: a loop
    // for one window or a range of messages must still see the quit.
    if (queue->quit) {
        message = MSG();
        message.message = WM_QUIT;
        message.wParam = static_cast<WPARAM>(queue->quitCode);
        message.time = tickCount();
        if (remove) {
            queue->quit = false;
        }
        return true;
    }
    return false;
}

bool postTo(const std::shared_ptr<Queue>& queue, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted = MSG();
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = tickCount();
    std::lock_guard<std::mutex> lock(queue->mutex);
    if (!queue->alive) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return false;
    }
    queue->posted.push_back(posted);
    ++queue->arrivals;
    queue->changed.notify_all();
    return true;
}

std::shared_ptr<WindowClass> findClassLocked(State& all, LPCSTR name) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(name);
    for (const std::shared_ptr<WindowClass>& windowClass : all.classes) {
        if (value <= 0xFFFF ? windowClass->atom == value : strcasecmp(windowClass->name.c_str(), name) == 0) {
            return windowClass;
        }
    }
    return nullptr;
}

void destroyTree(const std::shared_ptr<Window>& window) {
    callProcedure(window, WM_DESTROY, 0, 0);
    std::vector<std::shared_ptr<Window>> children;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        for (const std::shared_ptr<Window>& candidate : state().slots) {
            if (candidate && candidate->parent == window->handle && !candidate->destroying) {
                candidate->destroying = true;
                children.push_back(candidate);
            }
        }
    }
    for (const std::shared_ptr<Window>& child : children) {
        destroyTree(child);
    }
    callProcedure(window, WM_NCDESTROY, 0, 0);
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    if (findLocked(all, window->handle) == window) {
        removeLocked(all, window);
    }
}

// ---- the system classes ------------------------------------------------------

LRESULT CALLBACK progressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Window> self = find(window);
    if (!self) {
        return 0;
    }
    ProgressState& bar = self->progress;
    const auto coerce = [&bar] {
        if (bar.position < bar.low) {
            bar.position = bar.low;
        }
        if (bar.position > bar.high) {
            bar.position = bar.high;
        }
    };
    const auto setRange = [&](int low, int high) {
        const LRESULT previous = MAKELONG(bar.low, bar.high) & 0xFFFFFFFFu;
        bar.low = low;
        bar.high = high;
        coerce();
        return previous;
    };
    switch (message) {
    case PBM_SETRANGE: return setRange(LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32: return setRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_SETPOS: {
        const int previous = bar.position;
        bar.position = static_cast<int>(wParam);
        coerce();
        return previous;
    }
    case PBM_DELTAPOS: {
        const int previous = bar.position;
        bar.position += static_cast<int>(wParam);
        coerce();
        return previous;
    }
    case PBM_SETSTEP: {
        const int previous = bar.step;
        bar.step = static_cast<int>(wParam);
        return previous;
    }
    case PBM_STEPIT: {
        // Past the upper end the bar goes round again from the lower end, and
        // below the lower end from the upper, with the common control's
        // arithmetic: a remainder of the signed range, truncated toward zero,
        // both tests in turn. An inverted range (low above high) goes through
        // the same steps, so it ends where Windows' bar does; an empty range
        // does not move.
        const int previous = bar.position;
        const long long low = bar.low;
        const long long high = bar.high;
        if (low != high) {
            long long position = static_cast<long long>(bar.position) + bar.step;
            if (position > high) {
                position = (position - low) % (high - low) + low;
            }
            if (position < low) {
                position = (position - low) % (high - low) + high;
            }
            bar.position = static_cast<int>(position);
        }
        return previous;
    }
    case PBM_GETRANGE: {
        PBRANGE* range = reinterpret_cast<PBRANGE*>(lParam);
        if (range != nullptr) {
            range->iLow = bar.low;
            range->iHigh = bar.high;
        }
        return wParam != 0 ? bar.low : bar.high;
    }
    case PBM_GETPOS: return bar.position;
    case PBM_GETSTEP: return bar.step;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK staticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr ||
        reinterpret_cast<std::uintptr_t>(windowClass->lpszClassName) <= 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    const std::shared_ptr<WindowClass> existing = findClassLocked(all, windowClass->lpszClassName);
    if (existing && !existing->system) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    if (all.nextAtom == 0xFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto created = std::make_shared<WindowClass>();
    created->name = windowClass->lpszClassName;
    created->atom = all.nextAtom++;
    created->procedure = windowClass->lpfnWndProc;
    created->instance = windowClass->hInstance;
    // An application's class of a system class's name comes first.
    all.classes.insert(all.classes.begin(), created);
    return created->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    const std::shared_ptr<WindowClass> found = className != nullptr ? findClassLocked(all, className) : nullptr;
    if (!found || found->system) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    for (const std::shared_ptr<Window>& window : all.slots) {
        if (window && window->windowClass == found) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    all.classes.erase(std::find(all.classes.begin(), all.classes.end(), found));
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    const std::shared_ptr<Queue> queue = ownQueue();
    auto window = std::make_shared<Window>();
    {
        State& all = state();
        std::lock_guard<std::mutex> lock(all.mutex);
        window->windowClass = className != nullptr ? findClassLocked(all, className) : nullptr;
        if (!window->windowClass) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        if (parent == HWND_MESSAGE) {
            window->messageOnly = true;
            parent = nullptr;
        } else if (parent != nullptr && !isDesktop(parent) && !findLocked(all, parent)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (isDesktop(parent)) {
            parent = nullptr;
        }
        if ((style & WS_CHILD) != 0 && parent == nullptr) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        std::size_t slot = 0;
        while (slot < all.slots.size() && all.slots[slot]) {
            ++slot;
        }
        if (slot == 0xFFFF) {
            SetLastError(ERROR_NOT_ENOUGH_QUOTA);
            return nullptr;
        }
        if (slot == all.slots.size()) {
            all.slots.emplace_back();
            all.generations.push_back(1);
        }
        window->handle = reinterpret_cast<HWND>((static_cast<std::uintptr_t>(all.generations[slot]) << 16) |
                                                (slot + 1));
        window->procedure = window->windowClass->procedure;
        window->parent = parent;
        window->style = style;
        window->exStyle = exStyle;
        window->queue = queue;
        all.slots[slot] = window;
    }
    CREATESTRUCTA create = {};
    create.lpCreateParams = parameter;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (callProcedure(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
        callProcedure(window, WM_NCDESTROY, 0, 0);
        State& all = state();
        std::lock_guard<std::mutex> lock(all.mutex);
        removeLocked(all, window);
        return nullptr;
    }
    if (callProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(window->handle);
        return nullptr;
    }
    return window->handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (window->queue->threadId != currentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (window->destroying) {
            return TRUE;
        }
        window->destroying = true;
    }
    destroyTree(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
    return isDesktop(window) || find(window) != nullptr;
}

HWND WINAPI GetParent(HWND handle) {
    const std::shared_ptr<Window> window = findOrFail(handle);
    return window ? window->parent : nullptr;
}

DWORD WINAPI GetWindowThreadProcessId(HWND handle, LPDWORD processId) {
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return 0;
    }
    if (processId != nullptr) {
        *processId = static_cast<DWORD>(getpid());
    }
    return window->queue->threadId;
}

DWORD WINAPI GetCurrentThreadId(void) {
    return currentThreadId();
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create != nullptr && create->lpszName != nullptr) {
            DefWindowProcA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(create->lpszName));
        }
        return TRUE;
    }
    case WM_SETTEXT: {
        const std::shared_ptr<Window> window = find(handle);
        if (!window) {
            return FALSE;
        }
        const char* text = reinterpret_cast<const char*>(lParam);
        std::lock_guard<std::mutex> lock(state().mutex);
        window->text = text != nullptr ? text : "";
        return TRUE;
    }
    case WM_GETTEXT: {
        const std::shared_ptr<Window> window = find(handle);
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!window || buffer == nullptr || wParam == 0) {
            return 0;
        }
        std::lock_guard<std::mutex> lock(state().mutex);
        const std::size_t length = std::min<std::size_t>(window->text.size(), wParam - 1);
        std::memcpy(buffer, window->text.data(), length);
        buffer[length] = '\0';
        return static_cast<LRESULT>(length);
    }
    case WM_GETTEXTLENGTH: {
        const std::shared_ptr<Window> window = find(handle);
        if (!window) {
            return 0;
        }
        std::lock_guard<std::mutex> lock(state().mutex);
        return static_cast<LRESULT>(window->text.size());
    }
    case WM_CLOSE: DestroyWindow(handle); return 0;
    default: return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return 0;
    }
    const std::shared_ptr<Queue> own = ownQueue();
    if (window->queue == own) {
        return callProcedure(window, message, wParam, lParam);
    }
    auto sent = std::make_shared<SentMessage>();
    sent->window = handle;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = own;
    {
        std::lock_guard<std::mutex> lock(window->queue->mutex);
        if (!window->queue->alive) {
            return 0;
        }
        window->queue->sent.push_back(sent);
        ++window->queue->arrivals;
        window->queue->changed.notify_all();
    }
    // While waiting, run what other threads send to this one, so that two
    // threads sending to each other do not wait for ever.
    for (;;) {
        runSentMessages(own);
        std::unique_lock<std::mutex> lock(own->mutex);
        if (sent->done) {
            return sent->result;
        }
        if (own->sent.empty()) {
            own->changed.wait(lock, [&] { return sent->done || !own->sent.empty(); });
        }
        if (sent->done) {
            return sent->result;
        }
    }
}

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle == nullptr) {
        return postTo(ownQueue(), nullptr, message, wParam, lParam) ? TRUE : FALSE;
    }
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return FALSE;
    }
    return postTo(window->queue, handle, message, wParam, lParam) ? TRUE : FALSE;
}

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Queue> queue;
    {
        State& all = state();
        std::lock_guard<std::mutex> lock(all.mutex);
        const auto found = all.queues.find(threadId);
        if (found != all.queues.end()) {
            queue = found->second;
        }
    }
    if (!queue) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return postTo(queue, nullptr, message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    const std::shared_ptr<Queue> queue = ownQueue();
    std::lock_guard<std::mutex> lock(queue->mutex);
    queue->quit = true;
    queue->quitCode = exitCode;
    ++queue->arrivals;
    queue->changed.notify_all();
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::shared_ptr<Queue> queue = ownQueue();
    runSentMessages(queue);
    return takeMessage(queue, *message, window, filterMin, filterMax, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (window != nullptr && window != reinterpret_cast<HWND>(-1) && !findOrFail(window)) {
        return -1;
    }
    const std::shared_ptr<Queue> queue = ownQueue();
    for (;;) {
        unsigned long long seen = 0;
        {
            std::lock_guard<std::mutex> lock(queue->mutex);
            seen = queue->arrivals;
        }
        runSentMessages(queue);
        if (takeMessage(queue, *message, window, filterMin, filterMax, true)) {
            return message->message == WM_QUIT ? FALSE : TRUE;
        }
        // Sleep until something new arrives; the filter is tried again then.
        std::unique_lock<std::mutex> lock(queue->mutex);
        queue->changed.wait(lock, [&] { return queue->arrivals != seen; });
    }
}

BOOL WINAPI TranslateMessage(const MSG* message) {
    if (message == nullptr) {
        return FALSE;
    }
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const WPARAM key = message->wParam;
        char character = 0;
        if (key >= 'A' && key <= 'Z') {
            character = static_cast<char>(key - 'A' + 'a');
        } else if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_TAB || key == VK_RETURN ||
                   key == VK_BACK || key == VK_ESCAPE) {
            character = static_cast<char>(key);
        }
        if (character != 0) {
            PostMessageA(message->hwnd, message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                         static_cast<WPARAM>(static_cast<unsigned char>(character)), message->lParam);
        }
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: return TRUE;
    default: return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;  // thread messages have no window procedure
    }
    const std::shared_ptr<Window> window = findOrFail(message->hwnd);
    if (!window) {
        return 0;
    }
    return callProcedure(window, message->message, message->wParam, message->lParam);
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    if (!findOrFail(window)) {
        return FALSE;
    }
    return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int size) {
    if (text == nullptr || size <= 0) {
        return 0;
    }
    text[0] = '\0';
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return 0;
    }
    if (window->queue->threadId == currentThreadId()) {
        return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(size),
                                             reinterpret_cast<LPARAM>(text)));
    }
    std::lock_guard<std::mutex> lock(state().mutex);
    const std::size_t length = std::min<std::size_t>(window->text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(text, window->text.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

int WINAPI GetWindowTextLengthA(HWND handle) {
    const std::shared_ptr<Window> window = findOrFail(handle);
    if (!window) {
        return 0;
    }
    if (window->queue->threadId == currentThreadId()) {
        return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
    }
    std::lock_guard<std::mutex> lock(state().mutex);
    return static_cast<int>(window->text.size());
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    State& all = state();
    std::lock_guard<std::mutex> lock(all.mutex);
    std::shared_ptr<WindowClass> wanted;
    if (className != nullptr) {
        wanted = findClassLocked(all, className);
        if (!wanted) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
    }
    for (const std::shared_ptr<Window>& window : all.slots) {
        if (window && window->parent == nullptr && !window->messageOnly && !window->destroying &&
            (!wanted || window->windowClass == wanted) &&
            (windowName == nullptr || strcasecmp(window->text.c_str(), windowName) == 0)) {
            return window->handle;
        }
    }
    SetLastError(ERROR_SUCCESS);
    return nullptr;
}

void WINAPI InitCommonControls(void) {}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    if (controls == nullptr || controls->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    return TRUE;
}

}  // extern "C"
