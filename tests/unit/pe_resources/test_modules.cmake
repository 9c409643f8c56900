# The test modules: resource-only DLLs that the real resource compiler builds from the .rc files
# here, for the native tests of the PE resource reader and for the Wine conformance program.
set(TAMUX_PE_TEST_MODULES strings with_version untranslated_version languages no_strings)

# Each is built for the build's own processor (32-bit in the native presets). strings.rc is also
# built for each processor by name, strings32.dll (PE32, i386) and strings64.dll (PE32+, x86-64),
# so that the loaders can be tried on both formats in every build.

# tamux_pe_test_modules(<folder>): builds <folder>/<name>.dll for every test module,
# <folder>/strings32.dll and <folder>/strings64.dll; the target tamux_pe_test_modules stands for
# all of them.
function(tamux_pe_test_modules folder)
    set(targets)
    foreach(name IN LISTS TAMUX_PE_TEST_MODULES)
        tamux_resource_dll(pe_test_module_${name}
            RC "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.rc"
            OUTPUT "${folder}/${name}.dll"
            DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/long_text.inc")
        list(APPEND targets pe_test_module_${name})
    endforeach()

    foreach(bits IN ITEMS 32 64)
        set(arch i686)
        if(bits EQUAL 64)
            set(arch x86_64)
        endif()
        tamux_resource_dll(pe_test_module_strings${bits}
            RC "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/strings.rc" ARCH ${arch}
            OUTPUT "${folder}/strings${bits}.dll"
            DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/long_text.inc")
        list(APPEND targets pe_test_module_strings${bits})
    endforeach()
    add_custom_target(tamux_pe_test_modules DEPENDS ${targets})
    # Other test folders that need a module of each architecture find them here.
    set_property(GLOBAL PROPERTY TAMUX_PE_TEST_MODULE_DIR "${folder}")
endfunction()
