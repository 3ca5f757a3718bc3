# Installs the Kalendo component of a built tree into a temporary prefix, then configures,
# builds and runs a host project that finds it with find_package(Kalendo).
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=... -DGENERATOR=... [-DCONFIG=...] [-DEXPECT_PLUGIN=ON]
#         -P install_check.cmake
include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
require_vars(BUILD_DIR WORK_DIR CONSUMER_DIR GENERATOR)

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
set(config_args)
if(CONFIG)
  set(config_args --config "${CONFIG}")
endif()
run("install" "${CMAKE_COMMAND}" --install "${BUILD_DIR}" ${config_args} --component Kalendo --prefix "${prefix}")

foreach(header KalendoCtl.h kalendo_exports.h kalendo_global.h)
  if(NOT EXISTS "${prefix}/include/kalendo/${header}")
    message(FATAL_ERROR "not installed: include/kalendo/${header}")
  endif()
endforeach()
file(GLOB_RECURSE libs "${prefix}/*/libkalendo.so")
file(GLOB_RECURSE configs "${prefix}/*/KalendoConfig.cmake")
if(NOT libs OR NOT configs)
  message(FATAL_ERROR "libkalendo.so or KalendoConfig.cmake not installed under ${prefix}")
endif()

# The package hands a host nothing of the client: no client target in its exported link
# interface, and no library of the build tree among the installed library's run-time needs.
file(GLOB exported "${prefix}/*/cmake/Kalendo/KalendoTargets*.cmake")
foreach(f ${exported})
  file(READ "${f}" text)
  if(text MATCHES "corvadex")
    message(FATAL_ERROR "${f} names a client target")
  endif()
endforeach()
list(GET libs 0 installed_lib)
file(GET_RUNTIME_DEPENDENCIES LIBRARIES "${installed_lib}"
  RESOLVED_DEPENDENCIES_VAR needed UNRESOLVED_DEPENDENCIES_VAR unresolved)
foreach(dep ${needed} ${unresolved})
  if(dep MATCHES "corvadex" OR dep MATCHES "^${BUILD_DIR}/")
    message(FATAL_ERROR "libkalendo needs ${dep} at run time")
  endif()
endforeach()

run("configure the host project" "${CMAKE_COMMAND}" -S "${CONSUMER_DIR}" -B "${WORK_DIR}/build"
    -G "${GENERATOR}" "-DCMAKE_PREFIX_PATH=${prefix}" "-DKALENDO_EXPECT_PLUGIN=${EXPECT_PLUGIN}")
run("build the host project" "${CMAKE_COMMAND}" --build "${WORK_DIR}/build")
run("run the host program" "${WORK_DIR}/build/kalendo_consumer")
message(STATUS "${last_output}")
