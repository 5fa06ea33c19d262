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

# The adapter library and modules of an ISCII script. TABLE is the script's
# glyph table with code columns COLUMNS; each of VARIANTS (NAME=COLUMN) becomes
# an inventory PREFIX + NAME in the generated header NAME_glyphs.h. The
# library nk_NAME is SOURCES; each of MODULES (FILE:FONT:ENTRY) is a module
# FILE.DLL built from EXPORTS with NK_SCRIPT_FONT and NK_SCRIPT_ENTRY defined.
function(nk_indic_script name)
  cmake_parse_arguments(S "" "TABLE;PREFIX;EXPORTS" "COLUMNS;VARIANTS;SOURCES;MODULES" ${ARGN})
  set(header ${CMAKE_CURRENT_BINARY_DIR}/${name}_glyphs.h)
  string(REPLACE ";" "," columns "${S_COLUMNS}")
  add_custom_command(
    OUTPUT ${header}
    COMMAND ${NK_PYTHON} ${CMAKE_SOURCE_DIR}/tools/fontgen/glyph_header.py
            ${S_TABLE} ${header} ${S_PREFIX} ${columns} ${S_VARIANTS}
    DEPENDS ${S_TABLE} ${CMAKE_SOURCE_DIR}/tools/fontgen/glyph_header.py
            ${CMAKE_SOURCE_DIR}/tools/fontgen/glyph_table.py
    COMMENT "${name} glyph codes from its glyph table")
  add_library(nk_${name} STATIC ${S_SOURCES} ${header})
  target_include_directories(nk_${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  target_link_libraries(nk_${name} PUBLIC nk_adapter_common)
  set_target_properties(nk_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  if(WIN32)
    foreach(row ${S_MODULES})
      string(REPLACE ":" ";" parts ${row})
      list(GET parts 0 file)
      list(GET parts 1 font)
      list(GET parts 2 entry)
      set(def ${CMAKE_CURRENT_BINARY_DIR}/${file}.def)
      file(WRITE ${def} "LIBRARY ${file}.DLL\nEXPORTS\n    ${entry}\n")
      add_library(${file} SHARED ${S_EXPORTS} ${def})
      target_compile_definitions(${file} PRIVATE NK_SCRIPT_FONT=${font} NK_SCRIPT_ENTRY=${entry})
      target_link_libraries(${file} PRIVATE nk_${name})
      set_target_properties(${file} PROPERTIES PREFIX "" SUFFIX ".DLL"
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    endforeach()
  endif()
endfunction()
