// The registry calls over an SQLite store.
//
// Layout of the store: a table of keys (id, parent, name as created, name
// folded to upper case) and a table of values (key, a number counting up in
// creation order, name, folded name, type, data). The roots have parent 0.
// The application id and user version mark the file as ours; a file with
// other marks, or no database at all, is never written to.
#include "quen/platform/posix/Registry.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "quen/platform/posix/Errors.h"

namespace {

const std::size_t maxKeyName = 255;
const std::size_t maxValueName = 16383;
const int storeApplicationId = 0x5155454E;  // "QUEN"
const int storeVersion = 1;
// Statements that still find the store locked after the busy handler gave up
// are tried again this many times.
const int busyRetries = 3;

// The store's file and the two SQLite keeps beside it in write-ahead-log mode.
const char* const companionSuffixes[] = {"", "-wal", "-shm"};

const char* const rootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CURRENT_CONFIG"};
const std::size_t rootCount = sizeof rootNames / sizeof rootNames[0];

int rootIndex(HKEY key) {
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                          HKEY_CURRENT_CONFIG};
    for (std::size_t i = 0; i < rootCount; ++i) {
        if (roots[i] == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Names compare and sort by their upper-case form. Only A to Z fold: names
// are bytes in no particular code page here.
std::string folded(const char* name, std::size_t length) {
    std::string result(name, length);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

bool isStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

LONG errorFromSqlite(int code, bool writing) {
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return ERROR_SUCCESS;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return ERROR_BADDB;
    case SQLITE_FULL:
        return ERROR_DISK_FULL;
    case SQLITE_CANTOPEN:
        return ERROR_CANTOPEN;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    default:
        return writing ? ERROR_CANTWRITE : ERROR_CANTREAD;
    }
}

// Waits for another process's write to end: short sleeps at first, since
// writes take microseconds, growing to 5 ms; gives up after about 5 s.
int waitWhileBusy(void*, int attempt) {
    if (attempt > 1100) {
        return 0;
    }
    long micros = 20L << (attempt < 8 ? attempt : 8);
    if (micros > 5000) {
        micros = 5000;
    }
    const struct timespec pause = {0, micros * 1000};
    nanosleep(&pause, nullptr);
    return 1;
}

// Resets a statement (and its bindings) when a call is done with it.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
    ~StatementUse() {
        if (statement_ != nullptr) {
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
        }
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

// Steps a statement, trying again while another process holds the store.
int step(sqlite3_stmt* statement) {
    int result = SQLITE_OK;
    for (int attempt = 0;; ++attempt) {
        result = sqlite3_step(statement);
        if ((result != SQLITE_BUSY && result != SQLITE_LOCKED) || attempt >= busyRetries) {
            return result;
        }
        sqlite3_reset(statement);
    }
}

// Steps a query that answers at most one row: ERROR_SUCCESS with the row at
// hand, `none` when there is no row.
LONG fetch(sqlite3_stmt* statement, LONG none) {
    const int result = step(statement);
    if (result == SQLITE_ROW) {
        return ERROR_SUCCESS;
    }
    return result == SQLITE_DONE ? none : errorFromSqlite(result, false);
}

// Steps a statement that writes and answers no row.
LONG execute(sqlite3_stmt* statement) {
    const int result = step(statement);
    return result == SQLITE_DONE ? ERROR_SUCCESS : errorFromSqlite(result, true);
}

enum StatementId {
    findKey,
    insertKey,
    keyAt,
    findValue,
    writeValue,
    valueAt,
    removeValue,
    begin,
    commit,
    rollback,
    statementCount
};

const char* const statementTexts[statementCount] = {
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
    "SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2",
    ("INSERT INTO vals(key, seq, name, fold, type, data)"
     " VALUES(?1, (SELECT coalesce(max(seq), 0) + 1 FROM vals WHERE key = ?1), ?2, ?3, ?4, ?5)"
     " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data"),
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY seq LIMIT 1 OFFSET ?2",
    "DELETE FROM vals WHERE key = ?1 AND fold = ?2",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

const char* const schema =
    "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, name TEXT NOT NULL,"
    " fold TEXT NOT NULL, UNIQUE(parent, fold));"
    // Values lie in the order they were made under their key (seq counts
    // up per key); the unique index finds them by name.
    "CREATE TABLE vals(key INTEGER NOT NULL, seq INTEGER NOT NULL, name TEXT NOT NULL, fold TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, seq)) WITHOUT ROWID;"
    "CREATE UNIQUE INDEX vals_by_name ON vals(key, fold);";

class Store {
public:
    ~Store() { close(); }

    // Opens the store file, making it (with the roots) when it is new.
    static LONG open(const std::string& path, std::shared_ptr<Store>& result);

    bool isOpen() const { return db_ != nullptr; }
    // Whether the file was found deleted or replaced (the store is closed).
    bool isGone() const { return gone_; }
    // The name it was opened by (QUEN_REGISTRY's, perhaps relative).
    const std::string& name() const { return name_; }

    // Whether the path still names the file this store has open. A file
    // deleted or replaced meanwhile would take writes that no other process
    // reads, and lose them at exit: such a store is closed at once and stays
    // gone. Its log and index go too, while they are still the ones it has
    // open: SQLite finds them beside a file by the path's name, so a store
    // made or moved there next would take this one's log for its own (and
    // SQLite itself leaves them when the file has moved). One stat, so it is
    // asked before writes and when the roots are reached, not before every
    // read.
    bool stillAtPath() {
        if (db_ != nullptr && files_[0].stillAt(path_)) {
            return true;
        }
        if (db_ != nullptr) {
            gone_ = true;
            for (std::size_t i = 1; i < 3; ++i) {
                const std::string companion = path_ + companionSuffixes[i];
                if (files_[i].stillAt(companion)) {
                    unlink(companion.c_str());
                }
            }
        }
        close();
        return false;
    }
    sqlite3_int64 root(int index) const { return roots_[index]; }

    sqlite3_stmt* statement(StatementId id) {
        if (statements_[id] == nullptr) {
            sqlite3_prepare_v3(db_, statementTexts[id], -1, SQLITE_PREPARE_PERSISTENT, &statements_[id], nullptr);
        }
        return statements_[id];
    }

    void close() {
        for (sqlite3_stmt*& statement : statements_) {
            sqlite3_finalize(statement);
            statement = nullptr;
        }
        if (db_ != nullptr) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
        }
    }

    // The sub-key `name` of `parent`.
    LONG find(sqlite3_int64 parent, const std::string& name, sqlite3_int64& id) {
        const StatementUse use(statement(findKey));
        if (use.get() == nullptr) {
            return errorFromSqlite(sqlite3_errcode(db_), false);
        }
        const std::string fold = folded(name.data(), name.size());
        sqlite3_bind_int64(use.get(), 1, parent);
        sqlite3_bind_text(use.get(), 2, fold.data(), static_cast<int>(fold.size()), SQLITE_STATIC);
        const LONG result = fetch(use.get(), ERROR_FILE_NOT_FOUND);
        if (result == ERROR_SUCCESS) {
            id = sqlite3_column_int64(use.get(), 0);
        }
        return result;
    }

    // Walks the names down from `parent`; `found` counts the keys that exist.
    LONG walk(sqlite3_int64 parent, const std::vector<std::string>& names, sqlite3_int64& id, std::size_t& found) {
        id = parent;
        for (found = 0; found < names.size(); ++found) {
            sqlite3_int64 next = 0;
            const LONG result = find(id, names[found], next);
            if (result != ERROR_SUCCESS) {
                return result;
            }
            id = next;
        }
        return ERROR_SUCCESS;
    }

    LONG insert(sqlite3_int64 parent, const std::string& name, sqlite3_int64& id) {
        const StatementUse use(statement(insertKey));
        if (use.get() == nullptr) {
            return errorFromSqlite(sqlite3_errcode(db_), true);
        }
        const std::string fold = folded(name.data(), name.size());
        sqlite3_bind_int64(use.get(), 1, parent);
        sqlite3_bind_text(use.get(), 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        sqlite3_bind_text(use.get(), 3, fold.data(), static_cast<int>(fold.size()), SQLITE_STATIC);
        const LONG result = execute(use.get());
        if (result == ERROR_SUCCESS) {
            id = sqlite3_last_insert_rowid(db_);
        }
        return result;
    }

    LONG run(StatementId id) {
        const StatementUse use(statement(id));
        if (use.get() == nullptr) {
            return errorFromSqlite(sqlite3_errcode(db_), true);
        }
        return execute(use.get());
    }

    sqlite3* db() const { return db_; }

private:
    Store() = default;
    LONG prepare();
    LONG createSchema();

    // Which file a name stood for when the store opened it.
    struct FileIdentity {
        bool present = false;
        dev_t device = 0;
        ino_t inode = 0;
        void take(const std::string& name) {
            struct stat status;
            present = stat(name.c_str(), &status) == 0;
            device = present ? status.st_dev : 0;
            inode = present ? status.st_ino : 0;
        }
        bool stillAt(const std::string& name) const {
            struct stat status;
            return present && stat(name.c_str(), &status) == 0 && status.st_dev == device && status.st_ino == inode;
        }
    };

    sqlite3* db_ = nullptr;
    std::string name_;
    std::string path_;  // absolute, so that a change of folder changes nothing
    FileIdentity files_[3];  // the store, its log, its index
    bool gone_ = false;
    sqlite3_int64 roots_[rootCount] = {};
    sqlite3_stmt* statements_[statementCount] = {};
};

// One integer answer of a query; false when the query fails.
bool queryInt(sqlite3* db, const char* sql, sqlite3_int64& value, int& error) {
    sqlite3_stmt* statement = nullptr;
    error = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (error != SQLITE_OK) {
        sqlite3_finalize(statement);
        return false;
    }
    error = step(statement);
    const bool found = error == SQLITE_ROW;
    value = found ? sqlite3_column_int64(statement, 0) : 0;
    if (error == SQLITE_ROW || error == SQLITE_DONE) {
        error = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return error == SQLITE_OK;
}

// Makes the tables and the keys every registry has. Run in a write
// transaction after looking again, since another process may have made
// them meanwhile.
LONG Store::createSchema() {
    LONG result = run(begin);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    sqlite3_int64 application = 0;
    int error = SQLITE_OK;
    if (!queryInt(db_, "PRAGMA application_id", application, error)) {
        run(rollback);
        return errorFromSqlite(error, true);
    }
    if (application == storeApplicationId) {
        return run(commit);
    }
    const std::string setup = std::string(schema) + "PRAGMA application_id = " +
                              std::to_string(storeApplicationId) + "; PRAGMA user_version = " +
                              std::to_string(storeVersion) + ";";
    error = sqlite3_exec(db_, setup.c_str(), nullptr, nullptr, nullptr);
    result = errorFromSqlite(error, true);
    for (std::size_t i = 0; i < rootCount && result == ERROR_SUCCESS; ++i) {
        sqlite3_int64 id = 0;
        result = insert(0, rootNames[i], id);
        if (result == ERROR_SUCCESS && (i == 1 || i == 2)) {
            sqlite3_int64 software = 0;
            result = insert(id, "Software", software);
        }
    }
    if (result != ERROR_SUCCESS) {
        run(rollback);
        return result;
    }
    return run(commit);
}

LONG Store::prepare() {
    sqlite3_busy_handler(db_, waitWhileBusy, nullptr);
    // Look before touching anything: the file may be someone else's
    // database, or no database at all.
    sqlite3_int64 application = 0;
    sqlite3_int64 version = 0;
    sqlite3_int64 tables = 0;
    int error = SQLITE_OK;
    if (!queryInt(db_, "PRAGMA application_id", application, error) ||
        !queryInt(db_, "PRAGMA user_version", version, error) ||
        !queryInt(db_, "SELECT count(*) FROM sqlite_master", tables, error)) {
        return errorFromSqlite(error, false);
    }
    const bool ours = application == storeApplicationId && version == storeVersion;
    const bool empty = application == 0 && version == 0 && tables == 0;
    if (!ours && !empty) {
        return ERROR_BADDB;
    }
    // Readers and one writer at a time, from any number of processes; a
    // commit is in the file (the write-ahead log) when the call returns, so
    // it survives the writer's crash. A power cut may lose the last commits
    // but never breaks the store, as with the Windows registry's lazy flush.
    sqlite3_exec(db_, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    if (empty) {
        const LONG result = createSchema();
        if (result != ERROR_SUCCESS) {
            return result;
        }
    }
    for (std::size_t i = 0; i < rootCount; ++i) {
        const LONG result = find(0, rootNames[i], roots_[i]);
        if (result != ERROR_SUCCESS) {
            return result == ERROR_FILE_NOT_FOUND ? ERROR_BADDB : result;
        }
    }
    return ERROR_SUCCESS;
}

// Makes the folders above the default store file.
void makeFolders(const std::string& file) {
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        mkdir(file.substr(0, slash).c_str(), 0700);
    }
}

LONG Store::open(const std::string& path, std::shared_ptr<Store>& result) {
    if (path.empty()) {
        return ERROR_CANTOPEN;
    }
    std::shared_ptr<Store> store(new Store);
    store->name_ = path;
    store->path_ = path;
    if (path[0] != '/') {
        char folder[4096];
        if (getcwd(folder, sizeof folder) == nullptr) {
            return ERROR_CANTOPEN;
        }
        store->path_ = std::string(folder) + "/" + path;
    }
    const std::string& file = store->path_;
    const int error = sqlite3_open_v2(file.c_str(), &store->db_,
                                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    store->files_[0].take(file);
    if (error != SQLITE_OK || !store->files_[0].present) {
        store->close();
        return ERROR_CANTOPEN;
    }
    const LONG prepared = store->prepare();
    if (prepared != ERROR_SUCCESS) {
        store->close();
        return prepared;
    }
    // In write-ahead-log mode both are open now, and stay while the store is.
    for (std::size_t i = 1; i < 3; ++i) {
        store->files_[i].take(file + companionSuffixes[i]);
    }
    result = store;
    return ERROR_SUCCESS;
}

struct OpenKey {
    std::shared_ptr<Store> store;
    sqlite3_int64 id = 0;
    REGSAM access = 0;
};

class State {
public:
    std::mutex mutex;

    // The key behind a handle; the roots are those of the current store.
    LONG resolve(HKEY key, OpenKey& open) {
        const int root = rootIndex(key);
        if (root >= 0) {
            const LONG result = currentStore(open.store);
            if (result != ERROR_SUCCESS) {
                return result;
            }
            open.id = open.store->root(root);
            open.access = KEY_ALL_ACCESS;
            return ERROR_SUCCESS;
        }
        const auto found = handles_.find(reinterpret_cast<std::uintptr_t>(key));
        if (found == handles_.end()) {
            return ERROR_INVALID_HANDLE;
        }
        // A handle on a store whose file went is a handle on a deleted key.
        if (!found->second.store->isOpen()) {
            return found->second.store->isGone() ? ERROR_KEY_DELETED : ERROR_INVALID_HANDLE;
        }
        open = found->second;
        return ERROR_SUCCESS;
    }

    HKEY add(const OpenKey& open) {
        // Small multiples of four, as Windows hands out, far from the roots.
        nextHandle_ += 4;
        if (nextHandle_ >= 0x40000000u) {
            nextHandle_ = 0x1000;
        }
        while (handles_.count(nextHandle_) != 0) {
            nextHandle_ += 4;
        }
        handles_[nextHandle_] = open;
        return reinterpret_cast<HKEY>(nextHandle_);
    }

    bool remove(HKEY key) { return handles_.erase(reinterpret_cast<std::uintptr_t>(key)) != 0; }

    // At exit: close the stores, so that their logs are folded back into
    // the files. Handles still open fail from then on.
    void closeAll() {
        for (auto& entry : handles_) {
            entry.second.store->close();
        }
        if (current_) {
            current_->close();
            current_.reset();
        }
    }

private:
    LONG currentStore(std::shared_ptr<Store>& store) {
        const std::string path = quen::posix::registryStoreFile();
        if (!current_ || !current_->isOpen() || current_->name() != path || !current_->stillAtPath()) {
            if (std::getenv("QUEN_REGISTRY") == nullptr || *std::getenv("QUEN_REGISTRY") == '\0') {
                makeFolders(path);
            }
            std::shared_ptr<Store> opened;
            const LONG result = Store::open(path, opened);
            if (result != ERROR_SUCCESS) {
                return result;
            }
            current_ = opened;
        }
        store = current_;
        return ERROR_SUCCESS;
    }

    std::unordered_map<std::uintptr_t, OpenKey> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
    std::shared_ptr<Store> current_;
};

class StateCloser {
public:
    explicit StateCloser(State& state) : state_(state) {}
    ~StateCloser() {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.closeAll();
    }
    StateCloser(const StateCloser&) = delete;
    StateCloser& operator=(const StateCloser&) = delete;

private:
    State& state_;
};

// The state lives until the process ends (registry handles may be closed by
// static destructors anywhere); only the databases are closed at exit.
State& state() {
    static State* const theState = new State;
    static StateCloser closer(*theState);
    return *theState;
}

REGSAM effectiveAccess(REGSAM access) {
    if (access & (GENERIC_ALL | MAXIMUM_ALLOWED)) {
        access |= KEY_ALL_ACCESS;
    }
    if (access & (GENERIC_READ | GENERIC_EXECUTE)) {
        access |= KEY_READ;
    }
    if (access & GENERIC_WRITE) {
        access |= KEY_WRITE;
    }
    return access;
}

// A sub-key path: names between backslashes, empty ones skipped; a leading
// backslash is refused as on Windows.
LONG splitSubKey(LPCSTR subKey, std::vector<std::string>& names) {
    if (subKey == nullptr) {
        return ERROR_SUCCESS;
    }
    if (subKey[0] == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    const char* start = subKey;
    for (const char* p = subKey;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (p > start) {
                if (static_cast<std::size_t>(p - start) > maxKeyName) {
                    return ERROR_INVALID_PARAMETER;
                }
                names.emplace_back(start, p);
            }
            if (*p == '\0') {
                return ERROR_SUCCESS;
            }
            start = p + 1;
        }
    }
}

// Whether a statement changes the store: its failures are failures to write.
bool writes(StatementId id) {
    return id != findKey && id != keyAt && id != findValue && id != valueAt;
}

// One Reg* call on a key handle, holding the registry's lock from start to
// end. The members go in reverse order: the statement is reset first, while
// the key's store is still held and the lock still taken.
class KeyCall {
public:
    KeyCall() : registry_(state()), lock_(registry_.mutex) {}
    KeyCall(const KeyCall&) = delete;
    KeyCall& operator=(const KeyCall&) = delete;

    // The key a sub-key path starts from, whatever access its handle has,
    // and the path's names. A bad handle outranks a bad path.
    LONG openPath(HKEY key, LPCSTR subKey, std::vector<std::string>& names) {
        const LONG split = splitSubKey(subKey, names);
        root_ = rootIndex(key) >= 0;
        const LONG resolved = registry_.resolve(key, key_);
        return resolved != ERROR_SUCCESS ? resolved : split;
    }

    // The key behind the handle, when that was opened with the right the
    // call needs.
    LONG open(HKEY key, REGSAM needed) {
        root_ = rootIndex(key) >= 0;
        const LONG resolved = registry_.resolve(key, key_);
        if (resolved != ERROR_SUCCESS) {
            return resolved;
        }
        return (key_.access & needed) != 0 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }

    // Before a write: the key's store is still the file at its path (the
    // roots were just looked at). Asked before any statement is in use, as
    // a store found gone is closed.
    LONG stillAtPath() {
        return root_ || key_.store->stillAtPath() ? ERROR_SUCCESS : ERROR_KEY_DELETED;
    }

    // The call's statement, with the key bound to ?1.
    LONG prepare(StatementId id) {
        use_.emplace(key_.store->statement(id));
        if (statement() == nullptr) {
            return errorFromSqlite(sqlite3_errcode(db()), writes(id));
        }
        sqlite3_bind_int64(statement(), 1, key_.id);
        return ERROR_SUCCESS;
    }

    // Both, for the calls that check nothing of their own in between.
    LONG open(HKEY key, REGSAM needed, StatementId id) {
        const LONG opened = open(key, needed);
        return opened != ERROR_SUCCESS ? opened : prepare(id);
    }

    // Binds a name in its folded form, which lives as long as the call, as
    // the statement reads it in place.
    void bindFolded(int index, const char* name, std::size_t length) {
        fold_ = folded(name, length);
        sqlite3_bind_text(statement(), index, fold_.data(), static_cast<int>(fold_.size()), SQLITE_STATIC);
    }

    // Steps an enumeration's statement to the row at the index, bound to ?2;
    // ERROR_NO_MORE_ITEMS past the last.
    LONG fetchAt(DWORD index) {
        sqlite3_bind_int64(statement(), 2, index);
        return fetch(statement(), ERROR_NO_MORE_ITEMS);
    }

    // A new handle on the key, or on the one a walk reached, with the access
    // asked for.
    HKEY handOut(REGSAM access) {
        key_.access = effectiveAccess(access);
        return registry_.add(key_);
    }

    OpenKey& key() { return key_; }
    sqlite3_stmt* statement() const { return use_->get(); }
    sqlite3* db() const { return key_.store->db(); }

private:
    State& registry_;
    std::lock_guard<std::mutex> lock_;
    OpenKey key_;
    bool root_ = false;
    std::string fold_;
    std::optional<StatementUse> use_;
};

}  // namespace

namespace quen {
namespace posix {

std::string registryStoreFile() {
    const char* chosen = std::getenv("QUEN_REGISTRY");
    if (chosen != nullptr && *chosen != '\0') {
        return chosen;
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/quen/registry.sqlite3";
    }
    std::string home;
    const char* homeVariable = std::getenv("HOME");
    if (homeVariable != nullptr && *homeVariable != '\0') {
        home = homeVariable;
    } else {
        struct passwd entry;
        struct passwd* found = nullptr;
        char buffer[4096];
        if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
            found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    if (home.empty()) {
        return std::string();
    }
    return home + "/.config/quen/registry.sqlite3";
}

}  // namespace posix
}  // namespace quen

extern "C" {

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    KeyCall call;
    std::vector<std::string> names;
    LONG status = call.openPath(key, subKey, names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (names.empty() && rootIndex(key) >= 0) {
        *result = key;
        return ERROR_SUCCESS;
    }
    OpenKey& open = call.key();
    std::size_t found = 0;
    status = open.store->walk(open.id, names, open.id, found);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    *result = call.handOut(access);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES,
                            PHKEY result, LPDWORD disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    KeyCall call;
    std::vector<std::string> names;
    LONG status = call.openPath(key, subKey, names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (names.empty() && rootIndex(key) >= 0) {
        *result = key;
        if (disposition != nullptr) {
            *disposition = REG_OPENED_EXISTING_KEY;
        }
        return ERROR_SUCCESS;
    }
    // Most calls find the key there already: look first, write only when
    // something is missing.
    OpenKey& open = call.key();
    Store& store = *open.store;
    const sqlite3_int64 parent = open.id;
    std::size_t found = 0;
    status = store.walk(parent, names, open.id, found);
    DWORD outcome = REG_OPENED_EXISTING_KEY;
    if (status == ERROR_FILE_NOT_FOUND) {
        // No right of the handle is needed: Windows checks the security of
        // the key, which here grants everything to its user.
        status = call.stillAtPath();
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = store.run(begin);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        // Walk again inside the transaction: another process may have
        // made some of the keys meanwhile.
        status = store.walk(parent, names, open.id, found);
        if (status == ERROR_FILE_NOT_FOUND) {
            status = ERROR_SUCCESS;
            for (std::size_t i = found; i < names.size() && status == ERROR_SUCCESS; ++i) {
                status = store.insert(open.id, names[i], open.id);
            }
            outcome = REG_CREATED_NEW_KEY;
        }
        if (status == ERROR_SUCCESS) {
            status = store.run(commit);
        }
        if (status != ERROR_SUCCESS) {
            store.run(rollback);
            return status;
        }
    } else if (status != ERROR_SUCCESS) {
        return status;
    }
    *result = call.handOut(access);
    if (disposition != nullptr) {
        *disposition = outcome;
    }
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyCall call;
    LONG status = call.open(key, KEY_QUERY_VALUE, findValue);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const char* name = valueName != nullptr ? valueName : "";
    call.bindFolded(2, name, std::strlen(name));
    status = fetch(call.statement(), ERROR_FILE_NOT_FOUND);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    sqlite3_stmt* const row = call.statement();
    const DWORD storedType = static_cast<DWORD>(sqlite3_column_int64(row, 0));
    const void* stored = sqlite3_column_blob(row, 1);
    const DWORD size = static_cast<DWORD>(sqlite3_column_bytes(row, 1));
    if (type != nullptr) {
        *type = storedType;
    }
    if (dataSize == nullptr) {
        return ERROR_SUCCESS;
    }
    if (data != nullptr) {
        if (size > *dataSize) {
            *dataSize = size;
            return ERROR_MORE_DATA;
        }
        if (size > 0) {
            std::memcpy(data, stored, size);
        }
        // As Windows does: a string stored without its terminating zero
        // gets one in the caller's buffer when there is room, uncounted.
        if (isStringType(storedType) && size < *dataSize && (size == 0 || data[size - 1] != 0)) {
            data[size] = 0;
        }
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    KeyCall call;
    LONG status = call.open(key, KEY_SET_VALUE);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const char* name = valueName != nullptr ? valueName : "";
    const std::size_t nameLength = std::strlen(name);
    if (nameLength > maxValueName) {
        return ERROR_INVALID_PARAMETER;
    }
    if (data == nullptr && dataSize != 0) {
        return ERROR_NOACCESS;
    }
    status = call.stillAtPath();
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = call.prepare(writeValue);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    sqlite3_stmt* const statement = call.statement();
    sqlite3_bind_text(statement, 2, name, static_cast<int>(nameLength), SQLITE_STATIC);
    call.bindFolded(3, name, nameLength);
    sqlite3_bind_int64(statement, 4, type);
    if (dataSize == 0) {
        sqlite3_bind_zeroblob(statement, 5, 0);
    } else {
        sqlite3_bind_blob(statement, 5, data, static_cast<int>(dataSize), SQLITE_STATIC);
    }
    return execute(statement);
}

LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                          LPDWORD classLength, PFILETIME lastWriteTime) {
    if (name == nullptr || nameLength == nullptr || reserved != nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyCall call;
    LONG status = call.open(key, KEY_ENUMERATE_SUB_KEYS, keyAt);
    if (status == ERROR_SUCCESS) {
        status = call.fetchAt(index);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const void* found = sqlite3_column_text(call.statement(), 0);
    const DWORD length = static_cast<DWORD>(sqlite3_column_bytes(call.statement(), 0));
    if (length >= *nameLength) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, found, length);
    name[length] = '\0';
    *nameLength = length;
    // Keys have no class here, and no time of their last write.
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0) {
        keyClass[0] = '\0';
    }
    if (classLength != nullptr) {
        *classLength = 0;
    }
    if (lastWriteTime != nullptr) {
        lastWriteTime->dwLowDateTime = 0;
        lastWriteTime->dwHighDateTime = 0;
    }
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                          LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (valueName == nullptr || valueNameLength == nullptr || reserved != nullptr ||
        (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyCall call;
    LONG status = call.open(key, KEY_QUERY_VALUE, valueAt);
    if (status == ERROR_SUCCESS) {
        status = call.fetchAt(index);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    sqlite3_stmt* const row = call.statement();
    const void* foundName = sqlite3_column_text(row, 0);
    const DWORD length = static_cast<DWORD>(sqlite3_column_bytes(row, 0));
    const DWORD storedType = static_cast<DWORD>(sqlite3_column_int64(row, 1));
    const void* stored = sqlite3_column_blob(row, 2);
    const DWORD size = static_cast<DWORD>(sqlite3_column_bytes(row, 2));
    if (length >= *valueNameLength || (data != nullptr && size > *dataSize)) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return ERROR_MORE_DATA;
    }
    std::memcpy(valueName, foundName, length);
    valueName[length] = '\0';
    *valueNameLength = length;
    if (type != nullptr) {
        *type = storedType;
    }
    if (data != nullptr && size > 0) {
        std::memcpy(data, stored, size);
    }
    if (dataSize != nullptr) {
        *dataSize = size;
    }
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
    KeyCall call;
    LONG status = call.open(key, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS) {
        status = call.stillAtPath();
    }
    if (status == ERROR_SUCCESS) {
        status = call.prepare(removeValue);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const char* name = valueName != nullptr ? valueName : "";
    call.bindFolded(2, name, std::strlen(name));
    status = execute(call.statement());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return sqlite3_changes(call.db()) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegCloseKey(HKEY key) {
    if (rootIndex(key) >= 0) {
        return ERROR_SUCCESS;
    }
    State& registry = state();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
}
