// The one search every parser node makes: the first given byte in a range.
#ifndef QUEN_PARSER_ARENA_PARSERSCAN_H
#define QUEN_PARSER_ARENA_PARSERSCAN_H

#include <cstddef>
#include <cstring>

namespace quen {
namespace parserscan {

// The first c in [from, to), or null (also for an empty or reversed range).
// Most ranges are a field's few characters, for which a call to memchr costs
// more than looking at them; longer ones go to memchr.
inline char* find(char* from, char* to, char c) {
    if (to - from <= 16) {
        for (; from < to; ++from) {
            if (*from == c) {
                return from;
            }
        }
        return nullptr;
    }
    return static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(to - from)));
}

}  // namespace parserscan
}  // namespace quen

#endif
