# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a folder includes a header of a layer above it or beside it. The layers, from the
# bottom: base; text and os side by side; channel (on text); files (on channel and os); then app
# and tools side by side; web on everything below and the tool's reports. bench, fuzz, docs and tests may include anything.
#   cmake -DSOURCE_DIR=<tree> -P CheckLayers.cmake
set(allowed_base base)
set(allowed_text base text)
set(allowed_os base os)
set(allowed_channel base text channel)
set(allowed_files base text os channel files)
set(allowed_app base text os channel files app)
set(allowed_tools base text os channel files tools)
set(allowed_web base text os channel files tools web)
set(layers base text os channel files app tools web)
set(project_folders ${layers} bench fuzz docs tests)

set(violations "")
foreach(layer ${layers})
    file(GLOB_RECURSE sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(source ${sources})
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
            string(REGEX MATCH "^[^/]+" folder "${header}")
            if(NOT header MATCHES "/")
                continue()  # a header beside the source
            endif()
            list(FIND project_folders "${folder}" known)
            list(FIND allowed_${layer} "${folder}" allowed)
            if(known GREATER_EQUAL 0 AND allowed LESS 0)
                file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
                string(APPEND violations "  ${shown} includes \"${header}\"\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(violations)
    message(FATAL_ERROR "Headers included from a layer above:\n${violations}")
endif()

# The OS layer's interface is the same on every system: its headers include no system header
# (a C header such as <unistd.h>) and nothing of one system's implementation (os/posix/...).
file(GLOB os_interface ${SOURCE_DIR}/os/*.h)
foreach(header ${os_interface})
    file(STRINGS ${header} system_includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*(<[^>]*\\.h>|\"os/[^\"]*/)")
    foreach(line ${system_includes})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${header})
        string(APPEND violations "  ${shown}: ${line}\n")
    endforeach()
endforeach()
if(violations)
    message(FATAL_ERROR "System headers in the interface of the OS layer:\n${violations}")
endif()
