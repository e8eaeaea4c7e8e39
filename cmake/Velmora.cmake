# velmora_library(<name> [RECURSE] [DEPENDS <libs>...] [EXTRA <files>...])
#
# A library made of every .cpp file of the current folder. Files named
# *Win32.cpp are Windows glue and go only into the Windows build; files named
# *Headless.cpp or *Posix.cpp stand in for them in the native build. New files
# are picked up without editing the list.
function(velmora_library name)
    cmake_parse_arguments(ARG "RECURSE" "" "DEPENDS;EXTRA" ${ARGN})
    if(ARG_RECURSE)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    else()
        file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    endif()
    if(VELMORA_WINDOWS)
        list(FILTER sources EXCLUDE REGEX "(Headless|Posix)\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "Win32\\.cpp$")
    endif()
    # The program's entry point is not part of any library.
    list(FILTER sources EXCLUDE REGEX "/Main\\.cpp$")
    add_library(${name} STATIC ${sources} ${ARG_EXTRA})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    if(ARG_DEPENDS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    endif()
endfunction()

# velmora_test_suite(<name> [DEPENDS <libs>...])
#
# One test executable, test_<name>, from every .cpp file of the current folder
# (with the same Win32/Headless rule), run by ctest; in the Windows build ctest
# runs it through Wine.
function(velmora_test_suite name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    if(VELMORA_WINDOWS)
        list(FILTER sources EXCLUDE REGEX "(Headless|Posix)\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "Win32\\.cpp$")
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE test_support velmora_core ${ARG_DEPENDS} GTest::gtest_main)
    add_test(NAME ${name} COMMAND test_${name})
    # A run passes only when GoogleTest reached its closing summary and reported
    # no failure: a crash part-way (Wine may still end such a process with exit
    # code 0) or a sanitizer report after the summary fails the test.
    set_tests_properties(${name} PROPERTIES
        LABELS suite
        ENVIRONMENT "VELMORA_SOURCE_DIR=${PROJECT_SOURCE_DIR};VELMORA_GFX=${VELMORA_GFX_PATH}"
        PASS_REGULAR_EXPRESSION "\\[==========\\] [0-9]+ tests? from [0-9]+ test suites? ran"
        FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]|Unhandled exception|Unhandled page fault|ERROR: [A-Za-z]+Sanitizer|runtime error:")
endfunction()

# velmora_wine_test(<name> SCRIPT <driver.py> [PROGRAM <target>] [ARGS ...])
#
# A test that a Python driver runs against a Windows program under Wine on the
# virtual display (DISPLAY and WINEPREFIX come from scripts/test). The driver
# gets --program <exe> --source <source dir> --gfx <velmora.gfx> and ARGS. Such
# tests share one display, so they never run at the same time.
function(velmora_wine_test name)
    cmake_parse_arguments(ARG "" "SCRIPT;PROGRAM" "ARGS" ${ARGN})
    set(program_args)
    if(ARG_PROGRAM)
        set(program_args --program "$<TARGET_FILE:${ARG_PROGRAM}>")
    endif()
    add_test(NAME ${name}
        COMMAND ${Python3_EXECUTABLE} "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT}" ${program_args}
                --source "${PROJECT_SOURCE_DIR}" --gfx "${VELMORA_GFX_PATH}" ${ARG_ARGS})
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display TIMEOUT 300 LABELS wine)
endfunction()
