# The parser's node arena is the library's own business: built, not installed.
target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/parser/arena/ParserArena.cpp)
