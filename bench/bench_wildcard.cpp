// WildString::match against glibc's fnmatch (FNM_CASEFOLD | FNM_NOESCAPE,
// which gives '*' and '?' the same meaning and '.' no special one) on a
// corpus of file names with typical patterns, and on hostile patterns that
// make a backtracking matcher take exponential time or a matcher that
// compares each literal in place take time of the pattern times the subject.
// For the hostile cases the subject is also doubled, to show the time growing
// linearly. Times are processor time of the thread (see Measure.h).
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
    bench::bestThreadSecondsAlternating(
        runs,
        [&] {
            ours = 0;
            for (const quen::StdString& subject : subjects) {
                ours += wild.match(subject, 0, 0) ? 1 : 0;
            }
        },
        timing.quen,
        [&] {
            theirs = 0;
            for (const std::string& name : names) {
                theirs += fnmatch(pattern, name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0 ? 1 : 0;
            }
        },
        timing.fnmatch);
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
    const std::string longLiteral = "*" + std::string(1000, 'a') + "b*";
    const std::string longQuestions = "*" + std::string(30, 'a') + "?" + std::string(30, 'a') + "b*";
    const std::string longestQuestions = "*" + std::string(500, 'a') + "?" + std::string(499, 'a') + "b*";
    // The time limit at 80000 characters: well under a millisecond; for a
    // segment holding '?' longer than 64 characters, for which the search
    // takes one 64-bit word operation per 64 segment characters at each
    // subject character (16 for 1000 characters), two milliseconds.
    struct Hostile {
        const char* pattern;
        const char* shown;
        double limit;
    };
    const Hostile hostile[] = {
        {"*a*a*a*a*a*a*a*a*a*a*b", nullptr, 0.25e-3},
        {"*a*a*a*a*a*a*a*a*a*a*ba*", nullptr, 0.25e-3},
        {"*aaaaaaaaab*", nullptr, 0.25e-3},
        {"*a?a?a?a?a*a*b*", nullptr, 0.25e-3},
        {manyStars.c_str(), "100000 stars, 'b', 100000 stars", 0.25e-3},
        {longLiteral.c_str(), "'*', 1000 'a', 'b*'", 0.25e-3},
        {longQuestions.c_str(), "'*', 30 'a', '?', 30 'a', 'b*'", 0.25e-3},
        {longestQuestions.c_str(), "'*', 500 'a', '?', 499 'a', 'b*'", 2e-3},
    };
    std::printf("hostile patterns against runs of 'a' (time at 40000 and 80000 characters):\n");
    for (const Hostile& h : hostile) {
        Timing small{};
        Timing large{};
        const std::vector<std::string> smallSubject{std::string(40000, 'a')};
        const std::vector<std::string> largeSubject{std::string(80000, 'a')};
        if (!measure(h.pattern, smallSubject, {quen::StdString(smallSubject[0].c_str())}, 7, small) ||
            !measure(h.pattern, largeSubject, {quen::StdString(largeSubject[0].c_str())}, 7, large)) {
            return 1;
        }
        const std::string shown = h.shown != nullptr ? h.shown : std::string("'") + h.pattern + "'";
        bench::report(("  " + shown + ", 40000").c_str(), small.quen, "fnmatch", small.fnmatch, 1.0);
        bench::report(("  " + shown + ", 80000").c_str(), large.quen, "fnmatch", large.fnmatch, 1.0);
        std::printf("  %-42s quen grows %.2fx, fnmatch %.2fx for twice the subject\n", "", large.quen / small.quen,
                    large.fnmatch / small.fnmatch);
        bench::reportLimit(("  " + shown + ", 80000").c_str(), large.quen, h.limit);
    }
    return 0;
}
