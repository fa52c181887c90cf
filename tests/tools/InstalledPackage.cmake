# Installs the build into a staging prefix and builds the host program that
# docs/host.md shows, once with find_package(Orvento) and once with pkg-config,
# then runs both on a sandbox made by the installed orvgrab.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSTAGE=... -DGENERATOR=... [-DLINK_FLAGS=...]
#         -P InstalledPackage.cmake
# LINK_FLAGS: what a program linking the installed libraries needs besides them;
# a sanitizer build's libraries need its run-time (-fsanitize=...).
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# The text between "<!-- example: NAME -->", its fence line, and the closing fence.
function(example page name variable)
  set(marker "<!-- example: ${name} -->\n")
  string(FIND "${page}" "${marker}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "docs/host.md has no example ${name}")
  endif()
  string(LENGTH "${marker}" length)
  math(EXPR at "${at} + ${length}")
  string(SUBSTRING "${page}" ${at} -1 rest)
  string(FIND "${rest}" "\n" fence)
  math(EXPR fence "${fence} + 1")
  string(SUBSTRING "${rest}" ${fence} -1 rest)
  string(FIND "${rest}" "```" end)
  string(SUBSTRING "${rest}" 0 ${end} text)
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${STAGE}")
set(prefix "${STAGE}/prefix")
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

file(READ "${SOURCE_DIR}/docs/host.md" page)
example("${page}" main.cpp program)
example("${page}" CMakeLists.txt lists)
file(WRITE "${STAGE}/src/main.cpp" "${program}")
file(WRITE "${STAGE}/src/CMakeLists.txt" "${lists}")

run(${CMAKE_COMMAND} -S "${STAGE}/src" -B "${STAGE}/build" -G "${GENERATOR}"
    "-DCMAKE_PREFIX_PATH=${prefix}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build "${STAGE}/build")

# The installed module needs its environment: a sandbox the installed orvgrab keeps.
set(bare --unset=ORVDATA --unset=SISODIR5 --unset=ORV_REGISTRY_FILE
    --unset=ORV_DEBUG_OUTPUT_FILE)
set(box "${STAGE}/box")
run(${CMAKE_COMMAND} -E env ${bare} "TMPDIR=${STAGE}" "${prefix}/bin/orvgrab" --sandbox "${box}"
    --count 1 --output "${STAGE}/orvgrab.png")
set(prepared "ORVDATA=${box}/data/" "SISODIR5=${box}/runtime"
    "ORV_REGISTRY_FILE=${box}/registry.ini" "ORV_DEBUG_OUTPUT_FILE=${box}/debug-output.log")
run(${CMAKE_COMMAND} -E env ${prepared} "${STAGE}/build/hostprogram")
if(NOT out STREQUAL "image: 640 x 480, 1 plane(s)\n")
  message(FATAL_ERROR "the CMake-built program printed '${out}'")
endif()

find_program(PKG_CONFIG pkg-config)
find_program(CXX NAMES c++ g++)
if(PKG_CONFIG AND CXX)
  set(ENV{PKG_CONFIG_PATH} "${prefix}/lib/pkgconfig")
  run(${PKG_CONFIG} --cflags --libs orvento)
  separate_arguments(flags UNIX_COMMAND "${out}")
  run(${PKG_CONFIG} --variable=module orvento)
  string(STRIP "${out}" module)
  separate_arguments(link_flags UNIX_COMMAND "${LINK_FLAGS}")
  run(${CXX} "${STAGE}/src/main.cpp" ${flags} ${link_flags} "-DORVENTO_MODULE=\"${module}\"" -o
      "${STAGE}/hostprogram-pc")
  run(${CMAKE_COMMAND} -E env ${prepared} "${STAGE}/hostprogram-pc")
  if(NOT out STREQUAL "image: 640 x 480, 1 plane(s)\n")
    message(FATAL_ERROR "the pkg-config-built program printed '${out}'")
  endif()
else()
  message(STATUS "pkg-config or a C++ compiler missing: the pkg-config build is left out")
endif()
file(REMOVE_RECURSE "${STAGE}")
