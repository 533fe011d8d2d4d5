# Link settings of the programs and libraries that run on Windows.

# The launcher travels inside every custom setup: a GUI-subsystem program (no
# console window flashes up), with a manifest that asks for no elevation.
function(velkora_windows_launcher target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/windows/setupstub.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/windows/setupstub.rc PROPERTIES
    OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/windows/setupstub.manifest)
  target_link_options(${target} PRIVATE -mwindows)
endfunction()

# velklink.dll: named without the "lib" prefix, one export under its plain
# name on both architectures (no "_" or "@n" decoration), a DllMain that
# switches off per-thread notifications, and no runtime DLLs beside it. It
# ships inside vendors' products: without debug data (-s), a third its size.
function(velkora_windows_link_library target def_file)
  set_target_properties(${target} PROPERTIES PREFIX "" LINK_DEPENDS ${def_file})
  target_sources(${target} PRIVATE ${VELKORA_PLATFORM_DLL_ENTRY})
  target_link_options(${target} PRIVATE ${def_file} -static -s "LINKER:--kill-at")
endfunction()

# The i686 GCC 12 stops with an internal error (binds_to_current_def_p) when it
# optimises the larger programs (selfkit.exe, velkora.exe, velkora-cli.exe) at
# link time. Their libraries keep machine code beside the link-time code, so
# these programs link without it while the launcher keeps its link-time
# optimisation.
function(velkora_link_without_lto_on_i686 target)
  if(CMAKE_INTERPROCEDURAL_OPTIMIZATION AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    foreach(library ${ARGN})
      target_compile_options(${library} PRIVATE -ffat-lto-objects)
    endforeach()
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)
    target_link_options(${target} PRIVATE -fno-lto)
  endif()
endfunction()
