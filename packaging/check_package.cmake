# cmake -DZIP=<file> -DLANGUAGES=<codes> [-DMACHINE=<014c|8664>] -P check_package.cmake
# Lists the distribution archive and fails unless it holds exactly the suite's files: Tamux/ with
# tamux.exe, tamux-capture.exe, one module per language code and the three texts; SHARED/DATABASES/ with the three
# databases. Any other file or folder (a settings file, the mail module's Zmail/), a missing file
# or an empty one is an error. With MACHINE, the program and every module must be PE files for
# that processor (014c: i386, 8664: x86-64): the program loads only modules of its own kind.
if(NOT EXISTS "${ZIP}")
    message(FATAL_ERROR "check_package.cmake: ${ZIP} does not exist")
endif()

set(expected Tamux/tamux.exe Tamux/tamux-capture.exe Tamux/README.txt Tamux/LICENSES.txt Tamux/CHANGELOG.txt
             SHARED/DATABASES/Keyboard.txt SHARED/DATABASES/Mouse.txt SHARED/DATABASES/other.txt)
foreach(code IN LISTS LANGUAGES)
    list(APPEND expected "Tamux/tamux${code}.dll")
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${ZIP}" OUTPUT_VARIABLE listing
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_package.cmake: cannot list ${ZIP}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
set(files "")
foreach(entry IN LISTS entries)
    # The three folders of the layout may have entries of their own; no other folder may.
    if(entry MATCHES "^(Tamux|SHARED|SHARED/DATABASES)/?$" OR entry STREQUAL "")
        continue()
    endif()
    string(REGEX REPLACE "/$" "" entry "${entry}")
    list(APPEND files "${entry}")
endforeach()

list(SORT expected)
list(SORT files)
if(NOT files STREQUAL expected)
    set(extra ${files})
    list(REMOVE_ITEM extra ${expected})
    set(missing ${expected})
    list(REMOVE_ITEM missing ${files})
    message(FATAL_ERROR "check_package.cmake: ${ZIP} holds the wrong files\n"
                        "  not expected: ${extra}\n  missing: ${missing}")
endif()

# Unpacked, every file has content and the program is a Windows executable.
string(RANDOM LENGTH 8 tag)
set(probe "${ZIP}.check-${tag}")
file(MAKE_DIRECTORY "${probe}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${ZIP}" WORKING_DIRECTORY "${probe}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE_RECURSE "${probe}")
    message(FATAL_ERROR "check_package.cmake: cannot unpack ${ZIP}")
endif()
set(total 0)
foreach(file IN LISTS files)
    file(SIZE "${probe}/${file}" size)
    if(size EQUAL 0)
        file(REMOVE_RECURSE "${probe}")
        message(FATAL_ERROR "check_package.cmake: ${file} is empty in ${ZIP}")
    endif()
    math(EXPR total "${total} + ${size}")
endforeach()
file(READ "${probe}/Tamux/tamux.exe" head LIMIT 2 HEX)
if(NOT head STREQUAL "4d5a")  # "MZ"
    file(REMOVE_RECURSE "${probe}")
    message(FATAL_ERROR "check_package.cmake: Tamux/tamux.exe in ${ZIP} is not an executable")
endif()
if(DEFINED MACHINE)
    foreach(file IN LISTS files)
        if(NOT file MATCHES "\\.(exe|dll)$")
            continue()
        endif()
        # The PE header's offset (little-endian at 0x3C), then the machine field after "PE\0\0".
        file(READ "${probe}/${file}" offset LIMIT 4 OFFSET 60 HEX)
        string(REGEX REPLACE "^(..)(..)(..)(..)$" "\\4\\3\\2\\1" offset "${offset}")
        math(EXPR offset "0x${offset} + 4")
        file(READ "${probe}/${file}" machine LIMIT 2 OFFSET ${offset} HEX)
        string(REGEX REPLACE "^(..)(..)$" "\\2\\1" machine "${machine}")
        if(NOT machine STREQUAL MACHINE)
            file(REMOVE_RECURSE "${probe}")
            message(FATAL_ERROR "check_package.cmake: ${file} in ${ZIP} is for machine ${machine}, "
                                "not ${MACHINE}")
        endif()
    endforeach()
endif()
file(REMOVE_RECURSE "${probe}")

file(SIZE "${ZIP}" zip_size)
list(LENGTH files count)
message(STATUS "package: ${ZIP}: ${count} files, ${total} bytes unpacked, ${zip_size} bytes packed")
foreach(file IN LISTS files)
    message(STATUS "  ${file}")
endforeach()
