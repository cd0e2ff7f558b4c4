# nlohmann-json is a header-only library. A cross-build finds no package of it for the
# target system, so it takes the build machine's headers: only the nlohmann folder,
# through a folder of its own, so that no other host header can come along.
find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND)
    find_path(TAVISTO_HOST_NLOHMANN_DIR nlohmann/json.hpp
              PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${headers})
    file(CREATE_LINK ${TAVISTO_HOST_NLOHMANN_DIR}/nlohmann ${headers}/nlohmann SYMBOLIC)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${headers})
endif()
