# Windows deliverables: Tessara.exe and deskhook.dll, linked statically against
enable_language(RC)
# the MinGW runtime so that neither needs a DLL beside it.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(deskhook SHARED)
set_target_properties(deskhook PROPERTIES PREFIX "" OUTPUT_NAME deskhook)
target_include_directories(deskhook PUBLIC ${CMAKE_SOURCE_DIR})

# Everything of the program except its entry point, so that the Windows tests
# can link the real code.
add_library(tessara_app STATIC)
target_include_directories(tessara_app PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tessara_app PUBLIC tessara_core deskhook
  comctl32 comdlg32 version winmm ws2_32 shlwapi)

add_executable(Tessara WIN32)
target_link_libraries(Tessara PRIVATE tessara_app)

# Tests and test-bed tools run under Wine; see testbed/wine/wine-env.
set(TESSARA_WINE_DIR ${CMAKE_BINARY_DIR}/../wine CACHE PATH "Wine prefix, display and server state for tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/testbed/wine/wine-env;run;${TESSARA_WINE_DIR})
