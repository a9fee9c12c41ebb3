# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of the tree does not name its license in an SPDX line.
#   cmake -DSOURCE_DIR=<tree> -P CheckLicense.cmake
set(missing "")
foreach(folder base text os channel files app tools web bench fuzz docs tests packaging scripts)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
         ${SOURCE_DIR}/${folder}/CMakeLists.txt ${SOURCE_DIR}/${folder}/*.cmake
         ${SOURCE_DIR}/${folder}/*.sh ${SOURCE_DIR}/${folder}/*.js ${SOURCE_DIR}/${folder}/*.css
         ${SOURCE_DIR}/${folder}/*.html)
    foreach(source ${found})
        file(STRINGS ${source} spdx LIMIT_COUNT 3 REGEX "SPDX-License-Identifier: GPL-3.0-or-later")
        if(NOT spdx)
            file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
            string(APPEND missing "  ${shown}\n")
        endif()
    endforeach()
endforeach()
if(missing)
    message(FATAL_ERROR "No SPDX-License-Identifier line in its first lines:\n${missing}")
endif()
