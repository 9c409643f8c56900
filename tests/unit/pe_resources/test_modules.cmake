# The test modules: resource-only DLLs that the real resource compiler builds from the .rc files
# here, for the native tests of the PE resource reader and for the Wine conformance program.
set(TAMUX_PE_TEST_MODULES strings with_version untranslated_version languages no_strings)

# One module is also built for 64-bit Windows, from strings.rc: strings64.dll, a PE32+ file for
# the x86-64 machine, so that the loaders can be tried on both formats.
include(${TAMUX_ROOT}/tests/support/resource_dll_x64.cmake)

# tamux_pe_test_modules(<folder>): builds <folder>/<name>.dll for every test module and
# <folder>/strings64.dll; the target tamux_pe_test_modules stands for all of them.
function(tamux_pe_test_modules folder)
    set(targets)
    foreach(name IN LISTS TAMUX_PE_TEST_MODULES)
        tamux_resource_dll(pe_test_module_${name}
            RC "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.rc"
            OUTPUT "${folder}/${name}.dll"
            DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/long_text.inc")
        list(APPEND targets pe_test_module_${name})
    endforeach()

    tamux_resource_dll_x64(pe_test_module_strings64
        RC "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/strings.rc"
        OUTPUT "${folder}/strings64.dll"
        DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/long_text.inc")
    list(APPEND targets pe_test_module_strings64)
    add_custom_target(tamux_pe_test_modules DEPENDS ${targets})
    # Other test folders that need a module of each architecture find them here.
    set_property(GLOBAL PROPERTY TAMUX_PE_TEST_MODULE_DIR "${folder}")
endfunction()
