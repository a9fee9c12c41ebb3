# SPDX-License-Identifier: GPL-3.0-or-later
# cpack in the Windows build: vx40-VERSION-windows-x86_64.zip with vx40-tool.exe, the window as a
# page for the browser, the README's part for users and the manual page as text, and LICENSE.
set(VX40_WEB_PAGE "" CACHE FILEPATH "The browser page vx40.html of the web build, put into the zip")

install(TARGETS vx40-tool RUNTIME DESTINATION .)
if(VX40_WEB_PAGE)
    install(FILES ${VX40_WEB_PAGE} DESTINATION . RENAME vx40.html)
else()
    message(STATUS "VX40_WEB_PAGE is empty: the zip has no vx40.html")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The README for users: the Windows section, then the files, the promises and the tool.
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
# The text of README.md from the heading first up to the heading next, or with next empty up to
# the next heading of that level.
function(vx40_readme_part first next result)
    string(FIND "${readme}" "${first}" start)
    if(start LESS 0)
        message(FATAL_ERROR "README.md has no heading \"${first}\"")
    endif()
    string(SUBSTRING "${readme}" ${start} -1 rest)
    if(next)
        string(FIND "${rest}" "${next}" end)
    else()
        string(SUBSTRING "${rest}" 3 -1 afterHeading)
        string(FIND "${afterHeading}" "\n## " end)
        if(end GREATER_EQUAL 0)
            math(EXPR end "${end} + 4")
        endif()
    endif()
    if(end LESS 0)
        set(end -1)
    endif()
    string(SUBSTRING "${rest}" 0 ${end} part)
    set(${result} "${part}" PARENT_SCOPE)
endfunction()
vx40_readme_part("## vx40-tool for Windows" "" windows_part)
vx40_readme_part("## File formats" "## Installing the Debian package" tool_part)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/README.txt
     "# VX40 channel tool ${PROJECT_VERSION} for Windows\n\n${windows_part}${tool_part}")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

# The manual page as plain UTF-8 text, without the overstrikes of a terminal.
configure_file(vx40-tool.1.in vx40-tool.1 @ONLY)
find_program(VX40_GROFF groff REQUIRED)
add_custom_command(OUTPUT vx40-tool.txt
                   COMMAND ${VX40_GROFF} -K utf8 -man -Tutf8 -P-c -P-b -P-u
                           ${CMAKE_CURRENT_BINARY_DIR}/vx40-tool.1 > vx40-tool.txt
                   DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/vx40-tool.1 VERBATIM)
add_custom_target(vx40_manual_text ALL DEPENDS vx40-tool.txt)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vx40-tool.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vx40)
set(CPACK_PACKAGE_VENDOR "VX40")
set(CPACK_PACKAGE_FILE_NAME vx40-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
