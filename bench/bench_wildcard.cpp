// WildString::match against glibc's fnmatch (FNM_CASEFOLD | FNM_NOESCAPE,
// which gives '*' and '?' the same meaning and '.' no special one) on a
// corpus of file names with typical patterns, and on hostile patterns that
// make a backtracking matcher take exponential time. For the hostile cases
// the subject is also doubled, to show the time growing linearly.
#include <fnmatch.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Measure.h"
#include "quen/strings/WildString.h"

namespace {

// File names as a disk holds them: photos, reports, logs, documents and
// sources, in mixed case, with and without numbers.
std::vector<std::string> makeNames(std::size_t count) {
    const char* const stems[] = {"IMG_", "report", "Report_", "notes", "README", "data-", "backup", "scan",
                                 "invoice", "archive", "main", "Setup", "log", "photo", "draft", "page"};
    const char* const extensions[] = {".txt", ".TXT", ".dat", ".jpg", ".JPG", ".png", ".cpp", ".h",
                                      ".tar.gz", ".log", ".csv", ".docx", "", ".bak", ".xml", ".pdf"};
    std::mt19937 random(1999);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = stems[random() % 16];
        switch (random() % 4) {
        case 0: {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(random() % 10000));
            name += digits;
            break;
        }
        case 1: name += std::to_string(random() % 1000); break;
        case 2: name += "_final_version"; break;
        default: break;
        }
        name += extensions[random() % 16];
        names.push_back(name);
    }
    return names;
}

struct Timing {
    double quen;
    double fnmatch;
};

// Matches every name against the pattern with both matchers; the two must
// agree on every name.
bool measure(const char* pattern, const std::vector<std::string>& names, const std::vector<quen::StdString>& subjects,
             int runs, Timing& timing) {
    const quen::WildString wild(pattern);
    std::size_t ours = 0;
    std::size_t theirs = 0;
    timing.quen = bench::bestSeconds(runs, [&] {
        ours = 0;
        for (const quen::StdString& subject : subjects) {
            ours += wild.match(subject, 0, 0) ? 1 : 0;
        }
    });
    timing.fnmatch = bench::bestSeconds(runs, [&] {
        theirs = 0;
        for (const std::string& name : names) {
            theirs += fnmatch(pattern, name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0 ? 1 : 0;
        }
    });
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool a = wild.match(subjects[i], 0, 0);
        const bool b = fnmatch(pattern, names[i].c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0;
        if (a != b) {
            std::printf("MISMATCH: pattern '%s', name of %zu characters: quen %d, fnmatch %d\n", pattern,
                        names[i].size(), a, b);
            return false;
        }
    }
    (void)ours;
    (void)theirs;
    return true;
}

}  // namespace

int main() {
    const std::vector<std::string> names = makeNames(50000);
    std::vector<quen::StdString> subjects;
    for (const std::string& name : names) {
        subjects.emplace_back(name.c_str());
    }

    std::printf("WildString::match against fnmatch(FNM_CASEFOLD | FNM_NOESCAPE)\n");
    std::printf("typical patterns over %zu file names:\n", names.size());
    const char* const typical[] = {"*.txt", "report*.dat", "IMG_????.jpg", "*a*.*", "*", "readme", "*_final*.*"};
    double quenTotal = 0;
    double fnmatchTotal = 0;
    for (const char* pattern : typical) {
        Timing timing{};
        if (!measure(pattern, names, subjects, 40, timing)) {
            return 1;
        }
        quenTotal += timing.quen;
        fnmatchTotal += timing.fnmatch;
        const std::string label = std::string("  '") + pattern + "'";
        bench::report(label.c_str(), timing.quen, "fnmatch", timing.fnmatch, 1.0);
    }
    bench::report("  all typical patterns", quenTotal, "fnmatch", fnmatchTotal, 1.0);

    std::string stars(100000, '*');
    const std::string manyStars = stars + "b" + stars;
    const char* const hostile[] = {
        "*a*a*a*a*a*a*a*a*a*a*b",
        "*a*a*a*a*a*a*a*a*a*a*ba*",
        "*aaaaaaaaab*",
        "*a?a?a?a?a*a*b*",
        manyStars.c_str(),
    };
    std::printf("hostile patterns against runs of 'a' (time at 20000 and 40000 characters):\n");
    for (const char* pattern : hostile) {
        Timing small{};
        Timing large{};
        const std::vector<std::string> smallSubject{std::string(20000, 'a')};
        const std::vector<std::string> largeSubject{std::string(40000, 'a')};
        if (!measure(pattern, smallSubject, {quen::StdString(smallSubject[0].c_str())}, 15, small) ||
            !measure(pattern, largeSubject, {quen::StdString(largeSubject[0].c_str())}, 15, large)) {
            return 1;
        }
        std::string shown(pattern);
        if (shown.size() > 30) {
            shown = "100000 stars, 'b', 100000 stars";
        }
        bench::report(("  '" + shown + "', 20000").c_str(), small.quen, "fnmatch", small.fnmatch, 1.0);
        bench::report(("  '" + shown + "', 40000").c_str(), large.quen, "fnmatch", large.fnmatch, 1.0);
        std::printf("  %-42s quen grows %.2fx, fnmatch %.2fx for twice the subject\n", "", large.quen / small.quen,
                    large.fnmatch / small.fnmatch);
    }
    return 0;
}
