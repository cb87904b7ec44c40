#include "quen/parser/ParserArray.h"

#include "quen/parser/Parser.h"
#include "quen/parser/arena/ParserArena.h"

namespace quen {

const char* ParserArray::version() {
    return "ParserArray 1.0, 31.01.2000";
}

ParserArray::ParserArray() = default;

void* ParserArray::operator new(std::size_t size) {
    return ParserArena::allocate(size);
}

void ParserArray::operator delete(void* array, std::size_t size) noexcept {
    ParserArena::release(array, size);
}

ParserArray::~ParserArray() {
    for (Parser* node : *this) {
        delete node;
    }
}

}  // namespace quen
