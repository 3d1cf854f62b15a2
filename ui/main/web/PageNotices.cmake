# Puts the licence and the notices of what the page bundles into each page named, as a comment
# after its first line (<!DOCTYPE html>):
#   cmake -DNOTICES=<text file> -DPAGE=<page> -DINDEX=<the folder's index.html> -P PageNotices.cmake
file(READ ${NOTICES} notices)
foreach(page IN ITEMS ${PAGE} ${INDEX})
    file(READ ${page} text)
    string(FIND "${text}" "\n" end)
    string(SUBSTRING "${text}" 0 ${end} first)
    if(NOT first STREQUAL "<!DOCTYPE html>")
        message(FATAL_ERROR "${page} does not start with <!DOCTYPE html>")
    endif()
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${text}" ${end} -1 rest)
    file(WRITE ${page} "${first}\n<!--\n${notices}-->\n${rest}")
endforeach()
