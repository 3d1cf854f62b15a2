# The licence and the notices of what a release file bundles, for the packages to carry:
# LICENSE, and the texts in packaging/notices taken from the bundled pieces' Debian copyright
# files.

# Sets `out` to the notices of the pieces named (file names in packaging/notices without
# .txt), each after a line of its own, under a first paragraph that says what they are.
function(pevrand_notices_text out)
    set(dir ${PROJECT_SOURCE_DIR}/packaging/notices)
    set(text "Pevrand is distributed under the BSD 3-Clause licence. Below are the \
copyright notices\nand licences of the other people's code that it bundles.\n")
    foreach(part IN LISTS ARGN)
        file(READ ${dir}/${part}.txt notice)
        string(APPEND text "\n========================================================"
                           "========================\n\n${notice}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dir}/${part}.txt)
    endforeach()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Writes LICENSE.txt and THIRD-PARTY-NOTICES.txt of the pieces named into `folder`, with
# Windows' line ends.
function(pevrand_windows_notices folder)
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
    pevrand_notices_text(notices ${ARGN})
    foreach(name licence notices)
        string(REPLACE "\n" "\r\n" ${name} "${${name}}")
    endforeach()
    # Written only when changed, so that nothing packed from them is built again for nothing.
    file(WRITE ${folder}/LICENSE.txt.new "${licence}")
    file(WRITE ${folder}/THIRD-PARTY-NOTICES.txt.new "${notices}")
    foreach(name LICENSE.txt THIRD-PARTY-NOTICES.txt)
        file(COPY_FILE ${folder}/${name}.new ${folder}/${name} ONLY_IF_DIFFERENT)
        file(REMOVE ${folder}/${name}.new)
    endforeach()
endfunction()
