# What the Windows build takes from the host: the header-only libraries,
# through a folder that holds them alone (the host's /usr/include also holds
# the host's C library, which must not reach the cross compiler).
set(QV_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${QV_HOST_HEADERS})
foreach(folder CLI nlohmann)
  file(CREATE_LINK /usr/include/${folder} ${QV_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()

add_library(qv_host_header_libraries INTERFACE)
target_include_directories(qv_host_header_libraries SYSTEM INTERFACE ${QV_HOST_HEADERS})
add_library(CLI11::CLI11 ALIAS qv_host_header_libraries)
add_library(nlohmann_json::nlohmann_json ALIAS qv_host_header_libraries)

# The dialog resources are compiled by windres.
enable_language(RC)
