# nlohmann-json and CLI11 are header-only libraries. A cross-build finds no package of
# them for the target system, so it takes the build machine's headers: only the
# library's own folder, through a folder of its own, so that no other host header can
# come along.

# tavisto_host_headers(TARGET FOLDER HEADER): TARGET puts FOLDER of the build machine's
# headers (the one holding FOLDER/HEADER) on the include path, and nothing else.
function(tavisto_host_headers target folder header)
    find_path(TAVISTO_HOST_${folder}_DIR ${folder}/${header}
              PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${headers})
    file(CREATE_LINK ${TAVISTO_HOST_${folder}_DIR}/${folder} ${headers}/${folder} SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED)
    target_include_directories(${target} SYSTEM INTERFACE ${headers})
endfunction()

find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND)
    tavisto_host_headers(nlohmann_json::nlohmann_json nlohmann json.hpp)
endif()
find_package(CLI11 2 QUIET)
if(NOT CLI11_FOUND)
    tavisto_host_headers(CLI11::CLI11 CLI CLI.hpp)
endif()
