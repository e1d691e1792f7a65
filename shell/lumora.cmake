# lumora.exe: the browser shell.
file(GLOB LUMORA_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
list(REMOVE_ITEM LUMORA_SHELL_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/StringCipher.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SettingsStore.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/LumoraMain.cpp)
# Everything but the entry goes into a library, so tests can link the shell's parts.
add_library(lumora_shell STATIC ${LUMORA_SHELL_SOURCES})
target_include_directories(lumora_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(lumora_shell PUBLIC lumora_ui lumora_cef lumora_atl lumora_cipher lumora_settings
  ole32 oleaut32 uuid shell32 advapi32)
add_executable(lumora WIN32 LumoraMain.cpp)
target_link_libraries(lumora PRIVATE lumora_shell)
target_link_options(lumora PRIVATE -municode)
