# The Windows release archive, made by `cpack --preset windows`: norda-converter-<version>-win64.zip
# with norda-cli.exe, the language files, README.txt for the measuring PC and the licence texts of
# what is linked into the program statically. Everything sits in one folder, as the program finds its
# language files beside itself.

# The licence texts as Debian ships them with the cross compiler and the libraries.
set(NORDA_LICENCE_TEXTS
  "GCC-runtime.txt=/usr/share/doc/gcc-mingw-w64-base/copyright" # libstdc++ and libgcc, with the runtime library exception
  "GPL-3.txt=/usr/share/common-licenses/GPL-3"                  # the licence that exception adds to
  "MinGW-w64.txt=/usr/share/doc/mingw-w64-x86-64-dev/copyright"  # winpthreads and the C runtime start-up
  "nlohmann-json.txt=/usr/share/doc/nlohmann-json3-dev/copyright"
)
foreach(entry IN LISTS NORDA_LICENCE_TEXTS)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "The licence text ${file} is missing: run scripts/setup-windows-cross.sh")
  endif()
  install(FILES "${file}" DESTINATION licences RENAME "${name}")
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME norda-converter)
set(CPACK_PACKAGE_VENDOR "Norda")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME norda-converter-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(NORDA_RELEASE_ARCHIVE ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON) # the symbols are no use on the measuring PC
include(CPack)
