# Adds every sub-folder of the current source folder that has a CMakeLists.txt.
function(qv_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()

# qv_add_test(NAME [NO_GUI] SOURCES a.cpp b.cpp [LIBS extra...] [LABELS ...] [ARGS ...])
# A GoogleTest program linked with QvKit, registered with CTest to run headless, with
# ARGS on its command line.
# Its main() runs the tests inside a QApplication on the offscreen platform;
# NO_GUI runs them with no Qt application object at all.
function(qv_add_test name)
  cmake_parse_arguments(T "NO_GUI" "" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE QvKit qv_test_support GTest::gtest GTest::gmock ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(T_NO_GUI)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  else()
    target_link_libraries(${name} PRIVATE qv_test_main)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  # Components that read the registry (in a design host as well) find a store of the
  # test program's own, never the user's.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QV_TEST_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR};QV_TEST_BINARY_DIR=${CMAKE_CURRENT_BINARY_DIR};QVKIT_REGISTRY_DIR=${CMAKE_CURRENT_BINARY_DIR}/${name}.registry"
    TIMEOUT 600)
  if(QV_SANITIZE)
    # Leaks inside system libraries (D-Bus under the xcb platform) are not ours to mend.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# qv_add_bench(NAME SOURCES ... [LIBS ...]): a Google Benchmark program in build/bench.
function(qv_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE QvKit benchmark::benchmark ${B_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bench")
endfunction()

# qv_add_screenshot_test(TEST PROGRAM): PROGRAM (PROGRAM.cpp) shows windows on an X
# display and saves pictures of them; TEST (TEST.cpp) runs it under Xvfb and checks them.
function(qv_add_screenshot_test test program)
  add_executable(${program} ${program}.cpp)
  target_link_libraries(${program} PRIVATE QvKit qv_test_support)
  target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  qv_add_test(${test} NO_GUI SOURCES ${test}.cpp)
  add_dependencies(${test} ${program})
endfunction()
