# One static library per module, built from the sources of its folders; beside each source
# folder, *_test.cpp files form that folder's test program and each *_bench.cpp a benchmark.

# folhavida_module(<lib> FOLDERS <dir>... [LIBS <lib>...])
function(folhavida_module lib)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LIBS" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(FILTER found EXCLUDE REGEX "_(test|bench)\\.cpp$")
    list(APPEND sources ${found})
  endforeach()
  add_library(${lib} STATIC ${sources})
  target_include_directories(${lib} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${lib} PRIVATE ${FOLHAVIDA_WARNINGS})
  target_link_libraries(${lib} PUBLIC ${ARG_LIBS})
endfunction()

# folhavida_tests(<name> FOLDER <dir> LIBS <lib>... [SCREEN] [PROPERTIES <ctest property>...])
# The folder's *_test.cpp (and *_test.rc) become <name>.exe, run by CTest under Wine.
# A folder may bring its own test main in TestMain_test.cpp; otherwise gtest_main is used.
# SCREEN: the tests show windows, take focus or read the screen, so they never run alongside
# other such tests.
function(folhavida_tests name)
  cmake_parse_arguments(ARG "SCREEN" "FOLDER" "LIBS;PROPERTIES" ${ARGN})
  if(NOT FOLHAVIDA_TESTS)
    return()
  endif()
  file(GLOB tests CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_test.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_test.rc)
  if(NOT tests)
    return()
  endif()
  add_executable(${name} ${tests})
  target_compile_options(${name} PRIVATE ${FOLHAVIDA_WARNINGS})
  set(main gtest_main)
  foreach(t IN LISTS tests)
    if(t MATCHES "TestMain_test\\.cpp$")
      set(main gtest)
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock ${main})
  set(props TIMEOUT 300 ${ARG_PROPERTIES})
  if(ARG_SCREEN)
    list(APPEND props RESOURCE_LOCK screen)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${props})
endfunction()

# folhavida_benchmarks(FOLDER <dir> LIBS <lib>...): each *_bench.cpp becomes its own program.
function(folhavida_benchmarks)
  cmake_parse_arguments(ARG "" "FOLDER" "LIBS" ${ARGN})
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_bench.cpp)
  foreach(bench IN LISTS benches)
    get_filename_component(stem ${bench} NAME_WE)
    add_executable(${stem} ${bench})
    target_compile_options(${stem} PRIVATE ${FOLHAVIDA_WARNINGS})
    target_link_libraries(${stem} PRIVATE ${ARG_LIBS})
  endforeach()
endfunction()
