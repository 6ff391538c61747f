# Small helpers shared by every target of the project.

# Warnings for our own code.
function(tessel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TESSEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# tessel_add_library(<name> SOURCES ... LINK ...)
# A static library of one area of the program.
function(tessel_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
    tessel_warnings(${name})
endfunction()

# tessel_add_test(<name> SOURCES ... LINK ... [LABELS ...] [TIMEOUT s])
# A QtTest executable registered with CTest, running headless.
function(tessel_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LINK;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LINK})
    tessel_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;TESSEL_SOURCE_DIR=${PROJECT_SOURCE_DIR};${TESSEL_TEST_ENVIRONMENT}"
        LABELS "${ARG_LABELS}")
endfunction()
