# What every target of ours is compiled with, said once. Included by the project and
# by the end-to-end driver's project (tests/e2e).
#   tallyra_target(TARGET...)  strict warnings; on Windows also the Win32 API set-up
#                              (wide-character functions, no min/max macros, lean headers)

set(TALLYRA_WARNINGS -Wall -Wextra -Werror)
# GCC 12 reports false -Wrestrict errors inside std::string and std::wstring at -O3
# (its bug 105329, fixed in GCC 13).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    list(APPEND TALLYRA_WARNINGS -Wno-restrict)
endif()

function(tallyra_target)
    foreach(target IN LISTS ARGN)
        target_compile_options(${target} PRIVATE ${TALLYRA_WARNINGS})
        if(WIN32)
            target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
        endif()
    endforeach()
endfunction()
