# CMake helpers of the test groups that need a packed skin or a running program.

# lumora_pack_test_skin(<target> <skin folder> <packed file> <result var>)
# Packs a skin folder (xml/ and pic/) into <packed file> with the build's skin
# packer, run under the emulator, as target <target>. Sets <result var> OFF,
# and packs nothing, on a host that cannot run the packer.
function(lumora_pack_test_skin target skin_src skin_out result)
  set(${result} OFF PARENT_SCOPE)
  set(_runner ${CMAKE_CROSSCOMPILING_EMULATOR})
  if(NOT TARGET lumora_skinpack OR NOT _runner)
    return()
  endif()
  execute_process(COMMAND ${_runner} --version RESULT_VARIABLE _runner_result OUTPUT_QUIET ERROR_QUIET)
  if(NOT _runner_result EQUAL 0)
    return()
  endif()

  get_filename_component(_skin_out_dir ${skin_out} DIRECTORY)
  file(GLOB _skin_files CONFIGURE_DEPENDS ${skin_src}/xml/* ${skin_src}/pic/*)
  string(REPLACE "/" "\\" _skin_src_win "Z:${skin_src}")
  string(REPLACE "/" "\\" _skin_out_win "Z:${skin_out}")
  set(_skin_env WINEDEBUG=-all "WINEDLLOVERRIDES=mshtml=;winemenubuilder.exe=d")
  if(LUMORA_WINEPREFIX)
    list(APPEND _skin_env WINEPREFIX=${LUMORA_WINEPREFIX})
  endif()
  add_custom_command(OUTPUT ${skin_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_skin_out_dir}
    COMMAND ${CMAKE_COMMAND} -E env ${_skin_env} ${_runner} $<TARGET_FILE:lumora_skinpack>
            ${_skin_src_win} ${_skin_out_win}
    DEPENDS lumora_skinpack ${_skin_files}
    COMMENT "Packing ${skin_src} for the tests"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${skin_out})
  set(${result} ON PARENT_SCOPE)
endfunction()

# lumora_shell_pack_main_skin(<group> <result var>)
# The main skin packed into <test dir>/<group>/skin/skin.sk (target
# shell_<group>_skin), beside the program path the group's tests give the
# dialogs they open. <result var> is OFF on a host that cannot run the packer
# or that builds no shell.
function(lumora_shell_pack_main_skin group result)
  set(_packed OFF)
  if(TARGET lumora_shell)
    lumora_pack_test_skin(shell_${group}_skin ${CMAKE_SOURCE_DIR}/skins/main
                          ${LUMORA_TEST_DIR}/${group}/skin/skin.sk _packed)
  endif()
  set(${result} ${_packed} PARENT_SCOPE)
endfunction()

# lumora_shell_needs_program(<test>)
# The test starts lumora.exe from the build's program folder: the program, the
# stand-in updater and the packed skins are built before it.
function(lumora_shell_needs_program test)
  add_dependencies(${test} lumora mainwnd_updater_stub)
  foreach(_skin lumora_skin_main lumora_skin_test)
    if(TARGET ${_skin})
      add_dependencies(${test} ${_skin})
    endif()
  endforeach()
endfunction()
