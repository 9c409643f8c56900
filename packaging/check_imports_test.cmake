# cmake -DSOURCE=<repository> -DWORK=<scratch folder> -DCC32=<i686 gcc> -DCC64=<x86_64 gcc>
#       -DPYTHON=<python3> -P check_imports_test.cmake
# The import check on small programs built here with the same compilers as the shipped files:
# one that imports only allowed functions passes; one calling GetTickCount64 (Vista and later) or
# Beep (not in the table) is refused with a line naming the function, for both architectures;
# a file that is not a PE file is an error, not a pass.
foreach(variable SOURCE WORK CC32 CC64 PYTHON)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "check_imports_test.cmake: ${variable} is not set")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# The body of main() of each program.
set(programs allowed planted unlisted)
set(body_allowed "return (int)GetACP() + (int)GetVersion()")
set(body_planted "return (int)GetTickCount64()")
set(body_unlisted "return Beep(440, 10)")

# build(<compiler> <suffix>): each program as <name>-<suffix>.exe.
function(build compiler suffix)
    foreach(name IN LISTS programs)
        file(WRITE "${WORK}/${name}.c" "#define _WIN32_WINNT 0x0600\n#include <windows.h>\n"
                                       "int main(void) { ${body_${name}}; }\n")
        execute_process(COMMAND ${compiler} -O2 -o "${WORK}/${name}-${suffix}.exe" "${WORK}/${name}.c"
                        RESULT_VARIABLE result ERROR_VARIABLE out)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "check_imports_test: cannot build ${name} with ${compiler}:\n${out}")
        endif()
    endforeach()
endfunction()
build(${CC32} 32)
build(${CC64} 64)

# expect(<file> <minimum> <status> <text in the output, or "">)
function(expect file minimum status text)
    execute_process(COMMAND ${PYTHON} "${SOURCE}/packaging/check_imports.py"
                            --table "${SOURCE}/packaging/windows-imports.tsv" "--minimum=${minimum}"
                            "${file}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL status)
        message(FATAL_ERROR "check_imports_test: ${file} at ${minimum}: status ${result}, "
                            "expected ${status}:\n${out}")
    endif()
    if(text AND NOT out MATCHES "${text}")
        message(FATAL_ERROR "check_imports_test: ${file} at ${minimum}: no '${text}' in:\n${out}")
    endif()
endfunction()

expect("${WORK}/allowed-32.exe" "95,4.0" 0 "all allowed")
expect("${WORK}/planted-32.exe" "95,4.0" 1 "GetTickCount64 needs NT 6.0")
expect("${WORK}/planted-32.exe" "95,4.0" 1 "GetTickCount64 is not on the 9x family")
expect("${WORK}/unlisted-32.exe" "95,4.0" 1 "KERNEL32.dll Beep is not in the table")
expect("${WORK}/allowed-64.exe" "-,5.2" 0 "all allowed")
expect("${WORK}/planted-64.exe" "-,5.2" 1 "GetTickCount64 needs NT 6.0")
# A minimum that allows it lets the same file pass: the refusal comes from the version.
expect("${WORK}/planted-64.exe" "-,6.0" 0 "all allowed")
file(WRITE "${WORK}/not-pe.exe" "MZ but nothing more")
expect("${WORK}/not-pe.exe" "95,4.0" 2 "check_imports")
