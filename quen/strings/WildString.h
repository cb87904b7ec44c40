// A wildcard pattern that tests whether a subject string matches it.
//
//   '?'  exactly one character, whatever it is
//   '*'  any run of characters, the empty run included
//   '.'  only a '.'
//   any other character stands for itself, ignoring case as StdString does
//
// The match is anchored at both ends. A run of '*' and '?' that begins with
// '*' counts as a single '*', wherever it stands: 'abc*?' matches 'abc',
// and 'a*?b' matches 'ab'. The '?' of such a run do not each demand a
// character; one rule for every position is the one a user can predict.
#ifndef QUEN_STRINGS_WILDSTRING_H
#define QUEN_STRINGS_WILDSTRING_H

#include "quen/platform/Export.h"
#include "quen/strings/StdString.h"

namespace quen {

class QUEN_API WildString : public StdString {
public:
    static const char* version();

    // The pattern is copied up to its first zero byte.
    WildString(const char* pattern);
    WildString(const StdString& pattern);
    WildString(const WildString& other);
    ~WildString() override;

    WildString& operator=(const WildString& other);

    // True when the pattern from patternPos to its end matches the subject
    // from subjectPos to its end; 0 and 0 test the whole subject. Runs in
    // time linear in the subject, whatever the pattern holds, and without
    // recursion: the pattern is read once, and the subject once more at
    // most a few times. Only a segment holding '?' (a run between stars)
    // longer than 64 characters costs a word operation per 64 of its
    // characters for each subject character, and allocates its tables.
    // A position beyond the end of its string throws std::out_of_range.
    bool match(const StdString& subject, unsigned int patternPos, unsigned int subjectPos) const;

    // The literal comparison: the count characters of the pattern from
    // patternPos and those of the subject from subjectPos (each run cut at
    // the end of its string) have the same length and are equal ignoring
    // case. A count of 0 is always true; 4294967295 compares both remainders
    // to their ends. Positions are checked as by the other match.
    bool match(const StdString& subject, unsigned int patternPos, unsigned int subjectPos,
               unsigned int count) const;
};

}  // namespace quen

#endif
