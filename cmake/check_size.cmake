# Fails the build when a file is larger than its limit, and removes it, so that a
# program that crept past its size is never handed on.
#   cmake -DFILE=PATH -DLIMIT=BYTES -P check_size.cmake
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
    file(REMOVE "${FILE}")
    message(FATAL_ERROR "${FILE} is ${size} bytes, above its limit of ${LIMIT}: removed")
endif()
message(STATUS "${FILE}: ${size} bytes (limit ${LIMIT})")
