# Resource-only DLLs for 64-bit Windows (PE32+, x86-64), built for the tests with the x86-64 MinGW
# resource compiler and linker, so that the loaders can be tried on the modules a 64-bit
# distribution holds.
find_program(TAMUX_WINDRES_X64 x86_64-w64-mingw32-windres REQUIRED)
find_program(TAMUX_MINGW_CC_X64 x86_64-w64-mingw32-gcc REQUIRED)

# tamux_resource_dll_x64(<target> RC <file.rc> OUTPUT <path.dll> [DEPENDS <files...>])
# As tamux_resource_dll: the .rc is read as UTF-8 and the DLL has no entry point.
function(tamux_resource_dll_x64 target)
    cmake_parse_arguments(ARG "" "RC;OUTPUT" "DEPENDS" ${ARGN})
    get_filename_component(rc "${ARG_RC}" ABSOLUTE)
    get_filename_component(rc_dir "${rc}" DIRECTORY)
    set(object "${CMAKE_CURRENT_BINARY_DIR}/${target}.res.o")
    add_custom_command(
        OUTPUT "${ARG_OUTPUT}"
        COMMAND ${TAMUX_WINDRES_X64} --codepage=65001 -I "${rc_dir}" -O coff -i "${rc}"
                -o "${object}"
        COMMAND ${TAMUX_MINGW_CC_X64} -shared -nostdlib -Wl,-e,0 -o "${ARG_OUTPUT}" "${object}"
        DEPENDS "${rc}" ${ARG_DEPENDS}
        COMMENT "64-bit resource module ${ARG_OUTPUT}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${ARG_OUTPUT}")
endfunction()
