# Third-party code, all from Debian's packages.

# GoogleTest, built from Debian's sources so both builds use the same one.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    message(FATAL_ERROR "GoogleTest sources are missing: run scripts/setup")
endif()
if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
endif()

# LodePNG, from Debian's source package that scripts/setup unpacks.
set(LODEPNG_DIR "${VELMORA_DEPS_DIR}/lodepng")
if(NOT EXISTS "${LODEPNG_DIR}/lodepng.cpp")
    message(FATAL_ERROR "LodePNG sources are missing in ${LODEPNG_DIR}: run scripts/setup")
endif()
add_library(lodepng STATIC "${LODEPNG_DIR}/lodepng.cpp")
target_include_directories(lodepng SYSTEM PUBLIC "${LODEPNG_DIR}")
target_compile_options(lodepng PRIVATE -w)

# zlib: Debian's libz-mingw-w64-dev for Windows, zlib1g-dev natively.
if(VELMORA_WINDOWS)
    set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

# Google Benchmark (native only).
if(NOT VELMORA_WINDOWS)
    find_package(benchmark QUIET)
endif()

# The generated graphics file. The native build makes it with tools/gfxgen; the
# Windows build is given one (scripts/test passes the native build's).
if(VELMORA_WINDOWS)
    set(VELMORA_GFX_PATH "${VELMORA_GFX}")
else()
    set(VELMORA_GFX_PATH "${CMAKE_BINARY_DIR}/velmora.gfx")
endif()
