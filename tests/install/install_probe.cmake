# Installs the platform layer into a temporary prefix, builds an outside
# project against it with find_package and runs it.
set(prefix "${BUILD_DIR}/install-probe/prefix")
set(probe_build "${BUILD_DIR}/install-probe/build")
file(REMOVE_RECURSE "${BUILD_DIR}/install-probe")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${probe_build}" -G Ninja
                        "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}"
                        "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the probe failed: ${rc}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${probe_build}" RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the probe failed: ${rc}")
endif()
execute_process(COMMAND "${probe_build}/probe" RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the probe failed: ${rc}")
endif()
