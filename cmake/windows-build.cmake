# Included at the end of project() by the "windows" preset: once every directory
# is configured, writes build/windows/unit-tests.txt, the cross-built unit-test
# programs (every executable that links GoogleTest) that scripts/test-windows runs
# under Wine in more than one ANSI code page. A test that needs one code page sets
# the target property TALLYRA_CODE_PAGE and is run on its own.
if(NOT WIN32)
    return()
endif()

# Static archives only: an import library (name.dll.a) found by a find_library
# would make the program need a DLL that Windows does not have.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

function(tallyra_collect_unit_tests directory out)
    set(found ${${out}})
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        get_target_property(code_page ${target} TALLYRA_CODE_PAGE)
        if(NOT type STREQUAL "EXECUTABLE" OR code_page)
            continue()
        endif()
        get_target_property(libraries ${target} LINK_LIBRARIES)
        if(libraries MATCHES "(^|;)(GTest::|gtest|gmock)")
            list(APPEND found "$<TARGET_FILE:${target}>")
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        tallyra_collect_unit_tests(${subdirectory} found)
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

function(tallyra_list_unit_tests)
    set(unit_tests "")
    tallyra_collect_unit_tests(${PROJECT_SOURCE_DIR} unit_tests)
    list(JOIN unit_tests "\n" lines)
    file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/unit-tests.txt CONTENT "${lines}\n")
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL tallyra_list_unit_tests)
