// The children of a parser node, in text order, owned by the array.
#ifndef QUEN_PARSER_PARSERARRAY_H
#define QUEN_PARSER_PARSERARRAY_H

#include <cstddef>
#include <vector>

#include "quen/platform/Export.h"

namespace quen {

class Parser;

class QUEN_API ParserArray : public std::vector<Parser*> {
public:
    static const char* version();

    ParserArray();
    // Deletes every node it holds, then its storage.
    virtual ~ParserArray();

    // The array owns its nodes: a copy would delete them twice.
    ParserArray(const ParserArray&) = delete;
    ParserArray& operator=(const ParserArray&) = delete;

    // Child arrays live where the nodes do (see Parser).
    static void* operator new(std::size_t size);
    static void operator delete(void* array, std::size_t size) noexcept;

protected:
    bool invariant() const { return true; }
};

}  // namespace quen

#endif
