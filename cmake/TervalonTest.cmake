include(GoogleTest)

# tervalon_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable, run by ctest offscreen. Label "serial" or "e2e" marks the
# tests that the ThreadSanitizer run of CI repeats.
function(tervalon_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # Only what the test names: a test of the file layer never links the window.
  target_link_libraries(${name} PRIVATE ${T_LIBS} tv_test_support GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE TERVALON_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}"
                                              TERVALON_BIN_DIR_DEFAULT="${TERVALON_BIN_DIR}")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  # Every test case is its own ctest test, so a failure names it and a run can pick cases.
  # Listed when ctest runs, not at build time, so building never starts a test program.
  # One variable only: the discovery script flattens a list of them. The folders the tests
  # need are compiled in (TERVALON_*_DIR_DEFAULT) and may be overridden from the environment.
  set(_props ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
  if(T_LABELS)
    list(APPEND _props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${_props})
endfunction()

# tervalon_window_sources(<files...>): files of this folder that define members of the window
# class (they include app/MainFrm.h). They build into the window library with app/, and the
# folder's own library leaves them out, so that no folder library depends on the window.
function(tervalon_window_sources)
  foreach(f ${ARGN})
    set_property(GLOBAL APPEND PROPERTY TERVALON_WINDOW_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# tervalon_folder_library(<target> <glob patterns...> [EXCLUDE <regex>])
# A folder's library from its sources; folders gain files without anyone editing CMake.
# A file that includes the window class's header must be listed with tervalon_window_sources.
function(tervalon_folder_library target)
  cmake_parse_arguments(L "" "EXCLUDE" "" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${L_UNPARSED_ARGUMENTS})
  if(L_EXCLUDE)
    list(FILTER _src EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  get_property(_window GLOBAL PROPERTY TERVALON_WINDOW_SOURCES)
  if(_window)
    list(REMOVE_ITEM _src ${_window})
  endif()
  foreach(f ${_src})
    file(STRINGS ${f} _window_include REGEX "#include \"app/MainFrm\.h\"")
    if(_window_include)
      message(FATAL_ERROR "${f} includes the window class's header: name it in tervalon_window_sources")
    endif()
  endforeach()
  add_library(${target} STATIC ${_src} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# tervalon_folder_tests(<name> LIBS ... [LABELS ...]): one test executable from every .cpp here.
function(tervalon_folder_tests name)
  cmake_parse_arguments(T "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(_src)
    tervalon_add_test(${name} SOURCES ${_src} LIBS ${T_LIBS} LABELS ${T_LABELS})
  endif()
endfunction()
