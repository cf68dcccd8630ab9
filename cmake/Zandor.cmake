# One library per source folder; the sources are the folder's own .cpp files.

function(zandor_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# zandor_layer_root(NAME folder): the include root of one layer, build/include/NAME, which holds
# only the layer's own folder (a link to src/<folder>), so that "<folder>/X.h" resolves for the
# layer and for the layers above it that link it, and for nothing else.
function(zandor_layer_root name folder)
    set(root ${CMAKE_BINARY_DIR}/include/${name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    set(ZANDOR_LAYER_ROOT ${root} PARENT_SCOPE)
endfunction()

# zandor_library(NAME folder DEPS ... [PRIVATE_DEPS ...]): builds zandor_NAME from src/<folder>/*.cpp
# when the folder has code. A library sees its own include root and those of the layers it links
# (DEPS, which reach the layers above it too); PRIVATE_DEPS serve its own sources only.
function(zandor_library name folder)
    cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
    foreach(ex IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/src/${folder}/${ex})
    endforeach()
    list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
    set(cpp ${sources})
    list(FILTER cpp INCLUDE REGEX "\\.cpp$")
    if(NOT cpp)
        return()
    endif()
    zandor_layer_root(${name} ${folder})
    add_library(zandor_${name} STATIC ${sources})
    target_include_directories(zandor_${name} PUBLIC ${ZANDOR_LAYER_ROOT})
    target_link_libraries(zandor_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    zandor_warnings(zandor_${name})
endfunction()

# zandor_header_layer(NAME folder DEPS ...): a layer of headers only (zandor_NAME, an interface
# library with its own include root).
function(zandor_header_layer name folder)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    zandor_layer_root(${name} ${folder})
    add_library(zandor_${name} INTERFACE)
    target_include_directories(zandor_${name} INTERFACE ${ZANDOR_LAYER_ROOT})
    target_link_libraries(zandor_${name} INTERFACE ${ARG_DEPS})
endfunction()

# zandor_test_folder(NAME folder LIBS ...): one GoogleTest executable test_NAME from
# tests/<folder>/*.cpp, registered in CTest.
function(zandor_test_folder name folder)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/tests/${folder}/*.h)
    set(cpp ${sources})
    list(FILTER cpp INCLUDE REGEX "\\.cpp$")
    if(NOT cpp)
        return()
    endif()
    foreach(lib IN LISTS ARG_LIBS)
        if(NOT TARGET ${lib})
            return()
        endif()
    endforeach()
    add_executable(test_${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
    target_compile_definitions(test_${name} PRIVATE ZANDOR_BINARY_DIR_BUILT="${CMAKE_BINARY_DIR}"
                                                    ZANDOR_SOURCE_DIR_BUILT="${CMAKE_SOURCE_DIR}")
    target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
    # The tests see all of src/ and the Qt modules the program uses, whatever layer they test: they
    # start the application object and build the widgets their checks need.
    target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} zandor_testsupport GTest::gtest GTest::gmock
                                               Qt6::Widgets Qt6::Network)
    set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    zandor_warnings(test_${name})
    gtest_discover_tests(test_${name}
        DISCOVERY_MODE PRE_TEST
        NO_PRETTY_VALUES
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   TIMEOUT 300)
endfunction()

# Where an installation puts the program and its own files. The program finds those files from its
# folder by the relative path between the two (platform/ResourceFolder.h), so both move together.
set(ZANDOR_INSTALL_BINDIR bin)
set(ZANDOR_INSTALL_DATADIR share/zandor)

# zandor_program_files(TARGET folder FILES ...): the program's own files of one kind. They are
# copied into a folder of that name beside the built program, so that the build folder runs as an
# installation does, and installed into the same folder under ZANDOR_INSTALL_DATADIR.
function(zandor_program_files target folder)
    cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
    set(copies)
    set(names)
    set(kinds)
    foreach(source IN LISTS ARG_FILES)
        get_filename_component(name ${source} NAME)
        get_filename_component(kind ${source} LAST_EXT)
        list(APPEND names ${name})
        list(APPEND kinds ${kind})
        set(copy ${CMAKE_BINARY_DIR}/${folder}/${name})
        add_custom_command(OUTPUT ${copy}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/${folder}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
            DEPENDS ${source}
            COMMENT "Copying ${folder}/${name}")
        list(APPEND copies ${copy})
    endforeach()
    # A file dropped from the sources must not live on beside the built program. The globs that
    # list the sources configure anew when one goes; copies of their kinds that no source names
    # go then too.
    file(GLOB present LIST_DIRECTORIES false ${CMAKE_BINARY_DIR}/${folder}/*)
    foreach(copy IN LISTS present)
        get_filename_component(name ${copy} NAME)
        get_filename_component(kind ${copy} LAST_EXT)
        if(kind IN_LIST kinds AND NOT name IN_LIST names)
            file(REMOVE ${copy})
        endif()
    endforeach()
    add_custom_target(${target} ALL DEPENDS ${copies})
    if(TARGET zandor)
        add_dependencies(zandor ${target})
    endif()
    install(FILES ${ARG_FILES} DESTINATION ${ZANDOR_INSTALL_DATADIR}/${folder})
endfunction()
