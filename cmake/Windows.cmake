# Windows build: the launcher, the framework layer, and the test programs that run under Wine.
enable_language(RC)
enable_testing()

# Static C and C++ runtimes: the programs import Windows system DLLs only.
add_link_options(-static -static-libgcc -static-libstdc++)

# The shipped file is this build's Teleskarn.exe: small (-Os; unused sections dropped and symbols
# stripped at its link below) and the same bytes from any clean build (no link time stamp, no
# build paths).
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_compile_options(-ffile-prefix-map=${PROJECT_BINARY_DIR}/=build/ -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
add_link_options(-Wl,--no-insert-timestamp)
# The product runs on one thread: function-local statics need no guards (which would bring a
# threads library into the program).
set(PRODUCT_COMPILE_OPTIONS ${PRODUCT_CHARSET_FLAGS} -fno-threadsafe-statics -ffunction-sections -fdata-sections)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Libraries the programs import directly: KnownDLLs, which Windows takes from its own directory only.
set(WIN_SYSTEM_LIBS advapi32 gdi32 user32 kernel32)
# Libraries the launcher binds on first use, each with the functions it takes from it. version.dll
# and comctl32.dll are no KnownDLLs: named in the import table, a file of that name beside the
# program would be loaded instead. shell32 and shlwapi are needed only on OK or a click, and
# loading them costs start-up time. The test programs import all four directly.
set(WIN_LATE_LIBS
    "version.dll:GetFileVersionInfoSizeW,GetFileVersionInfoW,VerQueryValueW"
    "comctl32.dll:InitCommonControlsEx,_TrackMouseEvent"
    "shell32.dll:ShellExecuteW,ShellExecuteExW"
    "shlwapi.dll:PathRemoveFileSpecW")

# A delay-load import library per entry of WIN_LATE_LIBS: the launcher names the DLL only in its
# delay-import table, and the first call of one of its functions loads it (by its full path in the
# system directory: LoadDelayedLibrary in app/LauncherMain.cpp).
find_program(MINGW_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
set(DELAY_LIBS)
set(PLAIN_LATE_LIBS)
foreach(entry ${WIN_LATE_LIBS})
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 dll)
  list(GET entry 1 functions)
  string(REPLACE "," "\n" functions "${functions}")
  get_filename_component(name ${dll} NAME_WE)
  set(def ${CMAKE_BINARY_DIR}/delayload/${name}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
  file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${functions}\n")
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${MINGW_DLLTOOL} --input-def ${def} --dllname ${dll} --output-delaylib ${lib}
                     DEPENDS ${def} VERBATIM)
  list(APPEND DELAY_LIBS ${lib})
  list(APPEND PLAIN_LATE_LIBS ${name})
endforeach()
add_custom_target(delay_import_libs DEPENDS ${DELAY_LIBS})

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
target_compile_options(launcher_lib PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_libraries(launcher_lib PUBLIC ${WIN_SYSTEM_LIBS})

set(LAUNCHER_RESOURCES ${PROJECT_SOURCE_DIR}/res/launcher.rc)
# The resource compiler's dependency scan does not see the files the script names.
set_source_files_properties(${LAUNCHER_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/res/launcher.manifest;${PROJECT_SOURCE_DIR}/res/launcher.ico;${PROJECT_SOURCE_DIR}/res/background.bmp")
add_executable(Teleskarn WIN32 ${LAUNCHER_MAIN} ${LAUNCHER_RESOURCES})
target_compile_options(Teleskarn PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(Teleskarn PRIVATE -s -Wl,--gc-sections)
target_link_libraries(Teleskarn PRIVATE launcher_lib ${DELAY_LIBS})
add_dependencies(Teleskarn delay_import_libs)
# Built again from a copy of the sources elsewhere, the launcher must come out byte for byte the same.
add_test(NAME reproducible_build COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-reproducible.sh $<TARGET_FILE:Teleskarn>)
set_tests_properties(reproducible_build PROPERTIES TIMEOUT 600)

# The gallery: every feature of the controls in one dialog, for readers of the classes
# (scripts/run.sh --gallery). A sample built beside the launcher; the release takes Teleskarn.exe only.
add_executable(Gallery WIN32 gallery/Gallery.cpp framework/afxmain.cpp gallery/gallery.rc)
target_compile_options(Gallery PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(Gallery PRIVATE -s -Wl,--gc-sections)
target_link_libraries(Gallery PRIVATE launcher_lib ${PLAIN_LATE_LIBS})
set_source_files_properties(gallery/gallery.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/gallery/GalleryIds.h;${PROJECT_SOURCE_DIR}/res/launcher.manifest;${PROJECT_SOURCE_DIR}/res/background.bmp")

# The start-up benchmark, run by hand (bench/startup/run.sh): the floor, a program that shows the
# same dialog template with DialogBoxParamA and nothing else, and the Windows-side timer.
add_executable(startup_floor WIN32 EXCLUDE_FROM_ALL bench/startup/bare.cpp ${LAUNCHER_RESOURCES})
target_include_directories(startup_floor PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(startup_floor PRIVATE -s)
target_link_libraries(startup_floor PRIVATE user32 kernel32)
add_executable(startup_timer EXCLUDE_FROM_ALL bench/startup/timer.cpp)
target_link_libraries(startup_timer PRIVATE user32 kernel32)

# ---- Tests under Wine ---------------------------------------------------------------------------
# Every test program runs through scripts/wine-exec.sh, which takes the display, prefix and
# wineserver that the wine_env fixture set up for this build tree.
set(WINE_ENV_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh ${WINE_ENV_DIR})

add_test(NAME wine_env_up COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-env.sh up ${WINE_ENV_DIR})
set_tests_properties(wine_env_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
add_test(NAME wine_env_down COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-env.sh down ${WINE_ENV_DIR})
set_tests_properties(wine_env_down PROPERTIES FIXTURES_CLEANUP wine)
# The environment itself: two brought up at the same moment take X displays of their own.
add_test(NAME wine_env_displays COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/wine-env-displays.sh
         ${PROJECT_SOURCE_DIR}/scripts/wine-env.sh ${CMAKE_BINARY_DIR}/wine-env-displays)
set_tests_properties(wine_env_displays PROPERTIES TIMEOUT 60)

# GoogleTest from Debian's source package, built with the cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Shared helpers of the Windows tests (message recorder, pixel reading, registry fixtures, the watchdog)
# and their main, which guards every test against a modal window that nothing ends.
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS tests/win/support/*.cpp)
if(WIN_TEST_SUPPORT)
  add_library(win_test_support STATIC ${WIN_TEST_SUPPORT})
  set(SUPPORT_SCOPE PUBLIC)
else()
  add_library(win_test_support INTERFACE)
  set(SUPPORT_SCOPE INTERFACE)
endif()
target_link_libraries(win_test_support ${SUPPORT_SCOPE} launcher_lib ${PLAIN_LATE_LIBS} gtest)
target_include_directories(win_test_support ${SUPPORT_SCOPE} ${PROJECT_SOURCE_DIR}/tests/win)

# One program per tests/win/test_*.cpp, each a CTest test needing the Wine fixture.
file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/test_*.cpp)
foreach(src ${WIN_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(win_${name} ${src} ${LAUNCHER_RESOURCES})
  target_link_libraries(win_${name} PRIVATE win_test_support)
  add_test(NAME win_${name} COMMAND win_${name})
  set_tests_properties(win_${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
endforeach()

# The launcher's tests bind the late libraries as the launcher does, through its delay-load hook.
target_link_libraries(win_test_launcher PRIVATE launcher_lib ${DELAY_LIBS})
add_dependencies(win_test_launcher delay_import_libs)
# Beside that program, a library of a name of its own that its restricted library search must not find.
add_library(planted_library SHARED tests/win/planted_library.cpp)
set_target_properties(planted_library PROPERTIES OUTPUT_NAME teleskarn-planted PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:win_test_launcher>)
add_dependencies(win_test_launcher planted_library)

# End to end: the real Teleskarn.exe, a stub support program and a Windows-side driver.
if(EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
