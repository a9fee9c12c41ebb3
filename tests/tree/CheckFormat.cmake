# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the tree differs from what the repository's .clang-format makes of it.
#   cmake -DSOURCE_DIR=<tree> -DCLANG_FORMAT=<program> -P CheckFormat.cmake
set(sources "")
foreach(folder base text os channel files app tools web bench fuzz docs tests)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Not formatted: run clang-format -i on the files named above")
endif()
