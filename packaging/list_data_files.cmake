# Install step: writes data-files, the list of the data files this install
# put under SHOW_DATA_DIR (paths relative to it, one a line). The launcher
# checks it before each start to tell a damaged data directory.
# The install manifest names files without DESTDIR, which stages a package.
set(data_root "${CMAKE_INSTALL_PREFIX}/${SHOW_DATA_DIR}")
set(listed "")
foreach(installed IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  string(FIND "${installed}" "${data_root}/" at)
  if(at EQUAL 0)
    file(RELATIVE_PATH relative "${data_root}" "${installed}")
    list(APPEND listed "${relative}")
  endif()
endforeach()
list(SORT listed)
list(JOIN listed "\n" listing)
if(listing STREQUAL "")
  message(FATAL_ERROR "No data files were installed under ${data_root}: build the show first")
endif()
message(STATUS "Writing: $ENV{DESTDIR}${data_root}/data-files")
file(WRITE "$ENV{DESTDIR}${data_root}/data-files" "${listing}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${data_root}/data-files")
