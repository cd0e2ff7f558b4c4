# How the build spends less compiler time: every target's sources compiled in batches
# (a unity build: the headers they share are read once a batch, not once a file).
option(TAVISTO_UNITY_BUILD "Compile each target's sources in batches" ON)
if(TAVISTO_UNITY_BUILD)
    set(CMAKE_UNITY_BUILD ON)
    # GCC warns of a class whose member's type is in an anonymous namespace unless the
    # class is in the file being compiled; in a batch no source file is that file, so
    # every source's own private implementation class (GlyphRenderer::Impl) would warn.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
    endif()
endif()

# Sources that include the kernel's termios2 header (<asm/termbits.h>) cannot share a
# translation unit with <termios.h>, which declares the same structures: they are
# compiled alone. So are, for Windows, the sources that include <windows.h> or one of
# our Win32 headers: its macros (GetMessage, DrawText, ERROR...) would reach every file
# batched after them. Looked up in every target's sources, so that no list names them.
function(tavisto_unity_exclusions directory)
    get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
            continue()
        endif()
        get_target_property(sources ${target} SOURCES)
        get_target_property(source_dir ${target} SOURCE_DIR)
        foreach(source IN LISTS sources)
            if(NOT source MATCHES "\\.(cpp|cc|cxx)$" OR source MATCHES "\\$<")
                continue()
            endif()
            get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${source_dir}")
            if(NOT EXISTS "${path}")
                continue()
            endif()
            set(alone_pattern "^#include <asm/termbits\\.h>")
            if(WIN32)
                string(APPEND alone_pattern "|^#include [<\"]([^>\"]*/)?(windows\\.h|Win32[A-Za-z]*\\.h)")
            endif()
            file(STRINGS "${path}" compiled_alone REGEX "${alone_pattern}")
            if(compiled_alone)
                set_source_files_properties("${path}" TARGET_DIRECTORY ${target}
                                            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
            endif()
        endforeach()
    endforeach()
    get_property(subdirectories DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        tavisto_unity_exclusions("${subdirectory}")
    endforeach()
endfunction()
if(TAVISTO_UNITY_BUILD)
    cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}" CALL tavisto_unity_exclusions
                   "${PROJECT_SOURCE_DIR}")
endif()
