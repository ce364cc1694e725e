# mc_add_test(NAME SOURCES <files> LIBS <targets>)
# One QtTest executable per subject, run by CTest on the offscreen platform with a
# temporary data folder of its own, so no test writes beside the build's executables. In the
# sanitizer build it also carries the sanitizers' options (cmake/Sanitize.cmake).
function(mc_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(env QT_QPA_PLATFORM=offscreen MOUSECFG_TEST=1 ${MC_SANITIZER_ENV})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
