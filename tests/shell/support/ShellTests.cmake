# CMake helpers of the shell's test groups.

# lumora_shell_pack_main_skin(<group> <result var>)
# Packs the main skin into <test dir>/<group>/skin/skin.sk (target shell_<group>_skin)
# beside the program path the group's tests give the dialogs they open. Sets
# <result var> OFF, and packs nothing, on a host that cannot run the packer or
# that builds no shell.
function(lumora_shell_pack_main_skin group result)
  set(${result} OFF PARENT_SCOPE)
  set(_runner ${CMAKE_CROSSCOMPILING_EMULATOR})
  if(NOT TARGET lumora_skinpack OR NOT _runner OR NOT TARGET lumora_shell)
    return()
  endif()
  execute_process(COMMAND ${_runner} --version RESULT_VARIABLE _runner_result OUTPUT_QUIET ERROR_QUIET)
  if(NOT _runner_result EQUAL 0)
    return()
  endif()

  set(_skin_src ${CMAKE_SOURCE_DIR}/skins/main)
  set(_skin_out ${LUMORA_TEST_DIR}/${group}/skin/skin.sk)
  file(GLOB _skin_files CONFIGURE_DEPENDS ${_skin_src}/xml/*.xml ${_skin_src}/pic/*)
  string(REPLACE "/" "\\" _skin_src_win "Z:${_skin_src}")
  string(REPLACE "/" "\\" _skin_out_win "Z:${_skin_out}")
  set(_skin_env WINEDEBUG=-all "WINEDLLOVERRIDES=mshtml=;winemenubuilder.exe=d")
  if(LUMORA_WINEPREFIX)
    list(APPEND _skin_env WINEPREFIX=${LUMORA_WINEPREFIX})
  endif()
  add_custom_command(OUTPUT ${_skin_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMORA_TEST_DIR}/${group}/skin
    COMMAND ${CMAKE_COMMAND} -E env ${_skin_env} ${_runner} $<TARGET_FILE:lumora_skinpack>
            ${_skin_src_win} ${_skin_out_win}
    DEPENDS lumora_skinpack ${_skin_files}
    COMMENT "Packing the main skin for the ${group} tests"
    VERBATIM)
  add_custom_target(shell_${group}_skin ALL DEPENDS ${_skin_out})
  set(${result} ON PARENT_SCOPE)
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
