# nlohmann/json (Debian: nlohmann-json3-dev, header only) for the JSON output of the command line.
# A cross build takes the build machine's headers, but only the nlohmann/ folder: the package's own
# target would put all of /usr/include, with the build machine's C library, before MinGW's headers.
if(CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED PATHS /usr/share/cmake /usr/lib/cmake NO_CMAKE_FIND_ROOT_PATH)
  find_path(VESKO_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${VESKO_NLOHMANN_JSON_INCLUDE}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/nlohmann_json_include)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/nlohmann_json_include)
else()
  find_package(nlohmann_json 3 REQUIRED)
endif()
