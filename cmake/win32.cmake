# The Windows build (cross-compiled with mingw-w64): the Win32 host and face, the
# program's resources (manifest, version, icon) and the Wine end-to-end tests.
# Included from the top-level CMakeLists.txt when the target system is Windows.

add_subdirectory(runtime/host/win32)
add_subdirectory(runtime/ui/win32)

add_executable(kaldorin-setup WIN32
  app/main_win32.cpp
  app/entry.cpp
  app/command_line.cpp
  app/bundle_locator.cpp
  resources/kaldorin-setup.rc)
target_link_libraries(kaldorin-setup PRIVATE
  kaldorin_program kaldorin_host_win32 kaldorin_ui_win32 kaldorin_ui_headless)
# The manifest and the icon are read by windres, from the resources folder.
set_source_files_properties(resources/kaldorin-setup.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/kaldorin-setup.manifest;${CMAKE_SOURCE_DIR}/resources/kaldorin.ico")

target_link_options(kaldorin-setup PRIVATE -municode)

enable_testing()
add_subdirectory(tests/win32)
