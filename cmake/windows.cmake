# Windows builds: the resource compiler, the Windows version the code is
# written for, and the MinGW runtime linked statically so that neither
# deliverable needs a DLL beside it.
enable_language(RC)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)

# Tests and test-bed tools run under Wine; see testbed/wine/wine-env.
set(TESSARA_WINE_DIR ${CMAKE_BINARY_DIR}/../wine CACHE PATH "Wine prefix, display and server state for tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/testbed/wine/wine-env;run;${TESSARA_WINE_DIR})

# The deliverables carry no debug information: Windows would map it with the
# code and read it at every start. It stays beside them in NAME.debug, which
# the stripped file names for debuggers.
function(tessara_debug_info_beside target)
  set(file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${file}.debug ${file}
    VERBATIM)
endfunction()

# Links TARGET (with SCOPE) to the functions of DLL listed in cmake/delayload/DLL.def
# through a delay-import library: the DLL, with everything it pulls in, is
# loaded at the first call to one of them, not at start-up. The list names the
# 32-bit stdcall decorations; 64-bit symbols have none.
function(tessara_delay_load target scope dll)
  set(listed ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(def ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delayed.a)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${listed})
  file(READ ${listed} exports)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
  endif()
  file(WRITE ${def} "${exports}")
  if(NOT TARGET ${dll}_delayed)
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_DLLTOOL} --kill-at --def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
      DEPENDS ${def}
      VERBATIM)
    add_custom_target(${dll}_delayed DEPENDS ${lib})
  endif()
  add_dependencies(${target} ${dll}_delayed)
  target_link_libraries(${target} ${scope} ${lib} delayimp)
  # GNU ld drops the code of an import member whose function is only called
  # through its __imp_ slot, as a dllimport declaration does: in an ordinary
  # import library that code is just a jump. A delay-import member keeps the
  # stub that loads the DLL there, and the slot points at it, so the 32-bit
  # linker left such slots 0 and the first call jumped to address 0. Naming
  # every function as undefined keeps each member's code.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX MATCHALL "\n[A-Za-z_][A-Za-z0-9_]*@[0-9]+" functions "${exports}")
    foreach(function IN LISTS functions)
      string(STRIP "${function}" function)
      target_link_options(${target} ${scope} "LINKER:--undefined=_${function}")
    endforeach()
  endif()
endfunction()
