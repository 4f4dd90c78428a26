# Windows build: the launcher, the framework layer, and the test programs that run under Wine.
enable_language(RC)
enable_testing()

# Static C and C++ runtimes: the programs import Windows system DLLs only.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

set(WIN_SYSTEM_LIBS comctl32 shlwapi version shell32 advapi32 gdi32 user32 kernel32)

file(GLOB FRAMEWORK_SOURCES CONFIGURE_DEPENDS framework/*.cpp)
file(GLOB PRODUCT_SOURCES CONFIGURE_DEPENDS app/*.cpp dialog/*.cpp controls/*.cpp)
# The application object and the program entry live only in the launcher itself, never in a test
# program (and the entry must be an object of the program: the C runtime's reference to WinMain is
# resolved after the libraries have been searched).
set(LAUNCHER_MAIN ${PROJECT_SOURCE_DIR}/app/LauncherMain.cpp ${PROJECT_SOURCE_DIR}/framework/afxmain.cpp)
list(REMOVE_ITEM PRODUCT_SOURCES ${PROJECT_SOURCE_DIR}/app/LauncherMain.cpp)
list(REMOVE_ITEM FRAMEWORK_SOURCES ${PROJECT_SOURCE_DIR}/framework/afxmain.cpp)

add_library(launcher_lib STATIC ${FRAMEWORK_SOURCES} ${PRODUCT_SOURCES})
target_include_directories(launcher_lib PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(launcher_lib PRIVATE ${PRODUCT_CHARSET_FLAGS})
target_link_libraries(launcher_lib PUBLIC ${WIN_SYSTEM_LIBS})

set(LAUNCHER_RESOURCES ${PROJECT_SOURCE_DIR}/res/launcher.rc)
# The resource compiler's dependency scan does not see the files the script names.
set_source_files_properties(${LAUNCHER_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/res/launcher.manifest;${PROJECT_SOURCE_DIR}/res/launcher.ico;${PROJECT_SOURCE_DIR}/res/background.bmp")
add_executable(Teleskarn WIN32 ${LAUNCHER_MAIN} ${LAUNCHER_RESOURCES})
target_compile_options(Teleskarn PRIVATE ${PRODUCT_CHARSET_FLAGS})
target_link_libraries(Teleskarn PRIVATE launcher_lib)

# ---- Tests under Wine ---------------------------------------------------------------------------
# Every test program runs through scripts/wine-exec.sh, which takes the display, prefix and
# wineserver that the wine_env fixture set up for this build tree.
set(WINE_ENV_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh ${WINE_ENV_DIR})

add_test(NAME wine_env_up COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-env.sh up ${WINE_ENV_DIR})
set_tests_properties(wine_env_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
add_test(NAME wine_env_down COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-env.sh down ${WINE_ENV_DIR})
set_tests_properties(wine_env_down PROPERTIES FIXTURES_CLEANUP wine)

# GoogleTest from Debian's source package, built with the cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Shared helpers of the Windows tests (message recorder, pixel reading, registry fixtures).
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS tests/win/support/*.cpp)
if(WIN_TEST_SUPPORT)
  add_library(win_test_support STATIC ${WIN_TEST_SUPPORT})
  set(SUPPORT_SCOPE PUBLIC)
else()
  add_library(win_test_support INTERFACE)
  set(SUPPORT_SCOPE INTERFACE)
endif()
target_link_libraries(win_test_support ${SUPPORT_SCOPE} launcher_lib gtest)
target_include_directories(win_test_support ${SUPPORT_SCOPE} ${PROJECT_SOURCE_DIR}/tests/win)

# One program per tests/win/test_*.cpp, each a CTest test needing the Wine fixture.
file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/test_*.cpp)
foreach(src ${WIN_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(win_${name} ${src} ${LAUNCHER_RESOURCES})
  target_link_libraries(win_${name} PRIVATE win_test_support gtest_main)
  add_test(NAME win_${name} COMMAND win_${name})
  set_tests_properties(win_${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
endforeach()

# End to end: the real Teleskarn.exe, a stub support program and a Windows-side driver.
if(EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
