# Authenticode signing. Given a certificate, the client and the uninstaller are signed before
# they are packed into the installer, and the installer after it is linked; without one the
# build is unchanged. The certificate's password never enters the build files: it is read from
# the environment variable PELMORA_SIGN_PASSWORD when a program is signed.
set(PELMORA_SIGN_PKCS12 "" CACHE FILEPATH
    "PKCS#12 file whose certificate and key sign the programs (empty: no signing)")
set(PELMORA_SIGN_TIMESTAMP_URL "" CACHE STRING
    "Time-stamp server that counter-signs the signatures (empty: no time stamp)")

if(NOT PELMORA_SIGN_PKCS12 STREQUAL "")
  find_program(PELMORA_OSSLSIGNCODE osslsigncode REQUIRED)
endif()

function(pelmora_sign target)
  if(PELMORA_SIGN_PKCS12 STREQUAL "")
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/sign-program ${PELMORA_OSSLSIGNCODE}
            $<TARGET_FILE:${target}> ${PELMORA_SIGN_PKCS12} "${PELMORA_SIGN_TIMESTAMP_URL}"
    COMMENT "Signing ${target}"
    VERBATIM)
endfunction()
