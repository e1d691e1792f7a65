# lumora.exe: the browser shell.
file(GLOB LUMORA_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
list(REMOVE_ITEM LUMORA_SHELL_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/StringCipher.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SettingsStore.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PowerOffSchedule.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/LumoraMain.cpp)
# Everything but the entry goes into a library, so tests can link the shell's parts.
add_library(lumora_shell STATIC ${LUMORA_SHELL_SOURCES})
target_include_directories(lumora_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(lumora_shell PUBLIC lumora_ui lumora_cef lumora_atl lumora_cipher lumora_settings
  ole32 oleaut32 uuid shell32 advapi32)
# Resources only count in the executable itself (a static library drops them).
file(GLOB LUMORA_SHELL_RESOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
add_executable(lumora WIN32 LumoraMain.cpp ${LUMORA_SHELL_RESOURCES})
target_link_libraries(lumora PRIVATE lumora_shell)
target_link_options(lumora PRIVATE -municode)

# The page shown when a view's portal page cannot be loaded: html\err.html in
# the program folder.
set(LUMORA_ERROR_PAGE ${LUMORA_BIN_DIR}/html/err.html)
add_custom_command(OUTPUT ${LUMORA_ERROR_PAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/res/html/err.html ${LUMORA_ERROR_PAGE}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/html/err.html
  VERBATIM)
add_custom_target(lumora_error_page ALL DEPENDS ${LUMORA_ERROR_PAGE})
add_dependencies(lumora lumora_error_page)
