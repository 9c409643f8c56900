# Resource-only Windows DLLs (language modules, test modules), built with the MinGW resource
# compiler and linker in every preset. A Windows build makes them for its own processor: the
# program loads them with LoadLibrary, which takes only modules of the program's architecture.
# The native presets make the 32-bit ones, as the 32-bit distribution ships them.
if(WIN32)
    set(TAMUX_RESOURCE_DLL_ARCH ${CMAKE_SYSTEM_PROCESSOR})
else()
    set(TAMUX_RESOURCE_DLL_ARCH i686)
endif()
foreach(arch IN ITEMS i686 x86_64)
    find_program(TAMUX_WINDRES_${arch} ${arch}-w64-mingw32-windres REQUIRED)
    find_program(TAMUX_MINGW_CC_${arch} ${arch}-w64-mingw32-gcc REQUIRED)
endforeach()
set(TAMUX_WINDRES ${TAMUX_WINDRES_${TAMUX_RESOURCE_DLL_ARCH}})

# tamux_resource_dll(<target> RC <file.rc> OUTPUT <path.dll> [ARCH i686|x86_64]
#                    [DEPENDS <files...>])
# The .rc source is read as UTF-8; the string tables in the DLL are UTF-16 as always, so
# LoadStringA hands each text over in the running system's code page. The DLL has no entry point.
# ARCH chooses the processor (32-bit i686, 64-bit x86_64) instead of the build's own.
function(tamux_resource_dll target)
    cmake_parse_arguments(ARG "" "RC;OUTPUT;ARCH" "DEPENDS" ${ARGN})
    if(NOT ARG_ARCH)
        set(ARG_ARCH ${TAMUX_RESOURCE_DLL_ARCH})
    endif()
    get_filename_component(rc "${ARG_RC}" ABSOLUTE)
    get_filename_component(rc_dir "${rc}" DIRECTORY)
    set(object "${CMAKE_CURRENT_BINARY_DIR}/${target}.res.o")
    add_custom_command(
        OUTPUT "${ARG_OUTPUT}"
        COMMAND ${TAMUX_WINDRES_${ARG_ARCH}} --codepage=65001 -I "${rc_dir}" -O coff -i "${rc}"
                -o "${object}"
        COMMAND ${TAMUX_MINGW_CC_${ARG_ARCH}} -shared -nostdlib -Wl,-e,0 -o "${ARG_OUTPUT}" "${object}"
        DEPENDS "${rc}" ${ARG_DEPENDS}
        COMMENT "Resource module ${ARG_OUTPUT} (${ARG_ARCH})"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${ARG_OUTPUT}")
endfunction()
