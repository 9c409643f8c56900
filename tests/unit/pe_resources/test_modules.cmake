# The test modules: resource-only DLLs that the real resource compiler builds from the .rc files
# here, for the native tests of the PE resource reader and for the Wine conformance program.
set(TAMUX_PE_TEST_MODULES strings with_version untranslated_version languages no_strings)

# tamux_pe_test_modules(<folder>): builds <folder>/<name>.dll for every test module; the target
# tamux_pe_test_modules stands for all of them.
function(tamux_pe_test_modules folder)
    set(targets)
    foreach(name IN LISTS TAMUX_PE_TEST_MODULES)
        tamux_resource_dll(pe_test_module_${name}
            RC "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.rc"
            OUTPUT "${folder}/${name}.dll"
            DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/long_text.inc")
        list(APPEND targets pe_test_module_${name})
    endforeach()
    add_custom_target(tamux_pe_test_modules DEPENDS ${targets})
endfunction()
