// Locales with an 8-bit character set, for the tests of case folding: the
// runtime's toupper folds more than A to Z in them.
#ifndef QUEN_TESTS_SUPPORT_LOCALES_H
#define QUEN_TESTS_SUPPORT_LOCALES_H

#include <gtest/gtest.h>

#include <string>

namespace support {

// A name for setlocale (and, on Linux, newlocale) of a Western European
// locale in Latin-1 (Linux) or code page 1252 (Windows), where 0xE9 and
// 0xC9 fold alike.
const char* latin1Locale();

// The same for a Greek locale in ISO-8859-7 or code page 1253, where 0xFC
// folds to 0xBC (and 0xDC to 0xB6), where Latin-1 folds 0xFC to 0xDC.
const char* greekLocale();

// Success when, in the calling thread's locale now, ICharTraits<char> folds
// every pair of bytes as the runtime's toupper does (eq and lt), and the
// searches of each byte in a text of all bytes find what toupper says.
::testing::AssertionResult foldsAsToupper();

// Success when every search of StdString gives what the base string's member
// (position by position through the traits) gives, in the calling thread's
// locale, from every start, on random texts over the alphabet (its first two
// letters most often) and needles over its first four letters.
::testing::AssertionResult searchesAsTheBaseString(const std::string& alphabet, unsigned int seed);

}  // namespace support

#endif
