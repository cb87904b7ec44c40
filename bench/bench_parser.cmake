# The baseline of bench_parser: inih (Debian libinih-dev), through pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(INIH REQUIRED IMPORTED_TARGET inih)
target_link_libraries(bench_parser PRIVATE PkgConfig::INIH)
