# zlib for the Windows programs, reduced to what they do with it: inflate the payloads' zlib
# streams (scripts/build-zlib builds it once per build folder from Debian's source package).
# Linked statically: the programs must not need a zlib1.dll beside them. The script returns at
# once when its build is there; a change of the script configures the build anew, and the
# script then builds zlib anew.
set(PELMORA_ZLIB_DIR "${CMAKE_BINARY_DIR}/zlib" CACHE PATH
    "Where scripts/build-zlib puts the inflate library for the Windows target")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/scripts/build-zlib")
execute_process(
  COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-zlib" "${PELMORA_ZLIB_DIR}" "${CMAKE_C_COMPILER}" "${CMAKE_AR}"
  RESULT_VARIABLE zlib_result)
if(NOT zlib_result EQUAL 0)
  message(FATAL_ERROR "zlib could not be built (scripts/build-zlib: ${zlib_result})")
endif()

add_library(pelmora_zlib STATIC IMPORTED)
set_target_properties(pelmora_zlib PROPERTIES
  IMPORTED_LOCATION "${PELMORA_ZLIB_DIR}/lib/libz.a"
  INTERFACE_INCLUDE_DIRECTORIES "${PELMORA_ZLIB_DIR}/include")
