# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the page together as one file: view.css at the template's style placeholder; the module,
# view.js, core.js and bind.js, in that order, at its script placeholder.
#   cmake -DPAGE_DIR=<web/page> -DMODULE=<vx40_module.js> -DOUTPUT=<vx40.html> -P AssemblePage.cmake
file(READ ${PAGE_DIR}/vx40.html page)
file(READ ${PAGE_DIR}/view.css style)
set(script "")
foreach(part ${MODULE} ${PAGE_DIR}/view.js ${PAGE_DIR}/core.js ${PAGE_DIR}/bind.js)
    file(READ ${part} text)
    string(APPEND script "${text}\n")
endforeach()
# Either would end the inline element early.
string(TOLOWER "${script}" lowered)
string(FIND "${lowered}" "</script" scriptEnd)
string(TOLOWER "${style}" lowered)
string(FIND "${lowered}" "</style" styleEnd)
if(NOT scriptEnd EQUAL -1 OR NOT styleEnd EQUAL -1)
    message(FATAL_ERROR "A part of the page closes its inline element")
endif()
foreach(placeholder "/*VX40_STYLE*/" "/*VX40_SCRIPT*/")
    string(FIND "${page}" "${placeholder}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "The template has no ${placeholder}")
    endif()
endforeach()
string(REPLACE "/*VX40_STYLE*/" "${style}" page "${page}")
string(REPLACE "/*VX40_SCRIPT*/" "${script}" page "${page}")
file(WRITE ${OUTPUT}.new "${page}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
