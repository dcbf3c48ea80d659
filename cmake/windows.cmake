# Windows builds: the resource compiler, the Windows version the code is
# written for, and the MinGW runtime linked statically so that neither
# deliverable needs a DLL beside it.
enable_language(RC)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)

# Tests and test-bed tools run under Wine; see testbed/wine/wine-env.
set(TESSARA_WINE_DIR ${CMAKE_BINARY_DIR}/../wine CACHE PATH "Wine prefix, display and server state for tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/testbed/wine/wine-env;run;${TESSARA_WINE_DIR})
