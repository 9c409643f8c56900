# cmake -DSOURCE=<repository> -DWORK=<scratch folder> -P package_test.cmake
# The packaging scripts on stand-in files: the archive they make holds the suite's layout with
# the texts in CR LF, passes the content check, and the check refuses an archive with a settings
# file, with the mail module's folder, or without a language module.
foreach(variable SOURCE WORK)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "package_test.cmake: ${variable} is not set")
    endif()
endforeach()
set(languages EN ES DE FR IT RUS CSY)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/in/Tamux" "${WORK}/in/SHARED/DATABASES")

file(WRITE "${WORK}/in/Tamux/tamux.exe" "MZ stand-in program")
file(WRITE "${WORK}/in/Tamux/tamux-capture.exe" "MZ stand-in capture program")
set(modules "")
foreach(code IN LISTS languages)
    file(WRITE "${WORK}/in/Tamux/tamux${code}.dll" "MZ stand-in module ${code}")
    list(APPEND modules "${WORK}/in/Tamux/tamux${code}.dll")
endforeach()
# What a run leaves in the build's suite folder must not travel along.
file(WRITE "${WORK}/in/Tamux/tamux.ini" "[Options]\r\nLanguage=EN\r\n")
set(databases "")
foreach(name Keyboard Mouse other)
    file(WRITE "${WORK}/in/SHARED/DATABASES/${name}.txt" "0A1B2C\r\n")
    list(APPEND databases "${WORK}/in/SHARED/DATABASES/${name}.txt")
endforeach()

# Runs check_package.cmake on `zip`; fails the test unless it passes or refuses as expected.
function(check zip expect_pass what)
    execute_process(COMMAND ${CMAKE_COMMAND} "-DZIP=${zip}" "-DLANGUAGES=${languages}"
                            -P "${SOURCE}/packaging/check_package.cmake"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(expect_pass AND NOT result EQUAL 0)
        message(FATAL_ERROR "package_test: ${what}: the check refused it:\n${out}")
    elseif(NOT expect_pass AND result EQUAL 0)
        message(FATAL_ERROR "package_test: ${what}: the check let it pass:\n${out}")
    endif()
endfunction()

set(zip "${WORK}/tamux-test-win32.zip")
execute_process(COMMAND ${CMAKE_COMMAND} "-DSTAGE=${WORK}/stage" "-DZIP=${zip}"
                        "-DPROGRAM=${WORK}/in/Tamux/tamux.exe;${WORK}/in/Tamux/tamux-capture.exe"
                        "-DMODULES=${modules}"
                        "-DDATABASES=${databases}"
                        "-DTEXTS=${SOURCE}/README.md;${SOURCE}/LICENSES.md;${SOURCE}/CHANGELOG.md"
                        -P "${SOURCE}/packaging/make_package.cmake"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "package_test: make_package.cmake failed:\n${out}")
endif()
check("${zip}" TRUE "the archive made from the stand-ins")

# The texts arrive with CR LF line ends and nothing else changed.
file(READ "${SOURCE}/README.md" original)
string(REPLACE "\n" "\r\n" original "${original}")
file(WRITE "${WORK}/README.expected" "${original}")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/README.expected"
                        "${WORK}/stage/Tamux/README.txt" RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "package_test: README.txt is not README.md with CR LF line ends")
endif()

# Archives that are not the layout.
function(pack_variant name)
    file(REMOVE_RECURSE "${WORK}/${name}")
    file(COPY "${WORK}/stage/" DESTINATION "${WORK}/${name}")
    set(folder "${WORK}/${name}" PARENT_SCOPE)
endfunction()
function(pack folder zip)
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${zip}" --format=zip ${ARGN}
                    WORKING_DIRECTORY "${folder}" RESULT_VARIABLE packed)
    if(NOT packed EQUAL 0)
        message(FATAL_ERROR "package_test: cannot pack ${zip}")
    endif()
endfunction()

pack_variant(with_settings)
file(WRITE "${folder}/Tamux/tamux.ini" "[Options]\r\n")
pack("${folder}" "${WORK}/with_settings.zip" Tamux SHARED)
check("${WORK}/with_settings.zip" FALSE "an archive with tamux.ini")

pack_variant(with_mail)
file(MAKE_DIRECTORY "${folder}/Zmail")
pack("${folder}" "${WORK}/with_mail.zip" Tamux SHARED Zmail)
check("${WORK}/with_mail.zip" FALSE "an archive with an empty Zmail folder")

pack_variant(without_module)
file(REMOVE "${folder}/Tamux/tamuxCSY.dll")
pack("${folder}" "${WORK}/without_module.zip" Tamux SHARED)
check("${WORK}/without_module.zip" FALSE "an archive without tamuxCSY.dll")

pack_variant(empty_database)
file(WRITE "${folder}/SHARED/DATABASES/Mouse.txt" "")
pack("${folder}" "${WORK}/empty_database.zip" Tamux SHARED)
check("${WORK}/empty_database.zip" FALSE "an archive with an empty Mouse.txt")

file(REMOVE_RECURSE "${WORK}")
message(STATUS "package_test: the archive's layout and its check hold")
