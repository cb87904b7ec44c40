#include "support/Locales.h"

namespace support {

const char* latin1Locale() { return "French_France.1252"; }
const char* greekLocale() { return "Greek_Greece.1253"; }

}  // namespace support
