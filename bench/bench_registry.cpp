// Registry::setValue and getValue on the Linux store against raw SQLite
// inserts and selects of the same rows, in one process and in two processes
// at once. The baseline table has the store's shape (a row per value, a
// unique index on key and folded name) and its settings (write-ahead log,
// every insert committed on its own).
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "Measure.h"
#include "quen/registry/Registry.h"
#include "quen/registry/RegistryQuenLtd.h"

namespace {

const int valueCount = 4000;
const char* const keyPath = "HKEY_CURRENT_USER\\Software\\QUEN Ltd.\\Bench";

std::string valueName(const std::string& prefix, int i) {
    return prefix + "value" + std::to_string(i);
}

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// --- quen -----------------------------------------------------------------

bool quenWrite(const std::string& prefix, int count) {
    quen::Registry key(keyPath, quen::Registry::registryRead | quen::Registry::registryWrite, true);
    bool ok = key.isValid();
    for (int i = 0; i < count && ok; ++i) {
        ok = key.setValue(quen::StdString(valueName(prefix, i).c_str()), i);
    }
    return ok;
}

bool quenRead(const std::string& prefix, int count) {
    quen::Registry key(keyPath, quen::Registry::registryRead, false);
    bool ok = key.isValid();
    for (int i = 0; i < count && ok; ++i) {
        int value = -1;
        ok = key.getValue(quen::StdString(valueName(prefix, i).c_str()), value) && value == i;
    }
    return ok;
}

// --- raw SQLite -----------------------------------------------------------

class Raw {
public:
    explicit Raw(const std::string& file) {
        sqlite3_open(file.c_str(), &db_);
        sqlite3_busy_timeout(db_, 5000);
        sqlite3_exec(db_, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
                          "CREATE TABLE IF NOT EXISTS vals(id INTEGER PRIMARY KEY, key INTEGER NOT NULL,"
                          " name TEXT NOT NULL, fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
                          " UNIQUE(key, fold))",
                     nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db_,
                           "INSERT INTO vals(key, name, fold, type, data) VALUES(1, ?1, ?2, 4, ?3)"
                           " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
                           -1, &insert_, nullptr);
        sqlite3_prepare_v2(db_, "SELECT type, data FROM vals WHERE key = 1 AND fold = ?1", -1, &select_, nullptr);
    }
    ~Raw() {
        sqlite3_finalize(insert_);
        sqlite3_finalize(select_);
        sqlite3_close(db_);
    }

