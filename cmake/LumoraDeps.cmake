# Cross-built third-party libraries, installed by ./dev setup into LUMORA_DEPS.
add_library(lumora_stb INTERFACE)
target_include_directories(lumora_stb SYSTEM INTERFACE /usr/include/stb)

add_library(lumora_jsoncpp STATIC IMPORTED GLOBAL)
set_target_properties(lumora_jsoncpp PROPERTIES
  IMPORTED_LOCATION ${LUMORA_DEPS}/lib/libjsoncpp.a
  INTERFACE_INCLUDE_DIRECTORIES ${LUMORA_DEPS}/include)

add_library(lumora_minizip STATIC IMPORTED GLOBAL)
set_target_properties(lumora_minizip PROPERTIES
  IMPORTED_LOCATION ${LUMORA_DEPS}/lib/libminizip.a
  INTERFACE_INCLUDE_DIRECTORIES ${LUMORA_DEPS}/include/minizip
  INTERFACE_LINK_LIBRARIES z)

add_library(lumora_gtest STATIC IMPORTED GLOBAL)
set_target_properties(lumora_gtest PROPERTIES
  IMPORTED_LOCATION ${LUMORA_DEPS}/lib/libgtest.a
  INTERFACE_INCLUDE_DIRECTORIES ${LUMORA_DEPS}/include)
add_library(lumora_gmock STATIC IMPORTED GLOBAL)
set_target_properties(lumora_gmock PROPERTIES
  IMPORTED_LOCATION ${LUMORA_DEPS}/lib/libgmock.a
  INTERFACE_LINK_LIBRARIES lumora_gtest)
