# norq_core_library(name SOURCES ... DEPENDS ...): a plain C++ library of the core
# (no Qt), with src/ as its include root so headers are included as "codec/x.h".
function(norq_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    else()
        # A subsystem that has only headers so far.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    endif()
endfunction()

# norq_test(name SOURCES ... DEPENDS ...): one GoogleTest binary registered with CTest.
# Tests find their fixture files through NORQ_FIXTURES.
function(norq_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        NORQ_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
        NORQ_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        NORQ_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
