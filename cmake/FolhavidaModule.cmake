# One static library per layer, built from the sources of its folders and linking only the layers
# below it; beside each source folder, *_test.cpp files form that folder's test programs and each
# *_bench.cpp a benchmark.
#
# The native build (FOLHAVIDA_NATIVE) takes the portable layers only, less their modules that call
# the Windows API: a layer names those once, by stem, in WINDOWS_ONLY, which leaves out the
# module's sources, tests and benchmark (Stem.cpp, Stem_test.cpp, Stem_test.rc, ...). NATIVE_ONLY
# stems are the other way round (the POSIX side of the platform file).

# folhavida_platform_files(<list var>): drops the files of the other target's stems from the list.
function(folhavida_platform_files var)
  set(files ${${var}})
  if(FOLHAVIDA_NATIVE)
    set(stems ${FOLHAVIDA_WINDOWS_ONLY})
  else()
    set(stems ${FOLHAVIDA_NATIVE_ONLY})
  endif()
  foreach(stem IN LISTS stems)
    list(FILTER files EXCLUDE REGEX "/${stem}(_[a-z_]*)?\\.(cpp|rc)$")
  endforeach()
  set(${var} ${files} PARENT_SCOPE)
endfunction()

# folhavida_platform_stems(WINDOWS_ONLY <stem>... NATIVE_ONLY <stem>...): names the folder's modules
# (and test files) that only one of the builds takes, for the calls below in the same directory.
macro(folhavida_platform_stems)
  cmake_parse_arguments(_FPS "" "" "WINDOWS_ONLY;NATIVE_ONLY" ${ARGN})
  list(APPEND FOLHAVIDA_WINDOWS_ONLY ${_FPS_WINDOWS_ONLY})
  list(APPEND FOLHAVIDA_NATIVE_ONLY ${_FPS_NATIVE_ONLY})
endmacro()

# folhavida_module(<lib> FOLDERS <dir>... [EXCLUDE <regex>] [LIBS <lib>...])
# LIBS are the layers below and the system libraries the layer itself calls. With the tests, a
# link check takes every member of the library with only those: a call into a layer above (an
# upward include) fails to link even when no program of the layer's own uses that member, and so
# does a call into a system library the layer does not name (cmake/linkcheck/).
function(folhavida_module lib)
  cmake_parse_arguments(ARG "" "EXCLUDE" "FOLDERS;LIBS" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(FILTER found EXCLUDE REGEX "_(test|bench)\\.cpp$")
    if(ARG_EXCLUDE)
      list(FILTER found EXCLUDE REGEX "${ARG_EXCLUDE}")
    endif()
    list(APPEND sources ${found})
  endforeach()
  folhavida_platform_files(sources)
  add_library(${lib} STATIC ${sources})
  target_include_directories(${lib} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${lib} PRIVATE ${FOLHAVIDA_WARNINGS} ${FOLHAVIDA_INSTRUMENT})
  target_link_libraries(${lib} PUBLIC ${ARG_LIBS})
  if(FOLHAVIDA_TESTS)
    # For the layer checks (cmake/linkcheck/): the layer, its folders, its files and its LIBS.
    set(folders)
    set(headers)
    foreach(folder IN LISTS ARG_FOLDERS)
      file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
      string(REGEX REPLACE "/\\.?$" "" relative "${relative}")
      list(APPEND folders ${relative})
      file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
      list(FILTER found EXCLUDE REGEX "_test\\.h$")
      list(APPEND headers ${found})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY FOLHAVIDA_LAYERS ${lib})
    set_property(GLOBAL PROPERTY FOLHAVIDA_LAYER_FOLDERS_${lib} ${folders})
    set_property(GLOBAL PROPERTY FOLHAVIDA_LAYER_FILES_${lib} ${sources} ${headers})
    set_property(GLOBAL PROPERTY FOLHAVIDA_LAYER_LIBS_${lib} ${ARG_LIBS})
  endif()
endfunction()

# folhavida_tests(<name> FOLDER <dir> LIBS <lib>... [PROPERTIES <ctest property>...])
# The folder's *_test.cpp (and *_test.rc) become <name>_tests.exe, run by CTest under Wine, many
# at once. Its *_screen_test.cpp become <name>_screen_tests.exe: tests that show windows, take the
# focus, read the screen or use the clipboard, which run one at a time (RESOURCE_LOCK screen).
# A folder may bring its own test main in TestMain_test.cpp (both programs use it); otherwise
# gtest_main is used.
function(folhavida_tests name)
  cmake_parse_arguments(ARG "" "FOLDER" "LIBS;PROPERTIES" ${ARGN})
  if(NOT FOLHAVIDA_TESTS)
    return()
  endif()
  file(GLOB all CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_test.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_test.rc)
  folhavida_platform_files(all)
  set(shared ${all})
  list(FILTER shared INCLUDE REGEX "(TestMain_test\\.cpp|_test\\.rc)$")
  set(pure ${all})
  list(FILTER pure EXCLUDE REGEX "(TestMain_test\\.cpp|_test\\.rc|_screen_test\\.cpp)$")
  set(screen ${all})
  list(FILTER screen INCLUDE REGEX "_screen_test\\.cpp$")
  if(pure)
    folhavida_test_program(${name}_tests "${pure};${shared}" "${ARG_LIBS}" "${ARG_PROPERTIES}")
  endif()
  if(screen)
    folhavida_test_program(${name}_screen_tests "${screen};${shared}" "${ARG_LIBS}"
                           "${ARG_PROPERTIES};RESOURCE_LOCK;screen")
  endif()
endfunction()

function(folhavida_test_program program sources libs properties)
  add_executable(${program} ${sources})
  target_compile_options(${program} PRIVATE ${FOLHAVIDA_WARNINGS})
  set(main gtest_main)
  if(sources MATCHES "TestMain_test\\.cpp")
    set(main gtest)
  endif()
  target_link_libraries(${program} PRIVATE ${libs} testing ${main})
  gtest_discover_tests(${program} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 300 ${properties})
endfunction()

# folhavida_benchmarks(FOLDER <dir> LIBS <lib>...): each *_bench.cpp becomes its own program.
# Figures come from the Windows build; the native build, made for the sanitizers, has none.
function(folhavida_benchmarks)
  cmake_parse_arguments(ARG "" "FOLDER" "LIBS" ${ARGN})
  if(FOLHAVIDA_NATIVE)
    return()
  endif()
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_bench.cpp)
  folhavida_platform_files(benches)
  foreach(bench IN LISTS benches)
    get_filename_component(stem ${bench} NAME_WE)
    add_executable(${stem} ${bench})
    target_compile_options(${stem} PRIVATE ${FOLHAVIDA_WARNINGS})
    target_link_libraries(${stem} PRIVATE ${ARG_LIBS})
  endforeach()
endfunction()
