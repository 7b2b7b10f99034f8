# Run by CTest: install, configure and build the consumer, run it, check its output.
file(REMOVE_RECURSE "${QV_WORK_DIR}")
set(prefix "${QV_WORK_DIR}/prefix")

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

run_step("install" ${CMAKE_COMMAND} --install "${QV_BUILD_DIR}" --prefix "${prefix}")
foreach(installed
    include/qvkit/vcl/core/sysutils.h
    include/qvkit/vcl/core/strings.h
    lib/cmake/QvKit/QvKitConfig.cmake
    lib/cmake/QvKit/QvKitConfigVersion.cmake
    lib/cmake/QvKit/QvKitTargets.cmake
    bin/qvcalc bin/qvgallery bin/qvimage bin/qvreg
    share/bash-completion/completions/qvcalc
    share/bash-completion/completions/qvgallery
    share/bash-completion/completions/qvimage
    share/bash-completion/completions/qvreg)
  if(NOT EXISTS "${prefix}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
file(GLOB libraries "${prefix}/lib/libQvKit.so*")
if(NOT libraries)
  message(FATAL_ERROR "the shared library was not installed under ${prefix}/lib")
endif()

# A library built with the sanitizers needs their runtime first in the application too.
set(sanitize_flags "")
if(QV_SANITIZE)
  set(sanitize_flags "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()
run_step("configure the consumer" ${CMAKE_COMMAND} -S "${QV_CONSUMER_SOURCE}" -B "${QV_WORK_DIR}/build"
  -G "${QV_GENERATOR}" -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release ${sanitize_flags})
run_step("build the consumer" ${CMAKE_COMMAND} --build "${QV_WORK_DIR}/build")
run_step("run the consumer" "${QV_WORK_DIR}/build/app")
set(expected "3 lines: alpha,\"beta gamma\",delta\n1,234.50\n")
if(NOT step_output STREQUAL expected)
  message(FATAL_ERROR "the consumer printed:\n${step_output}\nexpected:\n${expected}")
endif()
message(STATUS "consumer output:\n${step_output}")

# The installed programs find the library relative to themselves, so they still start
# when the whole prefix has moved (and nothing points them at the build tree).
set(moved "${QV_WORK_DIR}/moved")
file(RENAME "${prefix}" "${moved}")
run_step("run the installed qvcalc" ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH
  "${moved}/bin/qvcalc" --format %.0f "6*7")
if(NOT step_output STREQUAL "42\n")
  message(FATAL_ERROR "the installed qvcalc printed:\n${step_output}")
endif()
run_step("run the installed qvimage" ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "${moved}/bin/qvimage" --version)
if(NOT step_output MATCHES "^qvimage \\(QvKit\\) ")
  message(FATAL_ERROR "the installed qvimage printed:\n${step_output}")
endif()
