# The one way a setup program is made: makensis on installer/lumora.nsi, for
# the shipped installer and for any test that needs an installer of its own.
# The installer loads LumoraPlugin.dll in-process, so each tree makes the
# installer of its own architecture: x86-unicode from the 32-bit tree,
# amd64-unicode from the x86-64 one.

# What an installation holds, relative to the program folder.
set(LUMORA_PROGRAM_FILES lumora.exe lumoraupd.exe Uprelay.exe skin/skin.sk html/err.html)

# lumora_add_installer(OUTPUT <setup.exe> BIN_DIR <program folder> VERSION <product version>
#                      [SKIN_DIR <folder>] [PREPARE COMMAND ... [COMMAND ...]] [DEPENDS ...] [COMMENT <text>])
# OUTPUT: the setup program; the list of program files it installs is written
#   beside it (program_files.nsh).
# BIN_DIR: the program folder whose LUMORA_PROGRAM_FILES it carries.
# VERSION: the product version its uninstall entry names.
# SKIN_DIR: the folder holding lumora_setup_skin.sk (LUMORA_INSTALLER_SKIN_DIR
#   when not given).
# PREPARE: commands run first, each starting with COMMAND, that fill BIN_DIR.
# DEPENDS: files and targets it is made again after, beside the script and
#   the plug-in.
function(lumora_add_installer)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "OUTPUT;BIN_DIR;VERSION;SKIN_DIR;COMMENT" "PREPARE;DEPENDS")
  if(NOT ARG_OUTPUT OR NOT ARG_BIN_DIR OR NOT ARG_VERSION)
    message(FATAL_ERROR "lumora_add_installer needs OUTPUT, BIN_DIR and VERSION")
  endif()
  if(NOT ARG_SKIN_DIR)
    set(ARG_SKIN_DIR ${LUMORA_INSTALLER_SKIN_DIR})
  endif()
  if(NOT ARG_COMMENT)
    set(ARG_COMMENT "Making the installer ${ARG_OUTPUT}")
  endif()
  set(_arch_options)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_arch_options -DAMD64)
  endif()
  get_filename_component(_out_dir ${ARG_OUTPUT} DIRECTORY)
  set(_program_nsh ${_out_dir}/program_files.nsh)
  set(_installer_source ${CMAKE_SOURCE_DIR}/installer)
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_out_dir}
    ${ARG_PREPARE}
    COMMAND ${CMAKE_COMMAND} -DBIN_DIR=${ARG_BIN_DIR} "-DFILES=${LUMORA_PROGRAM_FILES}" -DOUT=${_program_nsh}
            -P ${_installer_source}/program_files.cmake
    COMMAND ${LUMORA_MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 ${_arch_options}
            -DBIN_DIR=${ARG_BIN_DIR}
            -DPLUGIN_DIR=$<TARGET_FILE_DIR:LumoraPlugin>
            -DSKIN_DIR=${ARG_SKIN_DIR}
            -DOUT_FILE=${ARG_OUTPUT}
            -DPROGRAM_NSH=${_program_nsh}
            -DPRODUCT_VERSION=${ARG_VERSION}
            -DPUBLISHER=${LUMORA_COMPANY_NAME}
            ${_installer_source}/lumora.nsi
    DEPENDS LumoraPlugin ${_installer_source}/lumora.nsi ${_installer_source}/program_files.cmake ${ARG_DEPENDS}
    COMMENT "${ARG_COMMENT}"
    VERBATIM)
endfunction()
