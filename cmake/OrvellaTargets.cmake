# Shared settings of the project's own targets (not of GoogleTest).

function(orvella_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00 NOMINMAX)
  endif()
endfunction()

# Windows programs are linked statically, so that one file is all a user copies.
function(orvella_static_exe target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# nlohmann/json is header-only. The mingw build must not see /usr/include as a whole,
# so it gets a folder of its own that holds only a link to the library's headers.
if(NOT TARGET orvella_json)
  add_library(orvella_json INTERFACE)
  if(WIN32 OR ORVELLA_FUZZ_ONLY)
    set(_json_dir ${CMAKE_BINARY_DIR}/third_party/include)
    file(MAKE_DIRECTORY ${_json_dir})
    if(NOT EXISTS ${_json_dir}/nlohmann)
      file(CREATE_LINK /usr/include/nlohmann ${_json_dir}/nlohmann SYMBOLIC)
    endif()
    target_include_directories(orvella_json SYSTEM INTERFACE ${_json_dir})
  endif()
endif()

# Sanitizer flags of the native ASan/UBSan variant of the core and its tests.
set(ORVELLA_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# orvella_add_test_program(<name> SOURCES <files...> LIBS <libraries...> [ARGS <arguments...>])
# A GoogleTest program run once with all its tests (every Wine start costs a second).
# Paths of SOURCES are relative to the folder being processed (tests/ for its fragments).
function(orvella_add_test_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  orvella_settings(${name})
  orvella_static_exe(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no ${T_ARGS})
endfunction()

# Windows helper programs started by tests (tools/, tests/<area>/helpers): GUI subsystem
# with a WinMain entry unless CONSOLE is given (then main); arguments come from
# GetCommandLineW.
function(orvella_add_windows_tool name)
  cmake_parse_arguments(T "CONSOLE" "" "SOURCES;LIBS" ${ARGN})
  if(T_CONSOLE)
    add_executable(${name} ${T_SOURCES})
  else()
    add_executable(${name} WIN32 ${T_SOURCES})
  endif()
  orvella_settings(${name})
  orvella_static_exe(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

# orvella_add_language_runs(<program> <gtest filter>): runs the tests the filter selects once
# under a Japanese and once under an English user locale (Wine takes it from LANG); the
# tests read ORVELLA_EXPECT_LANG ("ja" or "en") to know which one they run under.
function(orvella_add_language_runs program filter)
  set(languages ja en)
  set(locales ja_JP.UTF-8 en_US.UTF-8)
  foreach(lang locale IN ZIP_LISTS languages locales)
    add_test(NAME ${program}_${lang} COMMAND ${program} --gtest_color=no --gtest_filter=${filter})
    set_tests_properties(${program}_${lang} PROPERTIES TIMEOUT 60
                         ENVIRONMENT "LANG=${locale};LC_ALL=${locale};ORVELLA_EXPECT_LANG=${lang}")
  endforeach()
endfunction()
