# Configures datepicker/ on its own with no Qt package but Qt Widgets (and the Qt packages that
# Widgets itself needs) to be found, builds and installs it, then builds the example against
# the installed package under the same restriction.
#   cmake -DSOURCE_DIR=<datepicker> -DWORK_DIR=... -DGENERATOR=... -DQT_DIR=<Qt6_DIR> [-DLAUNCHER=ccache]
#         -P standalone_check.cmake
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
require_vars(SOURCE_DIR WORK_DIR GENERATOR QT_DIR)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# Every Qt package folder beside Qt6's own is hidden from find_package, but these.
set(allowed Qt6 Qt6HostInfo Qt6Core Qt6CoreTools Qt6DBus Qt6DBusTools Qt6Gui Qt6GuiTools
    Qt6Widgets Qt6WidgetsTools)
get_filename_component(packages "${QT_DIR}" DIRECTORY)
file(GLOB candidates LIST_DIRECTORIES true "${packages}/Qt6*")
set(hidden)
foreach(dir ${candidates})
  get_filename_component(name "${dir}" NAME)
  if(IS_DIRECTORY "${dir}" AND NOT name IN_LIST allowed)
    list(APPEND hidden "${dir}")
  endif()
endforeach()
set(cache "${WORK_DIR}/only-widgets.cmake")
file(WRITE "${cache}" "set(CMAKE_IGNORE_PATH \"${hidden}\" CACHE STRING \"\")\n")
if(LAUNCHER)
  file(APPEND "${cache}" "set(CMAKE_CXX_COMPILER_LAUNCHER \"${LAUNCHER}\" CACHE STRING \"\")\n")
endif()

set(prefix "${WORK_DIR}/prefix")
run("configure datepicker/ on its own" "${CMAKE_COMMAND}" -C "${cache}" -S "${SOURCE_DIR}"
    -B "${WORK_DIR}/build" -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Release "-DCMAKE_INSTALL_PREFIX=${prefix}")
# The restriction holds: the optional Designer plugin (Qt UiPlugin) was not found.
if(hidden AND NOT last_output MATCHES "no Designer plugin")
  message(FATAL_ERROR "Qt packages other than Widgets were found:\n${last_output}")
endif()
run("build" "${CMAKE_COMMAND}" --build "${WORK_DIR}/build" -j 3)
run("install" "${CMAKE_COMMAND}" --install "${WORK_DIR}/build")

run("configure the example against the installed package" "${CMAKE_COMMAND}" -C "${cache}"
    -S "${SOURCE_DIR}/example" -B "${WORK_DIR}/example" -G "${GENERATOR}" "-DCMAKE_PREFIX_PATH=${prefix}")
file(STRINGS "${WORK_DIR}/example/CMakeCache.txt" found REGEX "^Kalendo_DIR:")
if(NOT found MATCHES "^Kalendo_DIR:PATH=${prefix}/")
  message(FATAL_ERROR "the example did not find the installed package: ${found}")
endif()
run("build the example" "${CMAKE_COMMAND}" --build "${WORK_DIR}/example" -j 3)
if(NOT EXISTS "${WORK_DIR}/example/kalendo_example")
  message(FATAL_ERROR "no kalendo_example was built")
endif()
