# Debian's nlohmann-json headers for the MinGW cross build. Its own package file would put all of
# /usr/include, the Linux C library's headers among them, on the include path; this one exposes only
# the nlohmann/ directory, through a link in the build tree.
if(NOT TARGET nlohmann_json::nlohmann_json)
  find_path(NORDA_HOST_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT NORDA_HOST_JSON_INCLUDE)
    set(nlohmann_json_FOUND FALSE)
    set(nlohmann_json_NOT_FOUND_MESSAGE "nlohmann/json.hpp not found in /usr/include (package nlohmann-json3-dev)")
    return()
  endif()
  set(_norda_json_dir ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${_norda_json_dir})
  file(CREATE_LINK ${NORDA_HOST_JSON_INCLUDE}/nlohmann ${_norda_json_dir}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_norda_json_dir})
endif()
