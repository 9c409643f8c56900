# Helpers that give every target of ours the same warnings and include root.

function(tamux_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    target_include_directories(${target} PUBLIC ${TAMUX_ROOT})
    if(WIN32)
        target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501
                                                    WINVER=0x0501)
    endif()
endfunction()

# tamux_library(name SOURCES ... DEPENDS ...)
function(tamux_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    tamux_target_defaults(${name})
    if(ARG_DEPENDS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    endif()
endfunction()

# tamux_test(name SOURCES ... DEPENDS ...): a GoogleTest program registered with ctest.
function(tamux_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tamux_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} tamux_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main)
    if(NOT WIN32)
        include(GoogleTest)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                             PROPERTIES ENVIRONMENT "TAMUX_BUILD_DIR=${CMAKE_BINARY_DIR}")
    endif()
endfunction()