    bool write(const std::string& prefix, int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = valueName(prefix, i);
            const std::string fold = upper(name);
            const unsigned char data[4] = {static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8),
                                           static_cast<unsigned char>(i >> 16), static_cast<unsigned char>(i >> 24)};
            sqlite3_bind_text(insert_, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert_, 2, fold.data(), static_cast<int>(fold.size()), SQLITE_TRANSIENT);
            sqlite3_bind_blob(insert_, 3, data, 4, SQLITE_TRANSIENT);
            const int result = sqlite3_step(insert_);
            sqlite3_reset(insert_);
            if (result != SQLITE_DONE) return false;
        }
        return true;
    }

    bool read(const std::string& prefix, int count) {
        bool ok = true;
        for (int i = 0; i < count && ok; ++i) {
            const std::string fold = upper(valueName(prefix, i));
            sqlite3_bind_text(select_, 1, fold.data(), static_cast<int>(fold.size()), SQLITE_TRANSIENT);
            ok = sqlite3_step(select_) == SQLITE_ROW && sqlite3_column_bytes(select_, 1) == 4;
            if (ok) {
                int value = 0;
                std::memcpy(&value, sqlite3_column_blob(select_, 1), 4);
                ok = value == i;
            }
            sqlite3_reset(select_);
        }
        return ok;
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

// --- two processes ----------------------------------------------------------

std::string self;

// Runs this program again as a worker: "worker quen|raw write|read FILE PREFIX COUNT".
pid_t startWorker(const char* kind, const char* operation, const std::string& file, const std::string& prefix,
                  int count) {
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string number = std::to_string(count);
        execl(self.c_str(), self.c_str(), "worker", kind, operation, file.c_str(), prefix.c_str(), number.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

bool twoWorkers(const char* kind, const char* operation, const std::string& file, const std::string& prefix) {
    const pid_t first = startWorker(kind, operation, file, prefix + "a", valueCount / 2);
    const pid_t second = startWorker(kind, operation, file, prefix + "b", valueCount / 2);
    int status = 0;
    bool ok = true;
    for (const pid_t pid : {first, second}) {
        ok = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}

int worker(char** argv) {
    const std::string kind = argv[2];
    const std::string operation = argv[3];
    const std::string file = argv[4];
    const std::string prefix = argv[5];
    const int count = std::atoi(argv[6]);
    bool ok = false;
    if (kind == "quen") {
        setenv("QUEN_REGISTRY", file.c_str(), 1);
        ok = operation == "write" ? quenWrite(prefix, count) : quenRead(prefix, count);
    } else {
        Raw raw(file);
        ok = operation == "write" ? raw.write(prefix, count) : raw.read(prefix, count);
    }
    return ok ? 0 : 1;
}

void rates(const char* what, double quenSeconds, double rawSeconds, int operations) {
    std::printf("  %-42s quen %9.0f ops/s   raw SQLite %9.0f ops/s\n", what, operations / quenSeconds,
                operations / rawSeconds);
}

}  // namespace

int main(int argc, char** argv) {
    self = argv[0];
    if (argc == 7 && std::strcmp(argv[1], "worker") == 0) {
        return worker(argv);
    }
    char folder[] = "/tmp/quen-bench-registry-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string quenFile = std::string(folder) + "/registry.sqlite3";
    const std::string rawFile = std::string(folder) + "/raw.sqlite3";
    setenv("QUEN_REGISTRY", quenFile.c_str(), 1);
    // The company key above the benchmark's own.
    if (!quen::RegistryQuenLtd(quen::Registry::registryWrite).isValid()) {
        std::printf("cannot make the company key in %s\n", quenFile.c_str());
        return 1;
    }
    std::printf("Registry values on the Linux store against raw SQLite, %d values a run\n", valueCount);

    bool ok = true;
    // Rounds alternate between quen and the baseline, so that both meet the
    // same load on the machine; each keeps its best round. Every write round
    // makes new rows, so that both sides insert rather than update.
    double quenWriteTime = 1e300, rawWriteTime = 1e300, quenReadTime = 1e300, rawReadTime = 1e300;
    double quenWrite2 = 1e300, rawWrite2 = 1e300, quenRead2 = 1e300, rawRead2 = 1e300;
    auto keepBest = [](double& best, double seconds) { best = seconds < best ? seconds : best; };
    {
        Raw raw(rawFile);
        for (int round = 0; round < 5; ++round) {
            const std::string prefix = "w" + std::to_string(round);
            keepBest(quenWriteTime, bench::bestSeconds(1, [&] { ok = quenWrite(prefix, valueCount) && ok; }));
            keepBest(rawWriteTime, bench::bestSeconds(1, [&] { ok = raw.write(prefix, valueCount) && ok; }));
        }
        for (int round = 0; round < 7; ++round) {
            keepBest(quenReadTime, bench::bestSeconds(1, [&] { ok = quenRead("w0", valueCount) && ok; }));
            keepBest(rawReadTime, bench::bestSeconds(1, [&] { ok = raw.read("w0", valueCount) && ok; }));
        }
    }
    for (int round = 0; round < 3; ++round) {
        const std::string prefix = "p" + std::to_string(round);
        keepBest(quenWrite2, bench::bestSeconds(1, [&] { ok = twoWorkers("quen", "write", quenFile, prefix) && ok; }));
        keepBest(rawWrite2, bench::bestSeconds(1, [&] { ok = twoWorkers("raw", "write", rawFile, prefix) && ok; }));
    }
    for (int round = 0; round < 3; ++round) {
        keepBest(quenRead2, bench::bestSeconds(1, [&] { ok = twoWorkers("quen", "read", quenFile, "p0") && ok; }));
        keepBest(rawRead2, bench::bestSeconds(1, [&] { ok = twoWorkers("raw", "read", rawFile, "p0") && ok; }));
    }

    bench::report("setValue, one process", quenWriteTime, "insert", rawWriteTime, 1.09);
    bench::report("getValue, one process", quenReadTime, "select", rawReadTime, 1.09);
    bench::report("setValue, two processes at once", quenWrite2, "insert", rawWrite2, 1.09);
    bench::report("getValue, two processes at once", quenRead2, "select", rawRead2, 1.09);
    rates("setValue / insert, one process", quenWriteTime, rawWriteTime, valueCount);
    rates("getValue / select, one process", quenReadTime, rawReadTime, valueCount);
    rates("setValue / insert, two processes", quenWrite2, rawWrite2, valueCount);
    rates("getValue / select, two processes", quenRead2, rawRead2, valueCount);
    for (const std::string& file : {quenFile, rawFile}) {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::remove((file + suffix).c_str());
        }
    }
    rmdir(folder);
    if (!ok) {
        std::printf("a run failed: its values were not all written or read back\n");
        return 1;
    }
    return 0;
}
