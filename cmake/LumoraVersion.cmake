# The product's version and names: the one place every deliverable's version
# resource, the main window's version label and the page call
# "getClientVersion" take them from.
set(LUMORA_VERSION_MAJOR 2)
set(LUMORA_VERSION_MINOR 0)
set(LUMORA_VERSION_PATCH 0)
set(LUMORA_VERSION_BUILD 1)
set(LUMORA_VERSION_TEXT
    "${LUMORA_VERSION_MAJOR}.${LUMORA_VERSION_MINOR}.${LUMORA_VERSION_PATCH}.${LUMORA_VERSION_BUILD}")
set(LUMORA_PRODUCT_NAME "Lumora")
set(LUMORA_COMPANY_NAME "Lumora")

set(LUMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LumoraVersion.h.in ${LUMORA_GENERATED_DIR}/LumoraVersion.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LumoraVersionInfo.rc.in ${LUMORA_GENERATED_DIR}/LumoraVersionInfo.rc @ONLY)
# Sources and resource scripts alike find both through this folder.
include_directories(${LUMORA_GENERATED_DIR})
