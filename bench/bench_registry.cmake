# The baseline is SQLite itself, on a table like the registry store's.
find_package(SQLite3 REQUIRED)
target_link_libraries(bench_registry PRIVATE SQLite::SQLite3)
