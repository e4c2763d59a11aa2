# GoogleTest for both builds: the system package natively, the packaged sources when cross-building
# for Windows (so the tests run against the real Windows C runtime under Wine).
if(LCT_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(target gtest gtest_main gmock gmock_main)
      if(TARGET ${target})
        target_compile_options(${target} PRIVATE -w)
      endif()
    endforeach()
    # The win32 thread model has no std::mutex, which GoogleTest's Notification needs: it gets one
    # without (for itself and, through the interface, for every test that uses it).
    target_compile_options(gtest PUBLIC
      -include ${PROJECT_SOURCE_DIR}/tests/gtest_win32_notification.h)
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
endif()

# add_unit_test(NAME name SOURCES a.cpp b.cpp LIBRARIES lib...)
# One test executable; natively each case becomes its own ctest test, under Wine the whole
# executable is one ctest test (discovery would start Wine once per case list).
function(add_unit_test)
  cmake_parse_arguments(UT "" "NAME" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${UT_NAME} ${UT_SOURCES})
  target_link_libraries(${UT_NAME} PRIVATE ${UT_LIBRARIES} GTest::gtest_main GTest::gtest)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${UT_NAME} COMMAND ${UT_NAME} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  else()
    gtest_discover_tests(${UT_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         DISCOVERY_TIMEOUT 30)
  endif()
endfunction()

# lct_library(NAME [LIBRARIES lib...]): a static library of the .cpp files in the current folder
# (an interface library while the folder has none yet).
function(lct_library NAME)
  cmake_parse_arguments(LIB "" "" "LIBRARIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${NAME} STATIC ${sources})
    target_link_libraries(${NAME} PUBLIC ${LIB_LIBRARIES})
  else()
    add_library(${NAME} INTERFACE)
    target_link_libraries(${NAME} INTERFACE ${LIB_LIBRARIES})
  endif()
endfunction()
