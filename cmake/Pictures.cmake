# The pages' JPEG pictures and libjpeg, which decodes them.
#
# libjpeg is built once per build folder from Debian's source package (scripts/build-libjpeg),
# reduced to the decoding the installer does: a static library for the installer and a djpeg
# for this machine, reduced alike. Every picture is decoded with that djpeg before the resource
# script takes it in, so a picture that the installer could not decode cleanly fails the build
# instead of leaving a page blank. The script returns at once when its build is there; a change
# of the script configures the build anew, and the script then builds libjpeg anew.

set(PELMORA_LIBJPEG_DIR "${CMAKE_BINARY_DIR}/libjpeg" CACHE PATH
    "Where scripts/build-libjpeg puts libjpeg for the Windows target and djpeg for this machine")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${CMAKE_SOURCE_DIR}/scripts/build-libjpeg")
execute_process(
  COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-libjpeg" "${PELMORA_LIBJPEG_DIR}"
          "${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake"
  RESULT_VARIABLE libjpeg_result)
if(NOT libjpeg_result EQUAL 0)
  message(FATAL_ERROR "libjpeg could not be built (scripts/build-libjpeg: ${libjpeg_result})")
endif()

add_library(pelmora_libjpeg STATIC IMPORTED)
set_target_properties(pelmora_libjpeg PROPERTIES
  IMPORTED_LOCATION "${PELMORA_LIBJPEG_DIR}/win/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${PELMORA_LIBJPEG_DIR}/win/include")
target_link_libraries(pelmora_ui PRIVATE pelmora_libjpeg)

set(PELMORA_DJPEG "${PELMORA_LIBJPEG_DIR}/host/bin/djpeg")
file(GLOB PELMORA_PICTURES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/pictures/*.jpg")
set(picture_marks)
foreach(picture IN LISTS PELMORA_PICTURES)
  get_filename_component(picture_name "${picture}" NAME)
  set(mark "${CMAKE_BINARY_DIR}/pictures/${picture_name}.decoded")
  # djpeg also fails on warnings (data cut short or corrupt), which libjpeg would paper over.
  add_custom_command(
    OUTPUT "${mark}"
    COMMAND "${PELMORA_DJPEG}" -outfile /dev/null "${picture}"
    COMMAND "${CMAKE_COMMAND}" -E touch "${mark}"
    DEPENDS "${picture}" "${PELMORA_DJPEG}"
    COMMENT "Decoding the picture ${picture_name}"
    VERBATIM)
  list(APPEND picture_marks "${mark}")
endforeach()
add_custom_target(pelmora_pictures ALL DEPENDS ${picture_marks})
add_dependencies(pelmora_shell pelmora_pictures)
# The icon and the manifest are taken in by the resource script too. A source's properties hold
# in one folder only: a test program built from the resource script elsewhere sets them there.
set(PELMORA_RESOURCE_DEPENDS ${PELMORA_PICTURES} ${picture_marks} "${CMAKE_SOURCE_DIR}/resources/Pelmora.ico"
    "${CMAKE_SOURCE_DIR}/resources/Install_Pelmora.manifest")
set_source_files_properties("${PELMORA_RESOURCE_SCRIPT}" PROPERTIES OBJECT_DEPENDS "${PELMORA_RESOURCE_DEPENDS}")
