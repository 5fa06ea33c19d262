# Helpers shared by every folder of the project.

# GoogleTest: the system's library natively, built from its sources when cross
# compiling (the -posix compilers provide the threads it needs).
macro(nk_setup_gtest)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(NK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built by the cross compiler")
    if(NOT EXISTS ${NK_GTEST_SOURCE}/CMakeLists.txt)
      message(FATAL_ERROR "No GoogleTest sources in ${NK_GTEST_SOURCE} (Debian: googletest); "
                          "name them with -DNK_GTEST_SOURCE=...")
    endif()
    add_subdirectory(${NK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main)
      target_compile_options(${t} PRIVATE -w)
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# A test of portable code: built and run natively (sanitizers, valgrind).
function(nk_native_test name)
  if(NOT WIN32)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE nk_portable GTest::gtest_main GTest::gtest)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# A Windows test program: built in both Windows builds (so that it compiles
# for the 32-bit target too) and run under Wine by the 64-bit build. Tests
# find nelkor.dll and the modules beside themselves in bin/.
function(nk_wine_test name)
  if(WIN32)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE nelkor nk_wine_test_util gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    if(NK_CAN_RUN)
      add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
      set_tests_properties(${name} PROPERTIES TIMEOUT 180 RESOURCE_LOCK wine_desktop)
    endif()
  endif()
endfunction()

# A Windows program that a test drives (a host or a recorder application).
function(nk_wine_helper name)
  if(WIN32)
    add_executable(${name} ${ARGN})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# A libFuzzer target over portable code; built only in the fuzz build
# (clang, -DNK_FUZZ=ON). scripts/fuzz.sh runs each for a bounded time.
function(nk_fuzz_target name)
  if(NOT WIN32 AND NK_FUZZ)
    add_executable(${name} ${ARGN})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE nk_portable)
  endif()
endfunction()

# Add every folder below the current one that has a CMakeLists.txt.
function(nk_add_subdirectories)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
