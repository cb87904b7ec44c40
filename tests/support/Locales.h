// Locales with an 8-bit character set, where toupper folds more than A to Z, for the tests of case folding.
#ifndef QUEN_TESTS_SUPPORT_LOCALES_H
#define QUEN_TESTS_SUPPORT_LOCALES_H

#include <gtest/gtest.h>

#include <string>

namespace support {

// Names for setlocale (and newlocale): Latin-1 or code page 1252, where 0xE9
// and 0xC9 fold alike; ISO-8859-7 or code page 1253, where 0xFC folds to 0xBC.
const char* latin1Locale();
const char* greekLocale();

// ICharTraits<char> folds every pair of bytes as toupper does in the calling
// thread's locale (eq and lt), and the searches of each byte agree with it.
::testing::AssertionResult foldsAsToupper();

// Every search of StdString gives what the base string's member gives, from every start, on random texts over
// the alphabet and needles over its first four letters.
::testing::AssertionResult searchesAsTheBaseString(const std::string& alphabet, unsigned int seed);

}  // namespace support

#endif
