# cmake -DSTAGE=<folder> -DZIP=<file> -DPROGRAM=<tamux.exe;tamux-capture.exe> -DMODULES=<dlls> -DDATABASES=<files>
#       -DTEXTS=<.md files> -P make_package.cmake
# Lays the distribution out in STAGE (emptied first) and packs it into ZIP. Each file is named
# here, so that whatever else lies in the build's suite folder (a settings file from a run, a
# stand-in mail module) stays out.
foreach(variable STAGE ZIP PROGRAM MODULES DATABASES TEXTS)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "make_package.cmake: ${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
file(REMOVE "${ZIP}")
file(MAKE_DIRECTORY "${STAGE}/Tamux" "${STAGE}/SHARED/DATABASES")
file(COPY ${PROGRAM} ${MODULES} DESTINATION "${STAGE}/Tamux")
file(COPY ${DATABASES} DESTINATION "${STAGE}/SHARED/DATABASES")

# The texts go beside the program as .txt with CR LF line ends, readable in Notepad.
foreach(text IN LISTS TEXTS)
    get_filename_component(name "${text}" NAME_WE)
    file(READ "${text}" content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE "${STAGE}/Tamux/${name}.txt" "${content}")
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ZIP}" --format=zip Tamux SHARED
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_package.cmake: packing ${ZIP} failed (${result})")
endif()
