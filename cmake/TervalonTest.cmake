# tervalon_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable, run by ctest offscreen. Label "serial" or "e2e" marks the
# tests that the ThreadSanitizer run of CI repeats.
function(tervalon_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/TestApp.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} tv_app Qt6::Widgets GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE TERVALON_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TERVALON_SOURCE_DIR=${PROJECT_SOURCE_DIR};TERVALON_BIN_DIR=${TERVALON_BIN_DIR}"
    TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# tervalon_folder_library(<target> <glob patterns...> [EXCLUDE <regex>])
# A folder's library from its sources; folders gain files without anyone editing CMake.
function(tervalon_folder_library target)
  cmake_parse_arguments(L "" "EXCLUDE" "" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${L_UNPARSED_ARGUMENTS})
  if(L_EXCLUDE)
    list(FILTER _src EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
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
